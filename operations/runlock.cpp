#include "operations/runlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QStandardPaths>
#include <QSysInfo>

#include "device/playerlayout.h"

namespace {

// The locks this process holds now. A lock file naming this process that is not among them was
// left by one of its earlier runs (a player unplugged mid-run takes the lock along).
QSet<QString> &heldHere()
{
    static QSet<QString> paths;
    return paths;
}

// Takes the lock, or a stale one over. held: another live run has it.
bool take(QLockFile &lock, const QString &path, bool *held)
{
    *held = false;
    lock.setStaleLockTime(0);   // only a dead holder makes a lock stale, never its age
    if (lock.tryLock(0))
        return true;
    if (lock.error() != QLockFile::LockFailedError)
        return false;   // cannot be written at all
    qint64 pid = 0;
    QString host, application;
    // A lock from another PC: that PC no longer has the player. One of this process's own that no
    // run of it holds: a run that lost its player.
    if (lock.getLockInfo(&pid, &host, &application)) {
        const bool otherPc = !host.isEmpty() && host != QSysInfo::machineHostName();
        const bool oursAndLeft = pid == QCoreApplication::applicationPid() && !heldHere().contains(path);
        if ((otherPc || oursAndLeft) && lock.removeStaleLockFile() && lock.tryLock(0))
            return true;
    }
    *held = true;
    return false;
}

} // namespace

RunLock::RunLock() = default;

RunLock::~RunLock()
{
    release();
}

QString RunLock::userLockPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/run.lock");
}

QString RunLock::driveLockPath(const QString &driveRoot)
{
    QString root = driveRoot;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return root + QLatin1String(playerlayout::kDriveLock);
}

bool RunLock::acquire(const QString &driveRoot)
{
    release();
    QDir().mkpath(QFileInfo(userLockPath()).absolutePath());
    bool held = false;
    const QString userPath = userLockPath(), drivePath = driveLockPath(driveRoot);
    auto userLock = std::make_unique<QLockFile>(userPath);
    // A user folder that cannot be written takes nothing from the player's own lock.
    if (!take(*userLock, userPath, &held) && held)
        return false;
    auto driveLock = std::make_unique<QLockFile>(drivePath);
    if (!take(*driveLock, drivePath, &held) && held)
        return false;
    user = std::move(userLock);
    drive = std::move(driveLock);
    paths = QStringList{userPath, drivePath};
    for (const QString &path : paths)
        heldHere().insert(path);
    return true;
}

void RunLock::release()
{
    drive.reset();   // QLockFile removes what it holds
    user.reset();
    for (const QString &path : paths)
        heldHere().remove(path);
    paths.clear();
}
