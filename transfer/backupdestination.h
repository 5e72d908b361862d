#pragma once

#include <QDateTime>
#include <QString>

struct OperationContext;

// Where backups go and where a restore takes them from. A backup never writes into the folder
// the user chose but into a new dated folder inside it, so nothing there is ever deleted or
// replaced; a restore given such a parent folder takes the newest complete backup in it.
namespace transfer {

enum class DestinationProblem {
    None,
    OnPlayer,       // the player's drive or a folder inside it, also when reached through a link
    HoldsPlayer,    // a folder above the player's drive
    MountPoint,     // the root of a drive
    SystemFolder,   // the system's root, the home folder or a folder above it
};

DestinationProblem destinationProblem(const QString &folder, const QString &deviceRoot);

// The refusal box for a problem other than None, in the context's language.
void refuseDestination(OperationContext &ctx, DestinationProblem problem);

// Creates "<folder>/Corvel3 backup yyyy-MM-dd HHmm", adding " (2)", " (3)"... rather than ever
// reusing a folder that exists. The full path, or "" when none could be created.
QString createDatedFolder(const QString &folder, const QDateTime &when);

// The backup to restore when the user picked folder: folder itself when it holds a manifest,
// else the newest backup directly inside it (complete ones first), else folder. backupsInside,
// when given, receives how many backups were found inside.
QString backupToRestore(const QString &folder, int *backupsInside = nullptr);

} // namespace transfer
