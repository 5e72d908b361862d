#include "update/reinstall.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "device/batchcmd.h"
#include "device/entries.h"
#include "device/platform.h"
#include "transfer/backup.h"
#include "transfer/folderremoval.h"
#include "transfer/transferlistings.h"
#include "core/messagetable.h"
#include "update/downloadmanager.h"
#include "update/unpack.h"
#include "update/updateserver.h"

const char kAttributeBatchName[] = "MATTRB.BAT";

namespace {

MessageBoxRequest yesNoQuestion(const QString &title, const QString &text, const QString &yesCaption)
{
    MessageBoxRequest question;
    question.kind = QuestionKind::ConfirmDeletion;
    question.safeButton = 1;
    question.title = title;
    question.text = text;
    question.icon = BoxIcon::Question;
    question.buttons = {BoxButton{BoxRole::Yes, yesCaption}, BoxButton{BoxRole::No, QStringLiteral("No")}};
    question.defaultButton = 0;
    question.parent = nullptr;
    return question;
}

} // namespace

QString Reinstall::message(int code) const
{
    return messageText(ctx.state.currentLanguage, code);
}

void Reinstall::status(int code)
{
    ctx.progress.setStatus(message(code));
}

void Reinstall::informationBox(int titleCode, int textCode)
{
    boxes::information(ctx.dialogs, ctx.window, message(titleCode), message(textCode));
}

void Reinstall::genericError()
{
    const QString word = ctx.pick("ERRORE", "ERROR");
    boxes::information(ctx.dialogs, ctx.window, word, word);
}

void Reinstall::removeSaveFolder(const QString &packagePath)
{
    if (ops.files.removeFolderTree)
        ops.files.removeFolderTree(QFileInfo(packagePath).absolutePath());
}

QString Reinstall::findDrive()
{
    status(MSG_SEARCHING_DEVICE);
    const QString drive = ctx.deviceDrive();
    if (drive.isEmpty())
        informationBox(MSG_DEVICE_NOT_FOUND_TITLE, MSG_DEVICE_NOT_FOUND_TEXT);
    return drive;
}

bool Reinstall::fetchAndUnpack(QString &package)
{
    status(MSG_DOWNLOADING_RELEASE);
    package = downloadFullSystem();
    // A download ended by Stop may come back empty: that is no error to report.
    if (ctx.state.stopRequested)
        return false;
    if (package.isEmpty()) {
        genericError();
        ctx.state.operationOk = false;
        return false;
    }
    status(MSG_CREATING_SYSTEM_COPY);
    return unpackPackage(package, &ctx.progress) && !ctx.state.stopRequested;
}

QString Reinstall::downloadFullSystem()
{
    return downloadPackage(ctx, ops.files, updateServerAddress(QString::fromLatin1(kFullPackagePath)), true);
}

void Reinstall::reinstallSystem(QString &packagePath)
{
    OperationState &state = ctx.state;
    state.stopRequested = false;
    ctx.progress.showBusyWidgets(true);

    // Every way out but the last one leaves the device unrepaired: the start-up window reads the
    // flag, so it must never survive a reinstall that did not happen.
    const bool repaired = [&]() -> bool {
        const QString drive = findDrive();
        if (drive.isEmpty() || state.stopRequested)
            return false;
        if (!fetchAndUnpack(packagePath))
            return false;

        const QString packageFolder = QFileInfo(packagePath).absolutePath();
        status(MSG_TRANSFERRING_SYSTEM);
        if (!installSystemFiles(packageFolder, drive)) {
            removeSaveFolder(packagePath);
            return false;
        }
        if (state.stopRequested)
            return false;
        if (!state.operationOk) {
            // The copy engine could not make a folder: the system on the drive is incomplete.
            boxes::critical(ctx.dialogs, ctx.window, ctx.pick("ERRORE", "ERROR"),
                            ctx.pick("Procedura terminata in modo inaspettato.\nProvare a reinstallare il sistema "
                                     "operativo.",
                                     "Procedure ended in an unexpected way\nTry to reinstall the Operating System"));
            return false;
        }
        removeSaveFolder(packagePath);

        if (!ops.updateSystem || !ops.updateSystem())
            return false;
        informationBox(MSG_END_OPERATION_TITLE, MSG_SETUP_FINISHED_TEXT);
        return true;
    }();

    if (!repaired)
        state.operationOk = false;
    ctx.progress.showBusyWidgets(false);
}

