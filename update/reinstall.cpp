#include "update/reinstall.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

#include "core/messagetable.h"
#include "device/batchcmd.h"
#include "device/entries.h"
#include "device/playerlayout.h"
#include "device/platform.h"
#include "transfer/backup.h"
#include "transfer/backupmanifest.h"
#include "transfer/copyengine.h"
#include "transfer/folderremoval.h"
#include "transfer/restore.h"
#include "transfer/transferlistings.h"
#include "update/stagedinstall.h"
#include "update/systemupdate.h"
#include "update/unpack.h"
#include "update/updateserver.h"

namespace {

// The player's own entries and the tool's working ones: never erased as songs.
bool isPlayerEntry(const QString &name)
{
    return playerlayout::isOwnRootEntry(name) || playerlayout::isToolEntry(name);
}

MessageBoxRequest yesNoQuestion(const QString &title, const QString &text, const QString &yesCaption)
{
    MessageBoxRequest question;
    question.kind = QuestionKind::ConfirmDeletion;
    question.safeButton = 1;
    question.proceedButton = 0;
    question.title = title;
    question.text = text;
    question.icon = BoxIcon::Question;
    question.buttons = {BoxButton{BoxRole::Yes, yesCaption}, BoxButton{BoxRole::No, QStringLiteral("No")}};
    // Erasing the player is never what Enter or Escape does.
    question.defaultButton = 1;
    question.escapeButton = 1;
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
    const QString word = ctx.translate("Reinstall", "ERROR");
    boxes::information(ctx.dialogs, ctx.window, word, word);
}

// After songs were erased, the user must know what the player holds now.
void Reinstall::stateAfterEraseBox(bool systemReplaced, const QString &backupFolder)
{
    QString text = systemReplaced ? ctx.translate("Reinstall", "The new operating system is installed on Corvel3.")
                                  : ctx.translate("Reinstall", "The operating system was not reinstalled: Corvel3 still has its previous "
                                                               "one and starts.");
    if (backupFolder.isEmpty())
        text += ctx.translate("Reinstall", "\nThe songs have been deleted.");
    else
        text += ctx.translate("Reinstall", "\nThe songs are not on Corvel3, but they are safe in the backup folder:\n%1\n"
                                           "The Restore button brings them back to Corvel3.")
                    .arg(QDir::toNativeSeparators(backupFolder));
    boxes::critical(ctx.dialogs, ctx.window, ctx.translate("Reinstall", "ERROR"), text);
}

void Reinstall::removeSaveFolder(const QString &packagePath)
{
    transfer::removeFolderTree(ctx, QFileInfo(packagePath).absolutePath(), {});
}

Outcome Reinstall::finished(const Outcome &outcome)
{
    keptArchive.clear();
    work.reset();
    return outcome;
}


QString Reinstall::cachedPackagePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/CorvelAll.zip");
}

QString Reinstall::downloadFullSystem(const QString &folder)
{
    return downloadPackage(ctx, updateServerAddress(QString::fromLatin1(kFullPackagePath)), folder);
}

bool Reinstall::unpackAndVerify(const QString &package)
{
    status(MSG_CREATING_SYSTEM_COPY);
    // The archive is kept aside, in the run's own folder, before unpacking deletes it, so that it
    // can be cached once it has installed.
    keptArchive = work->filePath(QStringLiteral("kept.zip"));
    QFile::remove(keptArchive);
    if (!QFile::copy(package, keptArchive))
        keptArchive.clear();
    return unpackPackage(package, &ctx.progress) && isCompleteSystemPackage(QFileInfo(package).absolutePath());
}

