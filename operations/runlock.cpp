#include "operations/runlock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>

#include "device/playerlayout.h"

namespace {

// Takes the lock, or a stale one over. held: another live run has it.
bool take(QLockFile &lock, bool *held)
{
    *held = false;
    lock.setStaleLockTime(0);   // only a dead holder makes a lock stale, never its age
    if (lock.tryLock(0))
        return true;
    if (lock.error() != QLockFile::LockFailedError)
        return false;   // cannot be written at all
    qint64 pid = 0;
    QString host, application;
    // A lock from another PC: that PC no longer has the player.
    if (lock.getLockInfo(&pid, &host, &application) && !host.isEmpty() && host != QSysInfo::machineHostName()
        && lock.removeStaleLockFile() && lock.tryLock(0))
        return true;
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
    auto userLock = std::make_unique<QLockFile>(userLockPath());
    // A user folder that cannot be written takes nothing from the player's own lock.
    if (!take(*userLock, &held) && held)
        return false;
    auto driveLock = std::make_unique<QLockFile>(driveLockPath(driveRoot));
    if (!take(*driveLock, &held) && held)
        return false;
    user = std::move(userLock);
    drive = std::move(driveLock);
    return true;
}

void RunLock::release()
{
    drive.reset();   // QLockFile removes what it holds
    user.reset();
}
