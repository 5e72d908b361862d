#include "transfer/backup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "device/entries.h"
#include "transfer/buttonflow.h"
#include "transfer/copyengine.h"
#include "transfer/folderremoval.h"
#include "transfer/transferlistings.h"
#include "core/messagetable.h"
#include "core/operationcontext.h"

namespace transfer {

namespace {

void showError(OperationContext &ctx)
{
    const QString error = ctx.pick("ERRORE", "ERROR");
    boxes::information(ctx.dialogs, ctx.window, error, error);
}

bool holdsAnything(const QString &folder)
{
    entries::ListOptions options = libraryListing();
    options.recursive = false;
    bool found = false;
    entries::walk(folder, options, [&](const QFileInfo &) {
        found = true;
        return false;
    });
    return found;
}

// Backing up into the drive's root, or into a folder that holds the drive, would empty the
// library before copying it.
bool wouldSwallowDrive(const QString &destinationFolder, const QString &deviceRoot)
{
    const QString destination = QDir::cleanPath(QFileInfo(destinationFolder).absoluteFilePath());
    const QString root = QDir::cleanPath(QFileInfo(deviceRoot).absoluteFilePath());
    const QString prefix = destination.endsWith(QLatin1Char('/')) ? destination : destination + QLatin1Char('/');
    return destination.compare(root, Qt::CaseInsensitive) == 0 || root.startsWith(prefix, Qt::CaseInsensitive);
}

} // namespace

bool isLeftOutOfBackup(const QString &pathBelowRoot)
{
    static const char *const excluded[] = {"/BRIDGES/", "/EFFECTS/", "/System/", "autoexec.bat"};
    for (const char *part : excluded)
        if (pathBelowRoot.contains(QLatin1String(part), Qt::CaseInsensitive))
            return true;
    return false;
}

QStringList backupList(OperationContext &ctx, const QString &deviceRoot, bool *stopped)
{
    const QString root = folderWithSeparator(deviceRoot);
    QStringList files;
    *stopped = false;

    const bool mainDone = entries::walk(root, libraryListing(), [&](const QFileInfo &entry) {
        if (ctx.state.stopRequested)
            return false;
        const QString path = entry.absoluteFilePath();
        // Only what lies below the root counts, so a mount point's own path never matters.
        if (!isLeftOutOfBackup(path.mid(root.size() - 1))) {
            QCoreApplication::processEvents();
            files.append(path);
        }
        return true;
    });
    if (!mainDone || ctx.state.stopRequested) {
        *stopped = true;
        return QStringList();
    }

    const QString playlists = entries::resolve(root, QStringLiteral("System/playlist"));
    const bool playlistsDone = entries::walk(playlists, playlistListing(), [&](const QFileInfo &entry) {
        if (ctx.state.stopRequested)
            return false;
        files.append(entry.absoluteFilePath());
        return true;
    });
    if (!playlistsDone || ctx.state.stopRequested) {
        *stopped = true;
        return QStringList();
    }
    return files;
}

bool backupToFolder(OperationContext &ctx, const QString &deviceRoot, QString destinationFolder)
{
    ProgressView &progress = ctx.progress;
    progress.showBusyWidgets(true);
    progress.setStatus(ctx.message(MSG_SEARCHING_DEVICE));
    progress.setFormat(QStringLiteral("%v"));

    if (wouldSwallowDrive(destinationFolder, deviceRoot)) {
        showError(ctx);
        ctx.state.operationOk = false;
        return false;
    }

    if (holdsAnything(destinationFolder)) {
        const bool goOn = boxes::okOrNo(
            ctx.dialogs, ctx.window, ctx.pick("Trovati alcuni files", "Found some files"),
            ctx.pick("ATTENZIONE! Il contenuto della cartella di destinazione verrà cancellato.\nVuoi continuare ?",
                     "WARNING! The contents of the destination folder will be deleted.\nDo you want to continue ?"),
            QuestionKind::ConfirmDeletion);
        if (!goOn)
            return false;
    }

    if (!recreateFolder(ctx, destinationFolder)) {
        showError(ctx);
        ctx.state.operationOk = false;
        return false;
    }
    destinationFolder += QDir::separator();

    progress.setStatus(ctx.message(MSG_SCANNING_STORAGE));
    progress.setMaximum(0);
    progress.setValue(0);

    bool stopped = false;
    const QString root = folderWithSeparator(deviceRoot);
    const QStringList files = backupList(ctx, root, &stopped);
    if (stopped)
        return false;

    if (files.size() > 1000) {
        const QString text = ctx.state.italian()
            ? QStringLiteral("Saranno copiati %1 files\n").arg(files.size()) + QStringLiteral("Vuoi continuare ?")
            : QStringLiteral("%1 files will be copied.\n").arg(files.size()) + QStringLiteral("Do you want to continue ?");
        if (!boxes::okOrNo(ctx.dialogs, ctx.window, QStringLiteral("BackUp"), text))
            return false;
    }

    progress.setStatus(ctx.message(MSG_BACKUP_TO_PC));
    copyFileList(ctx, files, destinationFolder, root);   // failures were reported file by file
    return true;
}

void runBackup(OperationContext &ctx)
{
    ctx.state.stopRequested = false;
    ctx.progress.showBusyWidgets(true);
    const QString deviceRoot = findDriveOrReport(ctx);
    if (!deviceRoot.isEmpty()) {
        FolderRequest request;
        request.caption = ctx.pick("Scegli una cartella per il salvataggio dei files", "Choose a folder where save your files");
        request.parent = ctx.window;
        const QString folder = ctx.dialogs.chooseFolder(request);
        if (!folder.isEmpty())
            reportOutcome(ctx, backupToFolder(ctx, deviceRoot, folder));
    }
    ctx.progress.showBusyWidgets(false);
}

} // namespace transfer
