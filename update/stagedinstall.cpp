#include "update/stagedinstall.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include "device/entries.h"
#include "device/playerlayout.h"
#include "device/platform.h"
#include "transfer/copyengine.h"
#include "transfer/folderremoval.h"
#include "update/swapjournal.h"

const char StagedInstall::kStagingName[] = ".corvel3-staging";
const char StagedInstall::kAsidePrefix[] = ".corvel3-previous-";

namespace {

bool hasContent(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.size() > 0;
}

entries::ListOptions everything(bool files)
{
    entries::ListOptions options;
    options.recursive = true;
    options.includeHiddenSystem = true;
    options.files = files;
    options.folders = !files;
    return options;
}

bool exists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
} // namespace

bool isCompleteSystemPackage(const QString &packageFolder)
{
    for (const QString &name : playerlayout::systemFiles())
        if (!hasContent(entries::resolve(packageFolder, name)))
            return false;
    return true;
}

bool isCompleteUpdatePackage(const QString &packageFolder)
{
    bool found = false;
    entries::walk(entries::resolve(packageFolder, QLatin1String(playerlayout::kUpdateFolder)), everything(true),
                  [&found](const QFileInfo &file) {
                      found = file.size() > 0;
                      return !found;
                  });
    return found;
}

StagedInstall::StagedInstall(OperationContext &ctx, const QString &drivePath)
    : ctx(ctx), drive(drivePath.endsWith(QLatin1Char('/')) ? drivePath : drivePath + QLatin1Char('/')),
      staging(drive + QLatin1String(kStagingName))
{
}

StagedInstall::~StagedInstall()
{
    discard();
}

void StagedInstall::discard()
{
    // Under a journal the staged entries may be all the drive's new system has: the recovery's.
    if (!exists(staging) || SwapJournal::exists(drive))
        return;
    // The removal stops at a Stop: the staging folder must go all the same.
    const bool stop = ctx.state.stopRequested;
    ctx.state.stopRequested = false;
    transfer::removeFolderTree(ctx, staging, {});
    ctx.state.stopRequested = stop;
}

bool StagedInstall::stage(const QString &packageFolder, const QStringList &names, bool keepPlaylists)
{
    const QString source = QDir::cleanPath(QFileInfo(packageFolder).absoluteFilePath());
    stagedFiles.clear();
    // A swap a crash cut short is finished or undone first, never built upon.
    if (SwapJournal::exists(drive))
        return false;
    discard();   // what an earlier, interrupted run left

    QStorageInfo volume(drive);
    const qint64 block = qMax<qint64>(volume.blockSize(), 4096);
    qint64 needed = 0;
    QStringList files, folders;
    entries::ListingWatch listing;   // a package folder not read whole is never staged
    for (const QString &name : names) {
        const QString top = entries::resolve(source, name);
        if (QFileInfo(top).isDir()) {
            folders << top << entries::list(top, everything(false));
            files << entries::list(top, everything(true));
        } else if (QFileInfo(top).isFile()) {
            files << top;
        }
    }
    for (const QString &file : files)
        needed += (QFileInfo(file).size() + block - 1) / block * block;
    needed += block * (folders.size() + 1);

    QStringList playlists;
    if (keepPlaylists) {
        entries::ListOptions options = everything(true);
        options.recursive = false;
        playlists = entries::list(entries::resolve(drive, QLatin1String(playerlayout::kPlaylistFolder)), options);
        for (const QString &playlist : playlists)
            needed += (QFileInfo(playlist).size() + block - 1) / block * block;
    }
    if (!listing.unreadable().isEmpty()) {
        for (const QString &folder : listing.unreadable())
            ctx.fileAction(QStringLiteral("list"), folder, QString(), false);
        return false;
    }

    volume.refresh();
    if (volume.isValid() && volume.bytesAvailable() < needed) {
        const auto mb = [](qint64 bytes) { return QString::number((bytes + (1 << 20) - 1) >> 20); };
        const QString free = mb(volume.bytesAvailable());
        boxes::information(
            ctx.dialogs, ctx.window, ctx.translate("StagedInstall", "Not enough space"),
            ctx.translate("StagedInstall", "There is not enough free space on Corvel3 to install the system.\n"
                                           "%1 MB are needed, %2 MB are free.\nThe system on Corvel3 has not been changed.")
                .arg(mb(needed), free));
        reported = true;
        return false;
    }

    if (!QDir().mkpath(staging))
        return false;
    // Hidden where a leading dot is not enough (Windows): the player must not list it.
    platform::setHiddenSystem(staging);
    ctx.fileAction(QStringLiteral("create"), staging);
    for (const QString &folder : folders) {
        if (!QDir().mkpath(staging + folder.mid(source.size()))) {
            discard();
            return false;
        }
    }
    files.sort(Qt::CaseSensitive);
    const bool copied = transfer::copyFileList(ctx, files, staging, source);
    if (ctx.state.stopRequested) {
        discard();
        return false;
    }
    // A file skipped after a copy error is as bad as a copy that stopped.
    bool whole = copied;
    for (int i = 0; whole && i < files.size(); ++i) {
        const QString path = files[i].mid(source.size() + 1);
        const qint64 size = QFileInfo(files[i]).size();
        const QFileInfo staged(staging + QLatin1Char('/') + path);
        whole = staged.isFile() && staged.size() == size;
        stagedFiles << StagedFile{path, size};
    }
    if (whole && !playlists.isEmpty()) {
        // The user's playlists win over any of the same name the package brings.
        const QString target = entries::resolve(staging, QLatin1String(playerlayout::kPlaylistFolder));
        whole = QDir().mkpath(target);
        for (const QString &playlist : playlists) {
            const QString copy = target + QLatin1Char('/') + QFileInfo(playlist).fileName();
            qint64 size = 0;
            whole = whole && transfer::copyWholeFile(playlist, copy, &size);
            // A playlist of the package under the same name was just replaced: one entry per file.
            const QString path = copy.mid(staging.size() + 1);
            for (int i = stagedFiles.size() - 1; i >= 0; --i)
                if (stagedFiles[i].path == path)
                    stagedFiles.remove(i);
            stagedFiles << StagedFile{path, size};
        }
    }
    if (!whole) {
        stagedFiles.clear();
        discard();
        return false;
    }
    return true;
}

