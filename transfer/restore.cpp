#include "transfer/restore.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "device/entries.h"
#include "transfer/buttonflow.h"
#include "transfer/copyengine.h"
#include "transfer/transferlistings.h"
#include "core/messagetable.h"
#include "core/operationcontext.h"

namespace transfer {

QStringList restoreList(OperationContext &ctx, const QString &backupFolder, bool *stopped)
{
    QStringList files;
    *stopped = false;
    const bool mainDone = entries::walk(backupFolder, libraryListing(), [&](const QFileInfo &entry) {
        if (ctx.state.stopRequested)
            return false;
        files.append(entry.absoluteFilePath());
        return true;
    });
    if (!mainDone || ctx.state.stopRequested) {
        *stopped = true;
        return QStringList();
    }

    // The backup takes hidden playlists too; bring back those the listing above left out.
    const QSet<QString> listed(files.cbegin(), files.cend());
    const QString playlists = entries::resolve(backupFolder, QStringLiteral("System/playlist"));
    const bool playlistsDone = entries::walk(playlists, playlistListing(), [&](const QFileInfo &entry) {
        if (ctx.state.stopRequested)
            return false;
        const QString path = entry.absoluteFilePath();
        if (!listed.contains(path))
            files.append(path);
        return true;
    });
    if (!playlistsDone || ctx.state.stopRequested) {
        *stopped = true;
        return QStringList();
    }
    return files;
}

bool restoreFromFolder(OperationContext &ctx, const QString &backupFolder, const QString &deviceRoot)
{
    // Clean and without a trailing separator, so each relative part starts with "/" and follows
    // the drive root's own "/" (the doubled separator is accepted everywhere).
    QString source = folderWithSeparator(backupFolder);
    if (source.size() > 1)
        source.chop(1);
    bool stopped = false;
    const QStringList files = restoreList(ctx, source, &stopped);
    if (stopped)
        return false;
    return copyFileList(ctx, files, deviceRoot, source);
}

void runRestore(OperationContext &ctx)
{
    ctx.state.stopRequested = false;
    ctx.progress.showBusyWidgets(true);
    const QString deviceRoot = findDriveOrReport(ctx);
    if (!deviceRoot.isEmpty() && !ctx.state.stopRequested) {
        ctx.progress.setStatus(ctx.message(MSG_RESTORING_BACKUP));
        FolderRequest request;
        request.caption = ctx.pick("Scegli cartella da cui prendere i files salvati",
                                   "Choose a folder where to get your saved files");
        request.parent = ctx.window;
        const QString folder = ctx.dialogs.chooseFolder(request);
        if (!folder.isEmpty())
            reportOutcome(ctx, restoreFromFolder(ctx, folder, deviceRoot));
    }
    ctx.progress.showBusyWidgets(false);
}

} // namespace transfer
