#pragma once

#include <QString>
#include <QStringList>

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
    int failed = 0;          // of those, files not restored (failed, or left when the run ended)
};

// Copies a backup back onto the drive, each file to its place below deviceRoot; nothing on the
// drive is deleted first. backupFolder may also be the folder that holds dated backups: the
// newest complete one is taken. A backup with a manifest is checked against it first, and any
// file missing or changed refuses the whole restore, with a box naming them, before anything is
// written; one without (an older version's) is restored only when the user agrees.
RestoreReport restoreBackup(OperationContext &ctx, const QString &backupFolder, const QString &deviceRoot);

// restoreBackup as a yes or no: true when every file came back (or the user skipped some).
bool restoreFromFolder(OperationContext &ctx, const QString &backupFolder, const QString &deviceRoot);

// The Restore button: finds the drive, asks for the backup folder, runs the restore and reports.
void runRestore(OperationContext &ctx);

} // namespace transfer
