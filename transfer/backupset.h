#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/outcome.h"

struct OperationContext;

// The dated backups a folder holds: listing them, choosing the base of an incremental backup,
// checking one against its manifest, removing the older ones.
namespace transfer {

struct BackupInfo {
    QString folder;          // absolute, no trailing separator
    QDateTime created;       // the manifest's own date, else the manifest file's
    int songs = 0;           // files the manifest lists
    qint64 size = 0;         // their bytes
    qint64 bytesNew = 0;     // of those, in files of this backup alone
    qint64 bytesLinked = 0;  // in files shared with another backup (hard links)
    bool complete = false;   // the backup saved everything it meant to
    bool verified = false;   // every listed file is there with its size (looked at when listed)
    bool link = false;       // the folder is a link: read through, never removed through
};

// The backups in folder, newest first: folder itself when it holds a manifest, else the folders
// directly inside it that do. look: stat every listed file (verified, bytes new and linked).
QVector<BackupInfo> listBackups(const QString &folder, bool look = true);

// The base an incremental backup links against: the newest complete backup directly inside
// folder (not a link); "" when none. A backup a power cut or a kill cut short has no complete
// manifest: that is written last, after its files reached the disk.
QString incrementalBase(const QString &folder);

// One line for a person: date, songs, size, complete, verified.
QString describeBackup(const OperationContext &ctx, const BackupInfo &backup);

// The "backups" operation: lists folder's backups (Outcome::report and details); fails only when
// folder holds none.
Outcome listBackupsOperation(OperationContext &ctx, const QString &folder);

// The "verify" operation: every backup in folder (or folder itself) against its manifest, the
// files' presence and sizes, with readData every byte. Failed, naming each missing or damaged
// file, when anything is wrong.
Outcome verifyBackups(OperationContext &ctx, const QString &folder, bool readData);

// The "prune" operation: removes the backups in folder older than its keep newest complete ones
// (never the newest complete one; a backup that is a link is left alone). The manifest goes first,
// so a removal cut short leaves no backup that looks complete. A file shared with a kept backup
// stays there: only this backup's name for it goes.
Outcome pruneBackups(OperationContext &ctx, const QString &folder, int keep);

} // namespace transfer