void Reinstall::reinstallAndClean()
{
    OperationState &state = ctx.state;
    state.stopRequested = false;
    if (ctx.dialogs.showMessage(yesNoQuestion(message(MSG_FORMAT_TITLE), message(MSG_FORMAT_WARNING),
                                              ctx.pick("Si", "Yes")))
        != 0)
        return;

    ctx.progress.showBusyWidgets(true);
    [&] {
        const QString drive = findDrive();
        if (drive.isEmpty())
            return;

        QString package;
        if (!fetchAndUnpack(package))
            return;

        status(MSG_FORMATTING);
        if (!eraseDrive(drive)) {
            informationBox(MSG_FORMAT_ERROR_TITLE, MSG_FORMAT_ERROR_TEXT);
            return;
        }
        if (state.stopRequested)
            return;

        status(MSG_TRANSFERRING_SYSTEM);
        if (!installSystemFiles(QFileInfo(package).absolutePath(), drive)) {
            removeSaveFolder(package);
            return;
        }
        if (state.stopRequested)
            return;

        removeSaveFolder(package);
        if (ops.updateSystem && ops.updateSystem())
            informationBox(MSG_END_OPERATION_TITLE, MSG_SETUP_FINISHED_TEXT);
    }();
    ctx.progress.showBusyWidgets(false);
}

void Reinstall::reinstallAndRestore()
{
    OperationState &state = ctx.state;
    state.stopRequested = false;
    [&] {
        const QString drive = findDrive();
        if (drive.isEmpty())
            return;

        status(MSG_BACKUP_TO_PC);
        FolderRequest chooser;
        chooser.caption = ctx.pick("Scegli una cartella per il salvataggio dei files", "Choose a folder to save your files");
        chooser.parent = ctx.window;
        const QString folder = ctx.dialogs.chooseFolder(chooser);
        if (folder.isEmpty())
            return;
        // The songs must outlive the erase and the download: a folder on the drive, or one that
        // the download empties, would take them along.
        if (!isSafeBackupFolder(folder, drive, DownloadManager::saveFolder())) {
            informationBox(MSG_BACKUP_ERROR_TITLE, MSG_BACKUP_ERROR_TEXT);
            return;
        }
        if (!ops.backupToFolder || !ops.backupToFolder(drive, folder)) {
            informationBox(MSG_BACKUP_ERROR_TITLE, MSG_BACKUP_ERROR_TEXT);
            return;
        }
        // The backup reports true even when its copy stopped or skipped files; nothing is erased
        // unless every song is really in the folder.
        if (state.stopRequested)
            return;
        if (!backupIsComplete(drive, folder)) {
            informationBox(MSG_BACKUP_ERROR_TITLE, MSG_BACKUP_ERROR_TEXT);
            return;
        }

        QString package;
        if (!fetchAndUnpack(package))
            return;

        status(MSG_FORMATTING);
        if (!eraseDrive(drive)) {
            informationBox(MSG_FORMAT_ERROR_TITLE, MSG_FORMAT_ERROR_TEXT);
            return;
        }

        status(MSG_TRANSFERRING_SYSTEM);
        // The songs come back whatever the install did.
        if (!installSystemFiles(QFileInfo(package).absolutePath(), drive))
            removeSaveFolder(package);
        if (state.stopRequested)
            return;

        status(MSG_RESTORING_BACKUP);
        if (!ops.restoreFromFolder || !ops.restoreFromFolder(folder, drive)) {
            informationBox(MSG_RESTORE_ERROR_TITLE, MSG_RESTORE_ERROR_TEXT);
            return;
        }
        if (state.stopRequested)
            return;

        removeSaveFolder(package);
        if (ops.updateSystem && ops.updateSystem())
            informationBox(MSG_END_OPERATION_TITLE, MSG_SETUP_FINISHED_TEXT);
    }();
    ctx.progress.showBusyWidgets(false);
}

bool Reinstall::eraseDrive(const QString &drivePath)
{
    const QString device = ctx.deviceDrive();
    if (device.isEmpty() || drivePath.isEmpty() || !entries::samePath(drivePath, device)
        || transfer::isProtectedFolder(drivePath, device))
        return false;

    const QString text = QStringLiteral("ATTENZIONE: Il drive ") + drivePath
                         + QStringLiteral(" verrà cancellato.\nVuoi continuare? ");
    if (ctx.dialogs.showMessage(yesNoQuestion(QStringLiteral("Cancellazione Drive"), text, QStringLiteral("Si"))) != 0)
        return false;

    ctx.progress.setMaximum(0);
    ctx.progress.setValue(0);
    // The removal empties the drive's root but never removes it.
    const bool erased = ops.files.removeFolderTree && ops.files.removeFolderTree(drivePath);
    ctx.progress.setMaximum(10);
    return erased;
}

