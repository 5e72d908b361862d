// corvel3-titles FILE...
// One JSON object a line per file: the reader its name selects, whether a title was found, the
// title, and the key the folder split would file the song under.
#include "optimise/songtitle.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList files = QCoreApplication::arguments().mid(1);
    static const char usage[] = "usage: corvel3-titles [--] FILE...\n"
                                "Prints one JSON object a line: path, reader, found, title, key.\n";
    if (files.isEmpty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    // Only --help and --version are options; after "--" every name is a song's.
    const int end = files.indexOf(QStringLiteral("--"));
    const QStringList options = end < 0 ? files : files.mid(0, end);
    if (options.contains(QStringLiteral("--help"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (options.contains(QStringLiteral("--version"))) {
        std::printf("corvel3-titles %s\n", CORVEL3_VERSION);
        return 0;
    }
    if (end >= 0)
        files.removeAt(end);

    SongTitleReader reader(SongTitleReader::standardSongExtensions());
    for (const QString &file : files) {
        const QFileInfo song(file);
        const SongTitleReader::Kind kind = reader.readerFor(song, false);
        const bool found = reader.readSongTitle(song, false);
        QJsonObject line;
        line.insert(QStringLiteral("path"), file);
        line.insert(QStringLiteral("reader"), SongTitleReader::kindName(kind));
        line.insert(QStringLiteral("found"), found);
        line.insert(QStringLiteral("title"), found ? QJsonValue(reader.songTitle) : QJsonValue());
        line.insert(QStringLiteral("key"), reader.filingKey(song));
        const QByteArray json = QJsonDocument(line).toJson(QJsonDocument::Compact);
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        std::fputc('\n', stdout);
    }
    return 0;
}
