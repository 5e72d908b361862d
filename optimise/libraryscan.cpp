#include "optimise/libraryscan.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "device/entries.h"
#include "device/playerlayout.h"
#include "device/platform.h"
#include "core/dialogs.h"

namespace scanrules {

bool endsWithExtension(const QString &name, const QString &extension)
{
    const int at = name.lastIndexOf(extension, -1, Qt::CaseInsensitive);
    return at >= 0 && at == name.size() - extension.size();
}

bool endsWithAny(const QString &name, const QStringList &extensions)
{
    for (const QString &extension : extensions)
        if (endsWithExtension(name, extension))
            return true;
    return false;
}

bool isPlayerLogName(const QString &name)
{
    return name.lastIndexOf(QLatin1String("v-orladev"), -1, Qt::CaseInsensitive) == 0;
}

bool isPlayerOwnName(const QString &name)
{
    // The tool's own working entries (the run's lock, a staging folder) are never the library's.
    return playerlayout::isOwnRootEntry(name) || playerlayout::isToolEntry(name);
}

bool isInsidePlayerOwnEntry(const QString &deviceRoot, const QString &path)
{
    const QString relative = playlists::relativeToRoot(deviceRoot, QDir::cleanPath(path));
    return !relative.isEmpty() && isPlayerOwnName(relative.section(QLatin1Char('/'), 0, 0));
}

FileKind classify(const QString &name, const LibraryScanState &state)
{
    if (endsWithAny(name, state.songExtensions))
        return FileKind::Song;
    if (endsWithAny(name, state.imageExtensions))
        return FileKind::Image;
    if (endsWithAny(name, state.keptExtensions) || isPlayerLogName(name))
        return FileKind::Kept;
    return FileKind::Unsupported;
}

void fillExtensionLists(LibraryScanState &state)
{
    // Filled by every scan; an entry already there is not added twice, which changes nothing
    // for the "ends with" tests and keeps the song order the title readers rely on.
    auto add = [](QStringList &list, std::initializer_list<const char *> names) {
        for (const char *name : names) {
            const QString extension = QLatin1String(name);
            if (!list.contains(extension))
                list.append(extension);
        }
    };
    add(state.songExtensions, {".mp3", ".midi", ".mid", ".mf3", ".mf4", ".mf5", ".kar"});
    add(state.imageExtensions, {".jpg", ".jpeg", ".png", ".bmp", ".tiff"});
    add(state.keptExtensions, {".txt", ".cdg", ".dat", ".bak"});
}

namespace {

// One listing of folder, in the file system's order: plain files and real (not linked) folders,
// both without the hidden and system entries that belong to the player's own system.
void listFolder(const QString &folder, QFileInfoList *files, QFileInfoList *folders, bool isRoot = false)
{
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const platform::AttributeReader attributes(folder);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        QFileInfoList *into = nullptr;
        if (info.isDir())
            into = platform::isLink(info.absoluteFilePath()) ? nullptr : folders;   // links and junctions are never entered
        else if (info.isFile())
            into = files;
        if (!into || attributes.hiddenOrSystem(info.absoluteFilePath()))
            continue;
        if (isRoot && isPlayerOwnName(info.fileName()))
            continue;
        into->append(info);
    }
}

} // namespace

QFileInfoList listFiles(const QString &folder, bool isRoot)
{
    QFileInfoList files;
    listFolder(folder, &files, nullptr, isRoot);
    return files;
}

} // namespace scanrules

using namespace scanrules;

bool LibraryScanner::scanLibrary()
{
    boxes::information(ctx.dialogs, ctx.window, ctx.translate("libraryscan", "WARNING"),
                       ctx.translate("libraryscan", "WARNING: Scanning in progress.\nThis may take some time\n"
                                                    "Do NOT switch off and do NOT unplug Corvel"));
    ctx.progress.setStatus(ctx.translate("libraryscan", "Scanning directories..."));
    fillExtensionLists(state);
    state.libraryDevicePath = ctx.driveRoot;
    // Without a device an empty root would name the working folder, and the later steps would
    // delete and move files there: scan nothing instead.
    if (state.libraryDevicePath.isEmpty())
        return true;
    imagesFolder = entries::resolve(state.libraryDevicePath, QStringLiteral("Images"));

    ctx.progress.setMinimum(0);
    ctx.progress.setMaximum(0);
    scanRootFolder();

    QFileInfoList topFolders;
    listFolder(state.libraryDevicePath, nullptr, &topFolders, true);
    walkFolders(topFolders);
    followRenamedSongs();
    journal.finish();
    ctx.progress.setMaximum(100);
    if (playlistsFailed)
        boxes::critical(ctx.dialogs, ctx.window, ctx.translate("libraryscan", "ERROR"),
                        ctx.translate("libraryscan", "Not every playlist could be updated for the songs whose too long names were "
                                                     "shortened; the next optimization will complete the playlists."));
    return !playlistsFailed;
}

void LibraryScanner::scanRootFolder()
{
    const QString root = state.libraryDevicePath;
    if (root.isEmpty())
        return;
    state.currentFolderPath = root;
    state.folderListing = listFiles(root, true);
    for (int i = 0; i < state.folderListing.size(); ++i) {
        pump.poll();
        const QFileInfo file = withShortName(i);
        if (ctx.state.stopRequested) {
            // A Stop here ends the root pass only; the songs counted so far belong to no folder.
            ctx.state.stopRequested = false;
            state.folderSongCount = 0;
            return;
        }
        classifyFile(file, false);
    }
    if (ctx.state.stopRequested) {
        ctx.state.stopRequested = false;
        state.folderSongCount = 0;
        return;
    }
    closeFolder(root);
}