bool Reinstall::useCachedPackage(QString &package)
{
    const QFileInfo cached(cachedPackagePath());
    if (!cached.isFile())
        return false;
    const QString date = QLocale(ctx.state.italian() ? QLocale::Italian : QLocale::English)
                             .toString(cached.lastModified(), QLocale::ShortFormat);
    MessageBoxRequest question;
    question.kind = QuestionKind::Confirm;
    question.title = ctx.translate("Reinstall", "Package not available");
    question.text = ctx.translate("Reinstall", "The server cannot be reached or sent a damaged package.\n"
                                               "Use the system package saved on this PC on %1?")
                        .arg(date);
    question.icon = BoxIcon::Question;
    question.buttons = {BoxButton{BoxRole::Yes, ctx.translate("Reinstall", "Yes")}, BoxButton{BoxRole::No, QStringLiteral("No")}};
    question.defaultButton = 1;
    question.escapeButton = 1;
    question.safeButton = 1;
    question.proceedButton = 0;
    question.parent = ctx.window;
    if (ctx.dialogs.showMessage(question) != 0)
        return false;
    // What the damaged package left goes first: the kept one must not be unpacked over it.
    const QString folder = work->filePath(QStringLiteral("package"));
    transfer::recreateFolder(ctx, folder);
    QDir().mkpath(folder);
    package = folder + QStringLiteral("/CorvelAll.zip");
    return QFile::copy(cached.absoluteFilePath(), package) && unpackAndVerify(package);
}

void Reinstall::keepPackage()
{
    if (keptArchive.isEmpty())
        return;
    const QString cached = cachedPackagePath();
    // Written whole first, then put in place: a half-kept package never replaces a good one.
    QFile::remove(cached);
    ctx.fileAction(QStringLiteral("rename"), keptArchive, cached, QFile::rename(keptArchive, cached));
    keptArchive.clear();
}

bool Reinstall::fetchAndVerify(QString &package)
{
    status(MSG_DOWNLOADING_RELEASE);
    work = std::make_unique<RunFolder>();
    if (!work->isValid()) {
        genericError();
        return false;
    }
    package = downloadFullSystem(work->filePath(QStringLiteral("package")));
    if (ctx.state.stopRequested)
        return false;
    bool good = !package.isEmpty() && unpackAndVerify(package);
    if (ctx.state.stopRequested)
        return false;
    if (!good)
        good = useCachedPackage(package);
    if (ctx.state.stopRequested)
        return false;
    if (!good)
        genericError();
    return good;
}

Reinstall::Install Reinstall::install(const QString &packageFolder, const QString &drivePath, bool keepPlaylists,
                                      const std::function<bool()> &erase)
{
    const QString source = QDir::cleanPath(QFileInfo(packageFolder).absoluteFilePath());
    if (!isCompleteSystemPackage(source)) {
        genericError();
        return Install::NothingChanged;
    }
    QStringList names = QDir(source).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    // A listing cut short would install part of the package as if it were all of it.
    if (platform::countEntries(source) != names.size()) {
        ctx.fileAction(QStringLiteral("list"), source, QString(), false);
        genericError();
        return Install::NothingChanged;
    }
    names.removeAll(QLatin1String(playerlayout::kAttributeBatch));

    StagedInstall staged(ctx, drivePath);
    staged.beforePlacing = beforePlacing;
    staged.atStep = atSwapStep;
    staged.isComplete = isCompleteSystemPackage;
    if (!staged.stage(source, names, keepPlaylists)) {
        if (!staged.reported && !ctx.state.stopRequested)
            genericError();
        return Install::NothingChanged;
    }
    if (ctx.state.stopRequested)
        return Install::NothingChanged;
    // Marked before the swap, so that a system the recovery puts in place after a crash is marked
    // too; the marks are set and checked again once it is in place.
    for (const char *entry : {playerlayout::kSystemFolder, playerlayout::kStartFile})
        platform::setHiddenSystem(entries::resolve(staged.stagingFolder(), QLatin1String(entry)));
    if (erase && !erase())
        return Install::NothingChanged;   // reported by the erase; the staging folder goes
    const Install failed = erase ? Install::FailedAfterErase : Install::NothingChanged;
    if (!staged.swap(playerlayout::systemEntries())) {
        if (!erase)
            genericError();
        return failed;
    }

    BatchCmd batch;
    batch.SetBatchFile(source + QLatin1Char('/') + QLatin1String(playerlayout::kAttributeBatch));
    const QString system = entries::resolve(drivePath, QLatin1String(playerlayout::kSystemFolder));
    const QString autoexec = entries::resolve(drivePath, QLatin1String(playerlayout::kStartFile));
    batch.AddBatchLine(platform::hiddenSystemBatchLine(system));
    batch.AddBatchLine(platform::hiddenSystemBatchLine(autoexec));
    batch.RunBatch();
    batch.DeleteBatchFile();
    // The batch's own result says nothing: the marks are read back from the disk.
    const platform::Attributes systemMarks = platform::attributes(system);
    const platform::Attributes autoexecMarks = platform::attributes(autoexec);
    const bool marked = systemMarks.hidden && systemMarks.system && autoexecMarks.hidden && autoexecMarks.system;
    const bool flushed = platform::flushToDevice(staged.installedFiles(), drivePath);
    if (!marked || !flushed) {
        genericError();
        return Install::NotWhole;
    }
    return Install::Done;
}

