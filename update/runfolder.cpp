#include "update/runfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const char kLockName[] = ".lock";
// A folder without its lock this old was left between its making and its locking.
constexpr qint64 kUnlockedAgeSeconds = 3600;

const QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// Removes the folders of runs that ended without removing them: their lock is held by no living
// process. A folder another run has just made and not locked yet is left alone.
void removeAbandoned(const QString &base)
{
    const QFileInfoList found = QDir(base).entryInfoList({QStringLiteral("run-*")}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &folder : found) {
        if (folder.isSymLink())
            continue;
        const QString lockPath = folder.absoluteFilePath() + QLatin1Char('/') + QLatin1String(kLockName);
        if (!QFileInfo::exists(lockPath)) {
            if (folder.lastModified().secsTo(QDateTime::currentDateTime()) > kUnlockedAgeSeconds)
                QDir(folder.absoluteFilePath()).removeRecursively();
            continue;
        }
        QLockFile lock(lockPath);
        lock.setStaleLockTime(0);   // only a dead owner makes a lock stale, never its age
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        QDir(folder.absoluteFilePath()).removeRecursively();
    }
}

} // namespace

QString RunFolder::base()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty())
        return cache + QStringLiteral("/runs");
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QString() : runtime + QStringLiteral("/corvel3-runs");
}

RunFolder::RunFolder()
{
    const QString where = base();
    if (where.isEmpty() || !QDir().mkpath(where))
        return;
    QFile::setPermissions(where, kOwnerOnly);
    removeAbandoned(where);
    auto made = std::make_unique<QTemporaryDir>(where + QStringLiteral("/run-XXXXXX"));
    // Made for the owner only already; said again, so no umask or inherited setting widens it.
    if (!made->isValid() || !QFile::setPermissions(made->path(), kOwnerOnly))
        return;
    auto held = std::make_unique<QLockFile>(made->path() + QLatin1Char('/') + QLatin1String(kLockName));
    held->setStaleLockTime(0);
    if (!held->tryLock(0))
        return;
    dir = std::move(made);
    lock = std::move(held);
}

RunFolder::~RunFolder()
{
    // Unlocked first: a file held open cannot be deleted everywhere.
    lock.reset();
    dir.reset();
}

QString RunFolder::path() const
{
    return dir ? dir->path() : QString();
}