bool LibraryScanner::walkFolders(const QFileInfoList &folders)
{
    for (const QFileInfo &folder : folders) {
        pump.poll();
        if (ctx.state.stopRequested)
            return false;   // the flag stays set: the run skips its later steps
        if (!walkFolders(scanFolder(folder.absoluteFilePath())))
            return false;
    }
    return true;
}

QFileInfoList LibraryScanner::scanFolder(const QString &folder)
{
    state.currentFolderPath = folder;
    QFileInfoList subFolders;
    state.folderListing.clear();
    listFolder(folder, &state.folderListing, &subFolders);
    // Images already in the root "Images" folder stay; those in its sub-folders are gathered.
    const bool imagesStay = !imagesFolder.isEmpty() && QFileInfo(folder) == QFileInfo(imagesFolder);
    for (int i = 0; i < state.folderListing.size(); ++i)
        classifyFile(withShortName(i), imagesStay);
    closeFolder(folder);
    return subFolders;
}

QFileInfo LibraryScanner::withShortName(int index)
{
    QFileInfo file = state.folderListing.at(index);
    if (file.completeBaseName().size() > kLongBaseName) {
        file = QFileInfo(shortenLongName(index));
        state.folderListing[index] = file;
    }
    state.currentFileName = file.fileName();
    return file;
}

void LibraryScanner::classifyFile(const QFileInfo &file, bool imagesStay)
{
    const QFileInfo record(file.absoluteFilePath());
    switch (classify(file.fileName(), state)) {
    case FileKind::Song:
        state.librarySongs.append(record);
        ++state.folderSongCount;
        break;
    case FileKind::Image:
        if (!imagesStay)
            state.imagesToMove.append(record);
        break;
    case FileKind::Unsupported:
        state.unsupportedFiles.append(record);
        break;
    case FileKind::Kept:
        break;
    }
}

void LibraryScanner::followRenamedSongs()
{
    if (renamedSongs.isEmpty())
        return;
    playlists::PendingUpdates updates(ctx, state.libraryDevicePath, &state.dryRunPlaylists);
    for (const playlists::LineRule &rule : renamedSongs)
        updates.add(rule);
    renamedSongs.clear();
    // After one failure no mark: the next run completes every rename since the last one.
    if (!updates.flush() || (journal.isOpen() && !playlistsFailed && !journal.markDone()))
        playlistsFailed = true;
}

void LibraryScanner::closeFolder(const QString &folderPath)
{
    // The lines of the songs this folder gave shorter names follow them before the next folder.
    followRenamedSongs();
    if (state.folderSongCount > kOversizedFolder) {
        const QFileInfo record(QDir::cleanPath(folderPath));
        state.oversizedFolders.append(record);
        state.oversizedFoldersText += record.absoluteFilePath() + QLatin1Char('\n');
    }
    state.folderSongCount = 0;
}

QString LibraryScanner::shortenLongName(int index)
{
    if (index < 0 || index >= state.folderListing.size())
        return QString();
    const QFileInfo file = state.folderListing.at(index);
    QString base = file.completeBaseName().left(kShortBaseName);
    if (!base.isEmpty() && QChar(base.back()).isHighSurrogate())
        base.chop(1);   // never cut a character in half
    const QString suffix = file.completeSuffix();
    const QString folder = file.absolutePath();
    QString candidate = folder + QLatin1Char('/') + base + QLatin1Char('.') + suffix;
    // In a dry run the names planned so far are taken as a real run would have taken them.
    const auto taken = [this](const QString &path) { return QFileInfo::exists(path) || state.realPaths.contains(path); };
    for (int n = 1; taken(candidate); ++n)
        candidate = folder + QLatin1Char('/') + base + QStringLiteral(" (%1).").arg(n) + suffix;
    const bool song = endsWithAny(candidate, state.songExtensions);
    bool renamed = true;
    if (ctx.dryRun) {
        state.realPaths.insert(candidate, file.absoluteFilePath());
    } else {
        // A song's lines must be able to follow it after a crash: journalled first, or not renamed.
        const playlists::LineRule planned{playlists::LineRule::Song, file.absoluteFilePath(), candidate};
        if (song && ((!journal.isOpen() && !journal.start(state.libraryDevicePath)) || !journal.plan({planned})))
            renamed = false;
        else
            renamed = QFile::rename(file.absoluteFilePath(), candidate);
    }
    ctx.fileAction(QStringLiteral("rename"), file.absoluteFilePath(), candidate, renamed);
    if (renamed && song) {
        const QString oldRelative = playlists::relativeToRoot(state.libraryDevicePath, file.absoluteFilePath());
        const QString newRelative = playlists::relativeToRoot(state.libraryDevicePath, candidate);
        renamedSongs << playlists::LineRule{playlists::LineRule::Song, oldRelative, newRelative};
    }
    // A name that could not be shortened stays the file's name.
    return renamed ? candidate : file.absoluteFilePath();
}