bool Reinstall::installSystemFiles(const QString &packageFolder, const QString &drivePath)
{
    return install(packageFolder, drivePath, true, {}) == Install::Done;
}

Outcome Reinstall::stoppedOr(Outcome outcome) const
{
    if (ctx.state.stopRequested)
        return Outcome::of(Outcome::Status::Stopped);
    return outcome;
}

Outcome Reinstall::finishWithUpdate()
{
    keepPackage();
    if (ctx.state.stopRequested)
        return stoppedOr(Outcome::done());
    return stoppedOr(SystemUpdate(ctx).run());
}

Outcome Reinstall::keepSongs(QString &packagePath)
{
    const QString drive = ctx.driveRoot;
    const Outcome outcome = [&]() -> Outcome {
        if (!fetchAndVerify(packagePath))
            return stoppedOr(Outcome::failure(true));

        const QString packageFolder = QFileInfo(packagePath).absolutePath();
        status(MSG_TRANSFERRING_SYSTEM);
        const bool installed = installSystemFiles(packageFolder, drive);
        removeSaveFolder(packagePath);
        if (!installed)
            return stoppedOr(Outcome::failure(true));
        return finishWithUpdate();
    }();
    return finished(outcome);
}

bool Reinstall::confirmErase(const QString &drivePath)
{
    const QString text = QStringLiteral("ATTENZIONE: Il drive ") + drivePath
                         + QStringLiteral(" verrà cancellato.\nVuoi continuare? ");
    return ctx.dialogs.showMessage(yesNoQuestion(QStringLiteral("Cancellazione Drive"), text, QStringLiteral("Si"))) == 0;
}

Outcome Reinstall::eraseSongs()
{
    if (ctx.dialogs.showMessage(yesNoQuestion(message(MSG_FORMAT_TITLE), message(MSG_FORMAT_WARNING),
                                              ctx.translate("Reinstall", "Yes")))
        != 0)
        return Outcome::of(Outcome::Status::Declined);

    const QString drive = ctx.driveRoot;
    const Outcome outcome = [&]() -> Outcome {
        QString package;
        if (!fetchAndVerify(package))
            return stoppedOr(Outcome::failure(true));

        status(MSG_TRANSFERRING_SYSTEM);
        bool erased = false;
        bool eraseDeclined = false;
        const Install result = install(QFileInfo(package).absolutePath(), drive, false, [&] {
            status(MSG_FORMATTING);
            if (!eraseDrive(drive, &eraseDeclined)) {
                informationBox(MSG_FORMAT_ERROR_TITLE, MSG_FORMAT_ERROR_TEXT);
                return false;
            }
            erased = true;
            status(MSG_TRANSFERRING_SYSTEM);
            return !ctx.state.stopRequested;
        });
        removeSaveFolder(package);
        if (eraseDeclined)
            return Outcome::of(Outcome::Status::Declined);
        if (result == Install::FailedAfterErase || (erased && result == Install::NothingChanged && !ctx.state.stopRequested))
            stateAfterEraseBox(false, QString());
        if (result != Install::Done)
            return stoppedOr(Outcome::failure(true));
        return finishWithUpdate();
    }();
    return finished(outcome);
}