bool Reinstall::installSystemFiles(const QString &packageFolder, const QString &drivePath)
{
    // The user's playlists live inside the system folder that is about to be replaced: keep them
    // aside, and put back afterwards every one the package does not bring itself.
    QTemporaryDir keptPlaylists;
    const QString playlistFolder = entries::resolve(drivePath, QStringLiteral("System/Playlist"));
    const QFileInfoList playlists =
        QDir(playlistFolder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &playlist : playlists) {
        if (!keptPlaylists.isValid()
            || !QFile::copy(playlist.absoluteFilePath(), keptPlaylists.filePath(playlist.fileName()))) {
            genericError();   // nothing has been removed yet
            return false;
        }
    }

    // The device's names are case-insensitive: "System" is the same folder as "system".
    for (const char *name : {"system", "bridges", "effects"}) {
        const QString folder = entries::resolve(drivePath, QLatin1String(name));
        if (!ops.files.removeFolderTree || !ops.files.removeFolderTree(folder)) {
            genericError();
            return false;
        }
    }
    const QString autoexec = entries::resolve(drivePath, QStringLiteral("AUTOEXEC.BAT"));
    if (QFileInfo(autoexec).isFile())
        QFile::remove(autoexec);

    const QString source = QDir::cleanPath(QFileInfo(packageFolder).absoluteFilePath());
    entries::ListOptions options;
    options.recursive = true;
    options.includeHiddenSystem = true;

    // Folders are made here rather than handed to the copy, which copies files only; this also
    // brings the package's empty folders over.
    options.files = false;
    options.folders = true;
    for (const QString &folder : entries::list(source, options))
        QDir().mkpath(drivePath + folder.mid(source.size()));

    options.files = true;
    options.folders = false;
    options.nameFilters = QStringList{QStringLiteral("*.*")};
    QStringList files = entries::list(source, options);
    files.sort(Qt::CaseSensitive);
    // The copy reports its own errors and clears operationOk when it has to stop.
    if (ops.files.copyFileList)
        ops.files.copyFileList(files, drivePath, source);

    if (!playlists.isEmpty()) {
        const QString newPlaylistFolder = entries::resolve(drivePath, QStringLiteral("System/Playlist"));
        QDir().mkpath(newPlaylistFolder);
        for (const QFileInfo &playlist : playlists) {
            const QString target = newPlaylistFolder + QLatin1Char('/') + playlist.fileName();
            if (!QFileInfo::exists(target))
                QFile::copy(keptPlaylists.filePath(playlist.fileName()), target);
        }
    }

    BatchCmd batch;
    batch.SetBatchFile(source + QLatin1Char('/') + QLatin1String(kAttributeBatchName));
    batch.AddBatchLine(platform::hiddenSystemBatchLine(entries::resolve(drivePath, QStringLiteral("System"))));
    batch.AddBatchLine(platform::hiddenSystemBatchLine(entries::resolve(drivePath, QStringLiteral("AUTOEXEC.BAT"))));
    const bool ran = batch.RunBatch();
    batch.DeleteBatchFile();
    return ran;
}

bool Reinstall::isSafeBackupFolder(const QString &folder, const QString &drivePath, const QString &saveFolder)
{
    if (folder.isEmpty())
        return false;
    return !entries::overlap(folder, drivePath) && !entries::overlap(folder, saveFolder);
}

bool Reinstall::backupIsComplete(const QString &drivePath, const QString &folder)
{
    bool stopped = false;
    const QStringList listed = transfer::backupList(ctx, drivePath, &stopped);
    if (stopped)
        return false;
    const QString root = transfer::folderWithSeparator(drivePath);
    const QString target = transfer::folderWithSeparator(folder);
    for (const QString &path : listed) {
        const QFileInfo original(path);
        if (!original.isFile())
            continue;   // folders are made by the copy on the way to their files
        const QFileInfo saved(target + path.mid(root.size()));
        if (!saved.isFile() || saved.size() != original.size())
            return false;
    }
    return true;
}
