#include "optimise/playlists.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "device/entries.h"

namespace playlists {

namespace {

const QByteArray deviceRootName = QByteArrayLiteral("\\sdmemory\\");
const QByteArray movedSongFields = QByteArrayLiteral("^0^32767\r\n");

QByteArray toPlayerSeparators(QByteArray bytes)
{
    return bytes.replace('/', '\\');
}

// The rewritten line when rule matches line (already with "/" separators), else a null array.
QByteArray rewriteLine(const QByteArray &line, const LineRule &rule, const QByteArray &needle)
{
    if (rule.kind == LineRule::Song) {
        // Songs match without regard to case, anywhere in the line; the old fields go.
        if (!QString::fromUtf8(line).contains(QString::fromUtf8(needle), Qt::CaseInsensitive))
            return QByteArray();
        return deviceRootName + toPlayerSeparators(rule.newRelative.toUtf8()) + movedSongFields;
    }
    // Folders match with regard to case. The needle is valid UTF-8, so a byte search finds
    // exactly the same places as a character search, and the rest of the line keeps its bytes.
    const int at = line.indexOf(needle);
    if (at < 0)
        return QByteArray();
    return deviceRootName + toPlayerSeparators(rule.newRelative.toUtf8() + '/' + line.mid(at + needle.size()));
}

} // namespace

QString relativeToRoot(const QString &deviceRoot, const QString &path)
{
    QString root = QDir::fromNativeSeparators(deviceRoot);
    if (root.isEmpty())
        return QString();
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    const QString full = QDir::fromNativeSeparators(path);
    // Drive letters come in either case; a mount point is the same string either way.
    if (!full.startsWith(root, Qt::CaseInsensitive) || full.size() == root.size())
        return QString();
    return full.mid(root.size());
}

QStringList playlistFiles(const QString &deviceRoot)
{
    const QString folder = entries::resolve(deviceRoot, QStringLiteral("System/Playlist"));
    entries::ListOptions options;
    options.recursive = false;
    options.folders = false;
    options.nameFilters = QStringList{QStringLiteral("*.pls")};
    return entries::list(folder, options);
}

QByteArray rewriteText(const QByteArray &text, const LineRule &rule)
{
    // A leading "/" keeps a song or folder from matching inside a longer name before it; a
    // trailing "/" keeps a folder from matching a sibling whose name merely starts alike.
    QByteArray needle = '/' + rule.oldRelative.toUtf8();
    if (rule.kind == LineRule::Folder)
        needle += '/';

    QByteArray out;
    out.reserve(text.size() + 64);
    int start = 0;
    while (start < text.size()) {
        int end = text.indexOf('\n', start);
        end = end < 0 ? text.size() : end + 1;
        QByteArray line = text.mid(start, end - start);
        line.replace('\\', '/');
        const QByteArray rewritten = rewriteLine(line, rule, needle);
        out += rewritten.isNull() ? toPlayerSeparators(line) : rewritten;
        start = end;
    }
    return out;
}

void rewriteFile(const QString &playlistPath, const LineRule &rule)
{
    QByteArray text;
    {
        QFile in(playlistPath);
        if (!in.open(QIODevice::ReadOnly))
            return;
        text = in.readAll();
        if (in.error() != QFileDevice::NoError)
            return;
    }
    if (text.isEmpty())
        return;
    const QByteArray rewritten = rewriteText(text, rule);
    if (rewritten == text)
        return;

    // "Rock_(1).pls" beside "Rock.pls"; a further number when that name is taken, so that a
    // playlist which happens to bear the name is never overwritten.
    const QFileInfo info(playlistPath);
    const QString stem = info.absolutePath() + QLatin1Char('/') + info.baseName();
    const QString suffix = info.completeSuffix().isEmpty() ? QString() : QLatin1Char('.') + info.completeSuffix();
    QString temporary;
    for (int n = 1; temporary.isEmpty() || QFileInfo::exists(temporary); ++n)
        temporary = stem + QStringLiteral("_(%1)").arg(n) + suffix;

    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return;
    const bool written = out.write(rewritten) == rewritten.size() && out.flush();
    out.close();
    if (!written || out.error() != QFileDevice::NoError) {
        QFile::remove(temporary);
        return;
    }
    // Renaming over the old playlist replaces it in one step: it is never gone without its
    // replacement in place.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temporary.toStdU16String()),
                            std::filesystem::path(playlistPath.toStdU16String()), error);
    if (error)
        QFile::remove(temporary);
}

void updateForSong(const QString &deviceRoot, const QString &oldSongPath, const QString &newSongPath)
{
    const LineRule rule{LineRule::Song, relativeToRoot(deviceRoot, oldSongPath), relativeToRoot(deviceRoot, newSongPath)};
    if (rule.oldRelative.isEmpty() || rule.newRelative.isEmpty())
        return;
    for (const QString &playlist : playlistFiles(deviceRoot))
        rewriteFile(playlist, rule);
}

void updateForFolder(const QString &deviceRoot, const QString &oldFolderPath, const QString &newFolderPath)
{
    LineRule rule{LineRule::Folder, relativeToRoot(deviceRoot, oldFolderPath), relativeToRoot(deviceRoot, newFolderPath)};
    while (rule.oldRelative.endsWith(QLatin1Char('/')))
        rule.oldRelative.chop(1);
    while (rule.newRelative.endsWith(QLatin1Char('/')))
        rule.newRelative.chop(1);
    if (rule.oldRelative.isEmpty() || rule.newRelative.isEmpty())
        return;
    for (const QString &playlist : playlistFiles(deviceRoot))
        rewriteFile(playlist, rule);
}

} // namespace playlists
