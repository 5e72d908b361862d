#include "optimise/playlists.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "device/entries.h"

namespace playlists {

QStringList playlistFiles(const QString &deviceRoot)
{
    const QString folder = entries::resolve(deviceRoot, QStringLiteral("System/Playlist"));
    entries::ListOptions options;
    options.recursive = false;
    options.folders = false;
    options.nameFilters = QStringList{QStringLiteral("*.pls")};
    return entries::list(folder, options);
}

void rewriteFile(const QString &playlistPath, const QVector<LineRule> &rules)
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
    const QByteArray rewritten = rewriteText(text, rules);
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

void PendingUpdates::addSong(const QString &oldSongPath, const QString &newSongPath)
{
    const LineRule rule{LineRule::Song, relativeToRoot(root, oldSongPath), relativeToRoot(root, newSongPath)};
    if (!rule.oldRelative.isEmpty() && !rule.newRelative.isEmpty())
        rules << rule;
}

void PendingUpdates::addFolder(const QString &oldFolderPath, const QString &newFolderPath)
{
    LineRule rule{LineRule::Folder, relativeToRoot(root, oldFolderPath), relativeToRoot(root, newFolderPath)};
    while (rule.oldRelative.endsWith(QLatin1Char('/')))
        rule.oldRelative.chop(1);
    while (rule.newRelative.endsWith(QLatin1Char('/')))
        rule.newRelative.chop(1);
    if (!rule.oldRelative.isEmpty() && !rule.newRelative.isEmpty())
        rules << rule;
}

void PendingUpdates::flush()
{
    if (rules.isEmpty())
        return;
    for (const QString &playlist : playlistFiles(root))
        rewriteFile(playlist, rules);
    rules.clear();
}

void updateForSong(const QString &deviceRoot, const QString &oldSongPath, const QString &newSongPath)
{
    PendingUpdates updates(deviceRoot);
    updates.addSong(oldSongPath, newSongPath);
}

void updateForFolder(const QString &deviceRoot, const QString &oldFolderPath, const QString &newFolderPath)
{
    PendingUpdates updates(deviceRoot);
    updates.addFolder(oldFolderPath, newFolderPath);
}

} // namespace playlists
