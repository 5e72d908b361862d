#pragma once

#include <QString>
#include <QStringList>

#include "core/outcome.h"

struct OperationContext;

namespace transfer {

// True when a path below the drive root ("Basi/x.mid") is none of the library's business: the
// player's own entries at the root (its playlists are listed on their own).
bool isLeftOutOfBackup(const QString &pathBelowRoot);

// The files the backup takes from the drive: the library (hidden entries and the player's own
// folders left out), then the playlists (hidden ones too). Folders are not listed: the copy
// makes those its files need. Empty with *stopped set when Stop ended it.
QStringList backupList(OperationContext &ctx, const QString &deviceRoot, bool *stopped);

// What a backup did.
struct BackupReport {
    bool copied = false;      // the copy ran (it may have been cut short)
    bool refused = false;     // the folder was refused or could not be made, and a box said why
    bool declined = false;    // the question before a large backup was answered "No"
    QString folder;           // the dated folder written into, "" when none was made
    int listed = 0;           // files the backup meant to save
    int notSaved = 0;         // of those, files not found whole in the backup after the copy
    bool stopped = false;
};

// Saves the library and the playlists of the drive at deviceRoot into a new dated folder
// inside chosenFolder (see backupdestination.h), keeping their paths below the root, with the
// manifest of every saved file. Nothing in chosenFolder is deleted or replaced. A folder on the
// player, above it, the root of a drive, the system's root or the home folder (or above) is
// refused with a box. With intoEmptyFolder, a chosen folder that holds nothing at all is written
// into directly (the reinstall keeps its songs in the folder it asked for).
BackupReport backUp(OperationContext &ctx, const QString &deviceRoot, const QString &chosenFolder,
                    bool intoEmptyFolder = false);

// backUp for callers that need a yes or no, writing into destinationFolder itself when it is
// empty, else into a new dated folder inside it: true once the copy has run and saved every file
// (or was stopped: the Stop flag tells); false when the backup ended before the copy (a folder
// refused or not made, a question declined, Stop during the listings) or files were not saved.
// writtenTo, when given, receives the dated folder.
bool backupToFolder(OperationContext &ctx, const QString &deviceRoot, QString destinationFolder,
                    QString *writtenTo = nullptr);

// The backup operation: the drive at ctx.driveRoot into a new dated folder inside chosenFolder.
// Failed with the count of files not saved, or already told by a box (a folder refused).
Outcome backup(OperationContext &ctx, const QString &chosenFolder);

} // namespace transfer
