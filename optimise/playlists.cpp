#include "optimise/playlists.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/operationcontext.h"
#include "device/entries.h"
#include "device/playerlayout.h"
#include "device/platform.h"

namespace playlists {

namespace {

const QString temporarySuffix = QStringLiteral(".corvel3-new");

std::filesystem::path nativePath(const QString &path) { return std::filesystem::path(path.toStdU16String()); }
// A name as the system gives it: bytes in the locale's encoding, or UTF-16 on Windows.
QString fromNative(const std::string &name) { return QFile::decodeName(QByteArray::fromStdString(name)); }
QString fromNative(const std::wstring &name) { return QString::fromStdWString(name); }

// The plain files directly in folder, in listing order, with the error that cut the listing
// short. Qt's listings say nothing of errors: an unreadable folder would look empty.
QStringList filesIn(const QString &folder, bool *listed)
{
    QStringList files;
    std::error_code error;
    std::filesystem::directory_iterator it(nativePath(folder), error);
    for (const std::filesystem::directory_iterator end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error))
            files << folder + QLatin1Char('/') + fromNative(it->path().filename().native());
        else if (error)
            break;
    }
    *listed = !error;
    return files;
}

QString playlistFolder(const QString &deviceRoot)
{
    return entries::resolve(deviceRoot, QLatin1String(playerlayout::kPlaylistFolder));
}

} // namespace

QStringList playlistFiles(const QString &deviceRoot, bool *listed)
{
    bool ok = true;
    QStringList playlists;
    const QString folder = playlistFolder(deviceRoot);
    if (QFileInfo(folder).isDir()) {
        const platform::AttributeReader attributes(folder);
        for (const QString &file : filesIn(folder, &ok))
            if (file.endsWith(QLatin1String(".pls"), Qt::CaseInsensitive) && !attributes.hiddenOrSystem(file))
                playlists << file;
    }
    if (listed)
        *listed = ok;
    return playlists;
}

QStringList strayCopies(const QString &deviceRoot)
{
    const QString folder = playlistFolder(deviceRoot);
    if (!QFileInfo(folder).isDir())
        return {};
    bool listed = true;
    QStringList copies;
    for (const QString &file : filesIn(folder, &listed))
        if (file.endsWith(temporarySuffix) && QFileInfo(file.chopped(temporarySuffix.size())).isFile())
            copies << file;
    return copies;
}

QString temporaryPathFor(const QString &playlistPath)
{
    return playlistPath + temporarySuffix;
}

bool replaceFile(const QString &playlistPath, const QByteArray &text)
{
    // The name is the tool's own: a copy an interruption left is overwritten.
    const QString temporary = temporaryPathFor(playlistPath);
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = out.write(text) == text.size() && out.flush() && platform::syncFile(out);
    out.close();
    if (!written || out.error() != QFileDevice::NoError) {
        QFile::remove(temporary);
        return false;
    }
    // Renaming over the old playlist replaces it in one step: it is never gone without its
    // replacement in place.
    std::error_code error;
    std::filesystem::rename(nativePath(temporary), nativePath(playlistPath), error);
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
    bool listed = true;
    const QStringList files = playlistFiles(root, &listed);
    // Moved songs whose lines cannot be followed now: the caller keeps their journal for later.
    bool ok = listed;
    if (!listed)
        ctx.fileAction(QStringLiteral("rewrite"), playlistFolder(root), QString(), false);
    const CompiledRules compiled(rules);
    for (const QString &playlist : files) {
        QByteArray text;
        if (ctx.dryRun && dryRunTexts->contains(playlist)) {
            text = dryRunTexts->value(playlist);
        } else {
            QFile in(playlist);
            if (in.open(QIODevice::ReadOnly))
                text = in.readAll();
            if (!in.isOpen() || in.error() != QFileDevice::NoError) {
                // Left as it was; its lines may name songs that have moved.
                ctx.fileAction(QStringLiteral("rewrite"), playlist, QString(), false);
                ok = false;
                continue;
            }
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
