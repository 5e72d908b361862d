#pragma once

#include <memory>
#include <QString>
#include <QStringList>

class QLockFile;

// One operation per player and per user at a time: a lock file at the player's root (seen by
// every PC and account the player is plugged into) and one in the user's data folder (two
// windows, or a window and the command line, of the same user). A lock whose process has died,
// one that another PC left on the player (a player is plugged into one PC at a time), or one an
// earlier run of this process left (its player went away mid-run) is taken over. A player that cannot be written (read-only) holds no lock: the run itself then
// finds out what it can and cannot do.
class RunLock {
public:
    RunLock();
    ~RunLock();
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

    // False when another run holds either lock; nothing is held then.
    bool acquire(const QString &driveRoot);
    void release();

    static QString userLockPath();
    static QString driveLockPath(const QString &driveRoot);

private:
    std::unique_ptr<QLockFile> user;
    std::unique_ptr<QLockFile> drive;
    QStringList paths;   // of the two, while held
};
