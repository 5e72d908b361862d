#include "optimise/splitjournal.h"

#include "device/platform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace {

const QByteArray header = QByteArrayLiteral("corvel3 split journal 1\n");

QByteArray encoded(const QString &path) { return QUrl::toPercentEncoding(path, "/ "); }
QString decoded(const QByteArray &field) { return QUrl::fromPercentEncoding(field); }

} // namespace

QString SplitJournal::pathFor(const QString &deviceRoot)
{
    const QByteArray id = QCryptographicHash::hash(QDir::cleanPath(deviceRoot).toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/split-")
           + QString::fromLatin1(id.left(16)) + QStringLiteral(".journal");
}

bool SplitJournal::start(const QString &deviceRoot)
{
    file.close();
    const QString path = pathFor(deviceRoot);
    QDir().mkpath(QFileInfo(path).absolutePath());
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(header + "root\t" + encoded(deviceRoot) + '\n') > 0 && file.flush();
}

bool SplitJournal::plan(const QVector<playlists::LineRule> &entries)
{
    if (!file.isOpen())
        return false;
    QByteArray text;
    for (const playlists::LineRule &entry : entries)
        text += (entry.kind == playlists::LineRule::Song ? "move\t" : "rename\t") + encoded(entry.oldRelative) + '\t'
                + encoded(entry.newRelative) + '\n';
    // On the disk before the first file moves: this is what a later run trusts after a crash or
    // a power cut. A batch's "done" needs no such care: completing a finished batch again
    // rewrites nothing.
    return file.write(text) == text.size() && file.flush() && platform::syncFile(file);
}

bool SplitJournal::markDone()
{
    return file.isOpen() && file.write("done\n") == 5 && file.flush();
}

void SplitJournal::finish()
{
    if (!file.isOpen())
        return;
    file.close();
    file.remove();
}

void SplitJournal::discard(const QString &deviceRoot) { QFile::remove(pathFor(deviceRoot)); }

bool SplitJournal::unfinished(const QString &deviceRoot, QVector<playlists::LineRule> *rules)
{
    QFile in(pathFor(deviceRoot));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = in.readAll().split('\n');
    if (lines.size() < 2 || lines.at(0) + '\n' != header || decoded(lines.at(1).mid(5)) != deviceRoot)
        return false;
    QVector<playlists::LineRule> open;
    for (int i = 2; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines.at(i).split('\t');
        if (fields.at(0) == "done") {
            open.clear();
        } else if (fields.size() == 3 && (fields.at(0) == "move" || fields.at(0) == "rename")) {
            const auto kind = fields.at(0) == "move" ? playlists::LineRule::Song : playlists::LineRule::Folder;
            open << playlists::LineRule{kind, decoded(fields.at(1)), decoded(fields.at(2))};
        }
    }
    rules->clear();
    for (const playlists::LineRule &entry : open) {
        const QFileInfo from(entry.oldRelative), to(entry.newRelative);
        if (!from.exists() && to.exists())
            *rules << entry;
    }
    return true;
}
