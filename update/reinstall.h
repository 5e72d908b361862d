#pragma once

#include <functional>
#include <memory>
#include <QString>
#include <QStringList>

#include "core/operationcontext.h"
#include "core/outcome.h"
#include "update/runfolder.h"

// The three reinstalls of the player's system from the full package, and their steps. The
// package is downloaded, unpacked and checked in a folder of the run's own on the PC before
// anything on the player changes; it is then staged on the drive and swapped in, so a failure, a
// Stop or (through the swap's journal) a crash leaves a working system (the old one or the new
// one). Every failure shows its box; a Stop ends a variant silently between
// steps. Each variant works on the drive at ctx.driveRoot and returns how it ended; the update
// that ends every reinstall runs on the same context.
class Reinstall {
public:
    explicit Reinstall(OperationContext &ctx) : ctx(ctx) {}

    // Replaces the system folders and keeps the songs; Done only when the reinstall ran to its
    // end, update included. packagePath receives the downloaded package's path (in the run's own
    // folder, gone once the reinstall ends).
    Outcome keepSongs(QString &packagePath);
    // Asks first, then erases the songs once the new system is staged on the drive.
    Outcome eraseSongs();
    // Saves the songs into chosenFolder and checks the copy, erases what was saved, installs,
    // copies the songs back. The PC folder is left in place whatever happens.
    Outcome saveAndRestore(const QString &chosenFolder);

    // The full package into folder; its path or "".
    QString downloadFullSystem(const QString &folder);
    // Deletes, after the user confirms, everything on the player's drive but the player's own
    // system entries (replaced by the install that follows) and the staging folder. Refuses
    // (false, nothing asked) any path but the run's drive; *declined tells a "No".
    bool eraseDrive(const QString &drivePath, bool *declined = nullptr);
    // Replaces the system entries on the drive with those of the unpacked package (staged and
    // marked hidden and system there, then swapped), marks the system folder and the start file
    // again in place and reads the marks back, and flushes everything to the device. The user's
    // playlists are kept. False after the box.
    bool installSystemFiles(const QString &packageFolder, const QString &drivePath);

    // True when folder may hold the songs while the drive is erased: it is neither on the drive
    // (nor above it) nor mixed up with workFolder, where the runs' own folders come and go
    // (RunFolder::base()).
    static bool isSafeBackupFolder(const QString &folder, const QString &drivePath, const QString &workFolder);
    // Where a verified full package is kept between runs.
    static QString cachedPackagePath();

    // Called before each staged entry is renamed into place; false makes that rename fail.
    std::function<bool(const QString &name)> beforePlacing;
    // Told of each point of the swap (StagedInstall::atStep).
    std::function<void(const QString &step)> atSwapStep;

private:
    // NotWhole: the new system is in place, but its marks or the flush to the device failed.
    enum class Install { Done, NothingChanged, FailedAfterErase, NotWhole };

    QString message(int code) const;
    void status(int code);
    void informationBox(int titleCode, int textCode);
    void genericError();
    void stateAfterEraseBox(bool systemReplaced, const QString &backupFolder);
    void removeSaveFolder(const QString &packagePath);
    // Ends a variant: the run's own folder goes, with all it holds.
    Outcome finished(const Outcome &outcome);
    // The outcome given, or Stopped when Stop was pressed.
    Outcome stoppedOr(Outcome outcome) const;
    // Keeps the package that installed, then runs the update that ends every reinstall.
    Outcome finishWithUpdate();
    // Downloads, unpacks and checks the full package into package's folder, falling back on
    // the cached package when the user accepts it. False when the variant must end (reported,
    // or a Stop).
    bool fetchAndVerify(QString &package);
    bool unpackAndVerify(const QString &package);
    bool useCachedPackage(QString &package);
    void keepPackage();
    // Stages the package, runs erase (when given) and swaps the system in.
    Install install(const QString &packageFolder, const QString &drivePath, bool keepPlaylists,
                    const std::function<bool()> &erase);
    // Checks the backup in folder against its manifest (written from the drive when the backup
    // left none); the saved paths, or false after the box naming what is missing or changed.
    bool verifyBackup(const QString &folder, QStringList &saved);
    bool eraseSaved(const QString &drivePath, const QStringList &saved);
    bool confirmErase(const QString &drivePath);
    bool flushRestored(const QString &folder, const QString &drivePath);

    OperationContext &ctx;
    std::unique_ptr<RunFolder> work;   // the variant's downloads, from its first download to its end
    QString keptArchive;   // a copy of the downloaded package in work, cached once it installed
};
