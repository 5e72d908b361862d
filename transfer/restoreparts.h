#pragma once

#include <QString>
#include <QStringList>

struct OperationContext;

// The parts of a backup a selective restore takes, named as the backup names its files: a path
// relative to the player's root, a folder taking everything below it, a file just itself. Names
// match without regard to case, as on the player's disk; "Rock" never takes "Rock2".
namespace transfer {

// given cleaned ("Rock/Live"), "\" read as "/"; "" when it names no part inside the backup: empty,
// the backup's root, absolute, a drive letter, or any ".." step.
QString cleanPart(const QString &given);

// True when relative (a file of the backup) is part itself or lies below it.
bool inPart(const QString &relative, const QString &part);
// True when relative lies in one of parts; every file does when parts is empty.
bool inParts(const QString &relative, const QStringList &parts);

// Of parts (cleaned), those that take none of files.
QStringList partsMatchingNothing(const QStringList &files, const QStringList &parts);

// The files of the backup that a restore given folder takes (the newest complete one when folder
// holds dated backups), relative to it: its manifest's, else what a listing finds for a backup
// without one. *readable false when the manifest is there but cannot be read, or Stop ended the
// listing.
QStringList backupFiles(OperationContext &ctx, const QString &folder, bool *readable);

} // namespace transfer
