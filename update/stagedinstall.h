#pragma once

#include <functional>
#include <QString>
#include <QStringList>

#include "core/operationcontext.h"

// Installs a set of entries at the player's drive root so that the player always keeps a
// working system: the new entries are first copied whole into a hidden staging folder on the
// drive itself, then the old entries are renamed aside, the staged ones renamed in, and only
// then are the old ones deleted. Any failure before the renames removes the staging folder and
// leaves the drive as it was; a failure during them puts the old entries back.
class StagedInstall {
public:
    StagedInstall(OperationContext &ctx, const QString &drivePath);
    ~StagedInstall();   // a staging folder never placed is removed

    static const char kStagingName[];   // ".corvel3-staging"

    // Copies every file below packageFolder/<name> for each of names (names without a dot
    // included) into the staging folder, after checking the drive's free space, and checks that
    // each arrived with its size. keepPlaylists carries the drive's System/Playlist files into
    // the staged system. False on a failure or a Stop; the staging folder is then gone.
    bool stage(const QString &packageFolder, const QStringList &names, bool keepPlaylists);
    // Puts the staged entries in place of the drive's entries named in replaced (found without
    // regard to case) and of the same names. False with the drive's entries as they were.
    bool swap(const QStringList &replaced);
    // Every file now in place, for flushing to the device.
    QStringList installedFiles() const;

    // Called before each staged entry is renamed into place; false makes that rename fail.
    std::function<bool(const QString &name)> beforePlacing;
    // Set when stage() has told the user why it failed (the free-space box); every other
    // failure is the caller's to report.
    bool reported = false;

private:
    void discard();

    OperationContext &ctx;
    QString drive;     // ends with "/"
    QString staging;
    QStringList placed;
};

// The unpacked full package holds what the player starts from: AUTOEXEC.BAT,
// System/Corvel/Corvel.exe and System/DispProc/DispProc.exe, each with content.
bool isCompleteSystemPackage(const QString &packageFolder);
// The unpacked update package holds a "CorvelUpdate" folder with at least one file with content.
bool isCompleteUpdatePackage(const QString &packageFolder);
