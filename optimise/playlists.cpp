#include "optimise/playlists.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/operationcontext.h"
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

bool replaceFile(const QString &playlistPath, const QByteArray &text)
{
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
        return false;
    const bool written = out.write(text) == text.size() && out.flush();
    out.close();
    if (!written || out.error() != QFileDevice::NoError) {
        QFile::remove(temporary);
        return false;
    }
    // Renaming over the old playlist replaces it in one step: it is never gone without its
    // replacement in place.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temporary.toStdU16String()),
                            std::filesystem::path(playlistPath.toStdU16String()), error);
    if (error)
        QFile::remove(temporary);
    return !error;
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

bool PendingUpdates::flush()
{
    if (rules.isEmpty())
        return true;
    bool ok = true;
    const CompiledRules compiled(rules);
    for (const QString &playlist : playlistFiles(root)) {
        QByteArray text;
        if (ctx.dryRun && dryRunTexts->contains(playlist)) {
            text = dryRunTexts->value(playlist);
        } else {
            QFile in(playlist);
            if (!in.open(QIODevice::ReadOnly))
                continue;   // unreadable: left as it is
            text = in.readAll();
            if (in.error() != QFileDevice::NoError)
                continue;
        }
        if (text.isEmpty())
            continue;
        const QByteArray rewritten = compiled.rewrite(text);
        if (rewritten == text)
            continue;
        if (ctx.dryRun) {
            dryRunTexts->insert(playlist, rewritten);
            ctx.fileAction(QStringLiteral("rewrite"), playlist);
            continue;
        }
        const bool written = replaceFile(playlist, rewritten);
        ctx.fileAction(QStringLiteral("rewrite"), playlist, QString(), written);
        ok = ok && written;
    }
    rules.clear();
    return ok;
}

} // namespace playlists
