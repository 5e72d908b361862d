#pragma once

#include <functional>
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/operationcontext.h"

// Installs a set of entries at the player's drive root so that the player always keeps a
// working system: the new entries are first copied whole into a hidden staging folder on the
// drive itself and checked, then a journal on the drive names every rename to come, the old
// entries are renamed aside, the staged ones renamed in, the old ones deleted, and last the
// journal goes. Any failure before the renames removes the staging folder and leaves the drive
// as it was; a failure during them puts the old entries back; a crash or a power cut during them
// leaves the journal, by which the next start finishes the swap (update/swaprecovery.h).
class StagedInstall {
public:
    StagedInstall(OperationContext &ctx, const QString &drivePath);
    ~StagedInstall();   // a staging folder never placed is removed

    static const char kStagingName[];   // ".corvel3-staging"
    static const char kAsidePrefix[];   // ".corvel3-previous-", followed by the swap's time

    // Copies every file below packageFolder/<name> for each of names (names without a dot
    // included) into the staging folder, after checking the drive's free space, and checks that
    // each arrived with its size. keepPlaylists carries the drive's System/Playlist files into
    // the staged system. False on a failure or a Stop, or while the journal of an unfinished
    // swap is on the drive; the staging folder is then gone.
    bool stage(const QString &packageFolder, const QStringList &names, bool keepPlaylists);
    // Puts the staged entries in place of the drive's entries named in replaced (found without
    // regard to case) and of the same names, once every staged file is found again with its size
    // and isComplete (when set) accepts the staging folder. False with the drive's entries as they
    // were, or, when not even they could be put back, with the journal left for the recovery.
    bool swap(const QStringList &replaced);
    // Every file now in place, for flushing to the device.
    QStringList installedFiles() const;
    // The staging folder, while there is one.
    QString stagingFolder() const { return staging; }

    // What the staged entries must make up ("" or null: anything staged whole will do).
    std::function<bool(const QString &stagingFolder)> isComplete;
    // Called before each staged entry is renamed into place; false makes that rename fail.
    std::function<bool(const QString &name)> beforePlacing;
    // Told of each point of a swap as it is passed ("staged", "journal", "renamed 1", "renamed 2",
    // ..., "cleaned", "journal removed"): tests cut the process short there.
    std::function<void(const QString &step)> atStep;
    // Set when stage() has told the user why it failed (the free-space box); every other
    // failure is the caller's to report.
    bool reported = false;

private:
    struct StagedFile {
        QString path;    // below the staging folder
        qint64 size;
    };

    void discard();
    bool stagedWhole() const;
    void step(const QString &name) const;

    OperationContext &ctx;
    QString drive;     // ends with "/"
    QString staging;
    QStringList placed;
    QVector<StagedFile> stagedFiles;
};

// The unpacked full package holds what the player starts from: AUTOEXEC.BAT,
// System/Corvel/Corvel.exe and System/DispProc/DispProc.exe, each with content.
bool isCompleteSystemPackage(const QString &packageFolder);
// The unpacked update package holds a "CorvelUpdate" folder with at least one file with content.
bool isCompleteUpdatePackage(const QString &packageFolder);
