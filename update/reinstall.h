#pragma once

#include <functional>
#include <QString>

#include "core/operationcontext.h"
#include "update/systemupdate.h"

// What the reinstall borrows from the operations window, bound to the progress bar of the run:
// the folder operations and the copy (so their prompts and repaints are the usual ones), the
// backup and restore engines, and the update that ends every reinstall.
struct ReinstallOps {
    UpdateFileOps files;
    std::function<bool(const QString &deviceRoot, const QString &folder)> backupToFolder;
    std::function<bool(const QString &backupFolder, const QString &deviceRoot)> restoreFromFolder;
    std::function<bool()> updateSystem;   // the update without its own end message
};

// Name of the attribute batch, written in the package folder.
extern const char kAttributeBatchName[];   // "MATTRB.BAT"

// The three reinstalls of the player's system from the full package, and their steps. Every
// failure shows at most one box; a Stop ends a variant silently between steps. ctx.progress is
// the busy widgets the variant works with (the start-up window's, for the repair).
class Reinstall {
public:
    Reinstall(OperationContext &ctx, ReinstallOps ops) : ctx(ctx), ops(std::move(ops)) {}

    // Replaces the system folders and keeps the songs. The caller sets operationOk first and
    // reads it afterwards: it stays set only when the reinstall ran to its end, update included.
    // packagePath receives the downloaded package's path.
    void reinstallSystem(QString &packagePath);
    // Asks first, then erases the whole drive before installing.
    void reinstallAndClean();
    // Saves the songs to a folder the user picks, erases the drive, installs, copies the songs
    // back. The PC folder is left in place whatever happens.
    void reinstallAndRestore();

    // The full package into the emptied save folder; its path or "".
    QString downloadFullSystem();
    // Deletes everything on the player's drive after the user confirms. Refuses (false, nothing
    // asked) any path but the drive the device lookup gives, and any protected folder.
    bool eraseDrive(const QString &drivePath);
    // Replaces the system entries on the drive with those of the unpacked package and marks the
    // system folder and the start file hidden and system.
    bool installSystemFiles(const QString &packageFolder, const QString &drivePath);

    // True when folder may hold the songs while the drive is erased: it is neither on the drive
    // (nor above it) nor mixed up with the save folder that the download empties.
    static bool isSafeBackupFolder(const QString &folder, const QString &drivePath, const QString &saveFolder);

private:
    QString message(int code) const;
    void status(int code);
    void informationBox(int titleCode, int textCode);
    void genericError();
    bool backupIsComplete(const QString &drivePath, const QString &folder);
    void removeSaveFolder(const QString &packagePath);
    // The player's drive, or "" after the not-found box.
    QString findDrive();
    // Downloads and unpacks the full package into package. False when the variant must end:
    // Stop, a failed download (reported, operationOk cleared) or a failed unpacking (silent).
    bool fetchAndUnpack(QString &package);

    OperationContext &ctx;
    ReinstallOps ops;
};