bool StagedInstall::stagedWhole() const
{
    if (stagedFiles.isEmpty() || (isComplete && !isComplete(staging)))
        return false;
    for (const StagedFile &file : stagedFiles) {
        const QFileInfo staged(staging + QLatin1Char('/') + file.path);
        if (!staged.isFile() || staged.size() != file.size)
            return false;
    }
    return true;
}

void StagedInstall::step(const QString &name) const
{
    if (atStep)
        atStep(name);
}

bool StagedInstall::swap(const QStringList &replaced)
{
    // What goes in is checked once more as it lies on the drive now, and is on its disk before
    // the journal promises it to the recovery.
    QStringList stagedPaths;
    for (const StagedFile &file : stagedFiles)
        stagedPaths << staging + QLatin1Char('/') + file.path;
    if (SwapJournal::exists(drive) || !stagedWhole() || !platform::flushToDevice(stagedPaths, drive)) {
        discard();
        return false;
    }
    step(QStringLiteral("staged"));

    SwapJournal journal;
    journal.aside = QLatin1String(kAsidePrefix) + QString::number(QDateTime::currentMSecsSinceEpoch());
    journal.staging = QLatin1String(kStagingName);
    const QStringList newEntries =
        QDir(staging).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QStringList moved;
    for (const QString &name : replaced + newEntries) {
        const QString old = entries::resolve(drive, name);
        const QString oldName = QFileInfo(old).fileName();
        // The same entry may be named twice, under two spellings.
        if (!exists(old) || moved.contains(oldName))
            continue;
        moved << oldName;
        journal.renames << SwapJournal::Rename{oldName, journal.aside + QLatin1Char('/') + oldName};
    }
    const int moves = journal.renames.size();
    for (const QString &name : newEntries)
        journal.renames << SwapJournal::Rename{journal.staging + QLatin1Char('/') + name, name};
    for (const StagedFile &file : stagedFiles)
        journal.files << SwapJournal::File{file.path, file.size};

    const QString aside = drive + journal.aside;
    const QString journalPath = SwapJournal::path(drive);
    const bool written = journal.write(drive);
    ctx.fileAction(QStringLiteral("create"), journalPath, QString(), written);
    QDir dir;
    int made = 0;
    // Puts back what was renamed, newest first. The journal stays when that fails too: the
    // recovery then has the last word.
    const auto undo = [&] {
        bool back = true;
        for (int i = made - 1; back && i >= 0; --i) {
            const SwapJournal::Rename &rename = journal.renames.at(i);
            back = platform::moveNoReplace(drive + rename.to, drive + rename.from);
            ctx.fileAction(QStringLiteral("rename"), drive + rename.to, drive + rename.from, back);
        }
        placed.clear();
        if (!back)
            return false;
        platform::syncFolder(drive);
        dir.rmdir(aside);
        const bool removed = SwapJournal::remove(drive);
        if (written)
            ctx.fileAction(QStringLiteral("delete"), journalPath, QString(), removed);
        discard();
        return false;
    };
    if (!written || !dir.mkpath(aside))
        return undo();
    platform::setHiddenSystem(aside);
    step(QStringLiteral("journal"));

    for (const SwapJournal::Rename &rename : journal.renames) {
        const bool placing = made >= moves;
        const bool ok = (!placing || !beforePlacing || beforePlacing(rename.to))
                        && platform::moveNoReplace(drive + rename.from, drive + rename.to);
        ctx.fileAction(QStringLiteral("rename"), drive + rename.from, drive + rename.to, ok);
        if (!ok)
            return undo();
        ++made;
        if (placing)
            placed << drive + rename.to;
        step(QStringLiteral("renamed %1").arg(made));
    }
    // The renames reach the disk before the old system goes.
    platform::syncFolder(drive);

    // The new system is in place; the old one goes, and what cannot be deleted stays hidden.
    const bool stop = ctx.state.stopRequested;
    ctx.state.stopRequested = false;
    transfer::removeFolderTree(ctx, aside, {});
    ctx.state.stopRequested = stop;
    dir.rmdir(staging);
    step(QStringLiteral("cleaned"));
    const bool removed = SwapJournal::remove(drive);
    ctx.fileAction(QStringLiteral("delete"), journalPath, QString(), removed);
    step(QStringLiteral("journal removed"));
    return true;
}

QStringList StagedInstall::installedFiles() const
{
    QStringList files;
    for (const QString &entry : placed)
        files << (QFileInfo(entry).isDir() ? entries::list(entry, everything(true)) : QStringList{entry});
    return files;
}
