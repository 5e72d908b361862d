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

const char StagedInstall::kStagingName[] = ".corvel3-staging";

namespace {
const char kAsidePrefix[] = ".corvel3-previous-";

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
    if (!exists(staging))
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
    discard();   // what an earlier, interrupted run left

    QStorageInfo volume(drive);
    const qint64 block = qMax<qint64>(volume.blockSize(), 4096);
    qint64 needed = 0;
    QStringList files, folders;
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

    volume.refresh();
    if (volume.isValid() && volume.bytesAvailable() < needed) {
        const auto mb = [](qint64 bytes) { return QString::number((bytes + (1 << 20) - 1) >> 20); };
        const QString free = mb(volume.bytesAvailable());
        boxes::information(
            ctx.dialogs, ctx.window, ctx.pick("Spazio insufficiente", "Not enough space"),
            ctx.pick("Sul Corvel3 non c'è abbastanza spazio libero per installare il sistema.\n"
                     "Servono %1 MB, liberi %2 MB.\nIl sistema presente non è stato modificato.",
                     "There is not enough free space on Corvel3 to install the system.\n"
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
        const QFileInfo staged(staging + files[i].mid(source.size()));
        whole = staged.isFile() && staged.size() == QFileInfo(files[i]).size();
    }
    if (whole && !playlists.isEmpty()) {
        // The user's playlists win over any of the same name the package brings.
        const QString target = entries::resolve(staging, QLatin1String(playerlayout::kPlaylistFolder));
        whole = QDir().mkpath(target);
        for (const QString &playlist : playlists)
            whole = whole
                    && transfer::copyWholeFile(playlist, target + QLatin1Char('/') + QFileInfo(playlist).fileName());
    }
    if (!whole) {
        discard();
        return false;
    }
    return true;
}

bool StagedInstall::swap(const QStringList &replaced)
{
    const QString aside = drive + QLatin1String(kAsidePrefix) + QString::number(QDateTime::currentMSecsSinceEpoch());
    QDir dir;
    QList<QPair<QString, QString>> moves;   // done renames, from -> to
    const auto undo = [&] {
        for (int i = moves.size() - 1; i >= 0; --i) {
            const bool back = dir.rename(moves[i].second, moves[i].first);
            ctx.fileAction(QStringLiteral("rename"), moves[i].second, moves[i].first, back);
        }
        dir.rmdir(aside);
        placed.clear();
        discard();
        return false;
    };

    if (!dir.mkpath(aside)) {
        discard();
        return false;
    }
    platform::setHiddenSystem(aside);
    QDir stagingDir(staging);
    const QStringList newEntries =
        stagingDir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QStringList names = replaced;
    names << newEntries;
    for (const QString &name : names) {
        const QString old = entries::resolve(drive, name);
        if (!exists(old) || old.startsWith(aside))
            continue;
        const QString target = aside + QLatin1Char('/') + QFileInfo(old).fileName();
        if (exists(target))
            continue;   // the same entry under another spelling
        const bool moved = dir.rename(old, target);
        ctx.fileAction(QStringLiteral("rename"), old, target, moved);
        if (!moved)
            return undo();
        moves.append({old, target});
    }
    for (const QString &name : newEntries) {
        const QString from = staging + QLatin1Char('/') + name;
        const QString to = drive + name;
        const bool moved = (!beforePlacing || beforePlacing(name)) && !exists(to) && dir.rename(from, to);
        ctx.fileAction(QStringLiteral("rename"), from, to, moved);
        if (!moved)
            return undo();
        moves.append({from, to});
        placed << to;
    }

    // The new system is in place; the old one goes, and what cannot be deleted stays hidden.
    const bool stop = ctx.state.stopRequested;
    ctx.state.stopRequested = false;
    transfer::removeFolderTree(ctx, aside, {});
    ctx.state.stopRequested = stop;
    dir.rmdir(staging);
    return true;
}

QStringList StagedInstall::installedFiles() const
{
    QStringList files;
    for (const QString &entry : placed)
        files << (QFileInfo(entry).isDir() ? entries::list(entry, everything(true)) : QStringList{entry});
    return files;
}
