#pragma once

#include <QString>
#include <QStringList>

struct OperationContext;

namespace transfer {

// True when a path below the drive root (given from the root's own "/" on) is none of the
// library's business: the player's effects, bridges, system and boot file, at any depth.
bool isLeftOutOfBackup(const QString &pathBelowRoot);

// What the backup takes from the drive: the library (hidden entries and the player's own folders
// left out), then the playlists (hidden ones too). Empty with *stopped set when Stop ended it.
QStringList backupList(OperationContext &ctx, const QString &deviceRoot, bool *stopped);

// Empties destinationFolder (after asking, when it holds anything) and copies the library and
// the playlists of the drive at deviceRoot into it, keeping their paths below the root. True
// once the copy has run, whatever its outcome; false when the backup ended before it (a
// question declined, the folder not emptied, Stop during the listings).
bool backupToFolder(OperationContext &ctx, const QString &deviceRoot, QString destinationFolder);

// The Backup button: finds the drive, asks for the folder, runs the backup and reports.
void runBackup(OperationContext &ctx);

} // namespace transfer