bool Reinstall::verifyBackup(const QString &folder, QStringList &saved)
{
    backupmanifest::Check check = backupmanifest::verify(folder, [this](int, int) {
        QCoreApplication::processEvents();
        return !ctx.state.stopRequested;
    });
    if (ctx.state.stopRequested)
        return false;
    if (!check.ok()) {
        QStringList named;
        for (const QString &path : check.missing)
            named << ctx.translate("Reinstall", "missing: ") + path;
        for (const QString &path : check.changed)
            named << ctx.translate("Reinstall", "changed: ") + path;
        if (!check.found)
            named << ctx.translate("Reinstall", "list of saved files unreadable");
        const int shown = 20;
        QString text = message(MSG_BACKUP_ERROR_TEXT) + QStringLiteral("\n\n") + QStringList(named.mid(0, shown)).join('\n');
        if (named.size() > shown)
            text += ctx.translate("Reinstall", "\n... and %1 more").arg(named.size() - shown);
        boxes::information(ctx.dialogs, ctx.window, message(MSG_BACKUP_ERROR_TITLE), text);
        return false;
    }
    bool found = false;
    for (const backupmanifest::Entry &entry : backupmanifest::read(folder, &found))
        saved << entry.path;
    return found;
}

// Deletes from the drive what the verified backup holds, and the folders that leaves empty.
// The player's own entries go with the install (the saved playlists inside them are deleted
// here, so the restore puts them back without asking); anything the backup did not take stays.
bool Reinstall::eraseSaved(const QString &drivePath, const QStringList &saved)
{
    const QString root = transfer::folderWithSeparator(drivePath);
    QSet<QString> parents;
    for (const QString &path : saved) {
        if (isPlayerEntry(path.section(QLatin1Char('/'), 0, 0)) && !playerlayout::isPlaylistPath(path))
            continue;
        const QString file = entries::resolve(root, path);
        if (!QFileInfo(file).isFile())
            continue;
        const bool removed = QFile::remove(file);
        ctx.fileAction(QStringLiteral("delete"), file, QString(), removed);
        if (!removed)
            return false;
        for (QString parent = QFileInfo(file).absolutePath(); parent.size() > root.size();
             parent = QFileInfo(parent).absolutePath())
            parents.insert(parent);
        if (ctx.state.stopRequested)
            return false;
    }
    QStringList folders = parents.values();
    // Deepest first, so a folder is empty by the time it is tried.
    std::sort(folders.begin(), folders.end(),
              [](const QString &a, const QString &b) { return a.count(QLatin1Char('/')) > b.count(QLatin1Char('/')); });
    for (const QString &folder : folders)
        if (QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
            && QDir().rmdir(folder))
            ctx.fileAction(QStringLiteral("delete"), folder);
    const QString batch = entries::resolve(root, QLatin1String(playerlayout::kAttributeBatch));
    if (QFileInfo(batch).isFile())
        ctx.fileAction(QStringLiteral("delete"), batch, QString(), QFile::remove(batch));
    return true;
}

// The songs just copied back go out to the device before any box says to switch it off.
bool Reinstall::flushRestored(const QString &folder, const QString &drivePath)
{
    bool stopped = false;
    const QString source = transfer::folderWithSeparator(folder);
    const QString root = transfer::folderWithSeparator(drivePath);
    QStringList restored;
    for (const QString &path : transfer::restoreList(ctx, QDir::cleanPath(folder), &stopped))
        if (QFileInfo(path).isFile())
            restored << root + path.mid(source.size());
    return !stopped && platform::flushToDevice(restored, drivePath);
}

