#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <QStorageInfo>
#include <QString>

#include <functional>
#include <unistd.h>

#include "device/devicedrive.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"
#include "ui/core/operationcontext.h"

// A bar that lets a test act when the engine reaches a given point.
class HookedProgress : public RecordingProgress {
public:
    std::function<void(int)> onValue;
    void setValue(int v) override
    {
        RecordingProgress::setValue(v);
        if (onValue)
            onValue(v);
    }
};

// What an engine runs with in these tests: the state, scripted boxes, a widget-less bar and a
// stand-in for the operations window (the parent of the window's own boxes).
struct EngineRig {
    OperationState state;
    ScriptedDialogs dialogs;
    HookedProgress progress;
    QObject window;
    OperationContext ctx{state, dialogs, progress, &window, [] { return findDeviceDrive(); }};
};

inline bool writeBytes(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs fn at the next round of event processing, as a click would.
inline void atNextEvents(std::function<void()> fn)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(fn), Qt::QueuedConnection);
}

inline bool runTool(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A file that not even root may delete: the immutable attribute. False where chattr is missing
// or the file system has no such attribute.
inline bool makeImmutable(const QString &path, bool on = true)
{
    return runTool(QStringLiteral("chattr"), {on ? QStringLiteral("+i") : QStringLiteral("-i"), path});
}

// A small ext4 image mounted on a loop device, for a disk that fills up. Needs root.
class SmallDisk {
public:
    SmallDisk(const QString &folder, int megabytes)
        : image(folder + QStringLiteral("/disk.img")), mountPoint(folder + QStringLiteral("/mnt"))
    {
        QDir().mkpath(mountPoint);
        mounted = runTool(QStringLiteral("dd"), {QStringLiteral("if=/dev/zero"), QStringLiteral("of=") + image,
                                                 QStringLiteral("bs=1M"), QStringLiteral("count=%1").arg(megabytes),
                                                 QStringLiteral("status=none")})
            && runTool(QStringLiteral("mkfs.ext4"), {QStringLiteral("-q"), QStringLiteral("-F"), image})
            && runTool(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("loop"), image, mountPoint});
    }
    ~SmallDisk()
    {
        if (mounted)
            runTool(QStringLiteral("umount"), {mountPoint});
        QFile::remove(image);
    }
    qint64 available() const { return QStorageInfo(mountPoint).bytesAvailable(); }

    const QString image;
    const QString mountPoint;
    bool mounted = false;
};

inline bool runningAsRoot()
{
    return ::geteuid() == 0;
}
