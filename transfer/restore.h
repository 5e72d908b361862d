#pragma once

#include <QString>
#include <QStringList>

#include "core/outcome.h"

struct OperationContext;

namespace transfer {

// What a restore copies from backupFolder (cleaned, no trailing separator) when it has no
// manifest: every visible file whose name has a dot, then the playlists of the backup that are
// hidden, so that everything the backup took comes back. Empty with *stopped set when Stop
// ended the listing.
QStringList restoreList(OperationContext &ctx, const QString &backupFolder, bool *stopped);

// What a restore did.
struct RestoreReport {
    bool copied = false;     // the copy ran to its end
    int total = 0;           // files to restore
    bool ok = false;         // every file came back
    bool reported = false;   // a box already said why nothing was written
    bool declined = false;   // a backup without its list of files, and the user chose not to restore it
    int failed = 0;          // of those, files not restored (failed, or left when the run ended)
};

// What of a backup a restore takes.
struct RestoreChoice {
    QStringList only;   // the parts (transfer/restoreparts.h); empty: the whole backup, or ask
    bool ask = false;   // with no parts given, the user chooses them (Dialogs::choosePart)
};

// Copies a backup back onto the drive, each file to its place below deviceRoot; nothing on the
// drive is deleted first. backupFolder may also be the folder that holds dated backups: the
// newest complete one is taken. A backup with a manifest is checked against it first, and any
// file missing or changed refuses the whole restore, with a box naming them, before anything is
// written; one without (an older version's) is restored only when the user agrees. A selective
// restore checks and writes its parts only: damage elsewhere in the backup does not refuse it.
// A part that is not in the backup refuses the whole restore, with a box naming it.
RestoreReport restoreBackup(OperationContext &ctx, const QString &backupFolder, const QString &deviceRoot,
                            const RestoreChoice &choice = RestoreChoice());

// restoreBackup as a yes or no: true when every file came back (or the user skipped some).
bool restoreFromFolder(OperationContext &ctx, const QString &backupFolder, const QString &deviceRoot);

// The restore operation: the backup in chosenFolder (or the newest complete one it holds, after a
// question) back onto the drive at ctx.driveRoot. Failed with the count of files not restored,
// or already told by a box (a damaged backup).
Outcome restore(OperationContext &ctx, const QString &chosenFolder, const RestoreChoice &choice = RestoreChoice());

} // namespace transfer