Outcome Reinstall::saveAndRestore(const QString &chosen)
{
    OperationState &state = ctx.state;
    const QString drive = ctx.driveRoot;
    const Outcome outcome = [&]() -> Outcome {
        status(MSG_BACKUP_TO_PC);
        // The songs must outlive the erase and the download: a folder on the drive, or one that
        // the download empties, would take them along.
        if (!isSafeBackupFolder(chosen, drive, RunFolder::base())) {
            informationBox(MSG_BACKUP_ERROR_TITLE, MSG_BACKUP_ERROR_TEXT);
            return Outcome::failure(true);
        }
        // The songs go into the chosen folder when it is empty, else into a new dated folder in it.
        QString written;
        if (!transfer::backupToFolder(ctx, drive, chosen, &written)) {
            if (state.stopRequested)
                return stoppedOr(Outcome());
            informationBox(MSG_BACKUP_ERROR_TITLE, MSG_BACKUP_ERROR_TEXT);
            return Outcome::failure(true);
        }
        const QString folder = written.isEmpty() ? chosen : written;
        if (state.stopRequested)
            return stoppedOr(Outcome());
        // Nothing is erased unless every saved file is really in the folder, byte for byte.
        QStringList saved;
        if (!verifyBackup(folder, saved))
            return stoppedOr(Outcome::failure(true));

        QString package;
        if (!fetchAndVerify(package))
            return stoppedOr(Outcome::failure(true));

        status(MSG_TRANSFERRING_SYSTEM);
        bool erased = false;
        bool eraseDeclined = false;
        const Install result = install(QFileInfo(package).absolutePath(), drive, false, [&] {
            status(MSG_FORMATTING);
            if (!confirmErase(drive)) {
                eraseDeclined = true;
                informationBox(MSG_FORMAT_ERROR_TITLE, MSG_FORMAT_ERROR_TEXT);
                return false;
            }
            ctx.progress.setMaximum(0);
            ctx.progress.setValue(0);
            erased = true;
            const bool ok = eraseSaved(drive, saved);
            ctx.progress.setMaximum(10);
            if (!ok && !state.stopRequested)
                informationBox(MSG_FORMAT_ERROR_TITLE, MSG_FORMAT_ERROR_TEXT);
            status(MSG_TRANSFERRING_SYSTEM);
            return ok && !state.stopRequested;
        });
        removeSaveFolder(package);
        if (eraseDeclined)
            return Outcome::of(Outcome::Status::Declined);
        if (!erased || state.stopRequested) {
            if (erased)
                stateAfterEraseBox(false, folder);
            return stoppedOr(Outcome::failure(true));
        }
        // The songs come back whatever the install did, Stop or not.
        const bool systemReplaced = result == Install::Done;
        const bool stopped = state.stopRequested.exchange(false);
        status(MSG_RESTORING_BACKUP);
        const transfer::RestoreReport restored = transfer::restoreBackup(ctx, folder, drive);
        if (!restored.ok || !flushRestored(folder, drive)) {
            informationBox(MSG_RESTORE_ERROR_TITLE, MSG_RESTORE_ERROR_TEXT);
            stateAfterEraseBox(systemReplaced, folder);
            Outcome failed = Outcome::failure(true);
            failed.total = restored.total;
            failed.failed = restored.failed;
            return failed;
        }
        if (stopped)
            state.stopRequested = true;
        if (result == Install::NotWhole)
            return Outcome::failure(true);   // reported by the install
        if (!systemReplaced) {
            boxes::critical(ctx.dialogs, ctx.window, ctx.translate("Reinstall", "ERROR"),
                            ctx.translate("Reinstall", "The operating system was not reinstalled: Corvel3 still has its previous one."
                                                       "\nThe songs have been restored."));
            return Outcome::failure(true);
        }
        return finishWithUpdate();
    }();
    return finished(outcome);
}

bool Reinstall::eraseDrive(const QString &drivePath, bool *declined)
{
    const QString device = ctx.driveRoot;
    if (device.isEmpty() || drivePath.isEmpty() || !entries::samePath(drivePath, device)
        || transfer::isProtectedFolder(drivePath, device))
        return false;
    if (!confirmErase(drivePath)) {
        if (declined)
            *declined = true;
        return false;
    }

    ctx.progress.setMaximum(0);
    ctx.progress.setValue(0);
    bool erased = true;
    const QFileInfoList top = QDir(drivePath).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                            | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : top) {
        if (isPlayerEntry(entry.fileName()))
            continue;
        if (entry.isDir() && !platform::isLink(entry.absoluteFilePath())) {
            erased = transfer::removeFolderTree(ctx, entry.absoluteFilePath(), {});
        } else {
            erased = platform::removeEntry(entry.absoluteFilePath());
            ctx.fileAction(QStringLiteral("delete"), entry.absoluteFilePath(), QString(), erased);
        }
        if (!erased)
            break;
    }
    ctx.progress.setMaximum(10);
    return erased;
}

bool Reinstall::isSafeBackupFolder(const QString &folder, const QString &drivePath, const QString &workFolder)
{
    if (folder.isEmpty())
        return false;
    return !entries::overlap(folder, drivePath) && !entries::overlap(folder, workFolder);
}
