#pragma once

#include <QString>
#include <QStringList>

struct OperationContext;

namespace transfer {

// What a restore copies from backupFolder (cleaned, no trailing separator): every visible entry
// whose name has a dot, then the playlists of the backup that are hidden, so that everything the
// backup took comes back. Empty with *stopped set when Stop ended the listing.
QStringList restoreList(OperationContext &ctx, const QString &backupFolder, bool *stopped);

// Copies a backup folder back onto the drive, each file to its place below deviceRoot. Nothing
// on the drive is deleted first. False when Stop ended the listing, else the copy's result.
bool restoreFromFolder(OperationContext &ctx, const QString &backupFolder, const QString &deviceRoot);

// The Restore button: finds the drive, asks for the backup folder, runs the restore and reports.
void runRestore(OperationContext &ctx);

} // namespace transfer
