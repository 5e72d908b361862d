#pragma once

// A source read at a player's pace, for the benchmarks: a loop-mounted ext4 image whose reads the
// kernel's block throttle holds to a rate (cgroup v2 io.max where the io controller is on, else
// v1 blkio.throttle.read_bps_device), this process (and the children it starts afterwards) moved
// into that cgroup. As root only; otherwise root is a plain folder and whyNotLimited() says why.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace throttle {

inline bool run(const QString &program, const QStringList &arguments, QString *output = nullptr)
{
    QProcess p;
    p.start(program, arguments);
    const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    return ok;
}

inline bool writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size() && f.flush();
}

inline QByteArray readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Where a controller's hierarchy is mounted: cgroup2 (any), or the v1 one that carries option.
inline QString cgroupMount(const QByteArray &type, const QByteArray &option = QByteArray())
{
    for (const QByteArray &line : readText("/proc/mounts").split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() > 3 && f[2] == type && (option.isEmpty() || f[3].split(',').contains(option)))
            return QString::fromLocal8Bit(f[1]);
    }
    return QString();
}

// The drive: a loop-mounted ext4 image whose reads are held to a rate, or a plain folder.
class Source {
public:
    QString root;        // the drive's root folder
    QString limitedBy;   // how the rate is held, "" when it is not

    Source(const QString &work, qint64 bytes, qint64 rate)
    {
        root = work + "/drive";
        QDir().mkpath(root);
        if (geteuid() != 0) {
            why = "not root";
            return;
        }
        image = work + "/drive.img";
        if (!run("truncate", {"-s", QString::number((bytes >> 20) + 64) + "M", image})
            || !run("mkfs.ext4", {"-q", "-F", image}) || !run("losetup", {"-f", "--show", image}, &loop)
            || !run("mount", {loop, root})) {
            why = "no loop device could be mounted";
            return;
        }
        mounted = true;
        struct stat info {};
        if (::stat(QFile::encodeName(loop).constData(), &info) != 0) {
            why = "the loop device cannot be read";
            return;
        }
        const QByteArray device = QByteArray::number(major(info.st_rdev)) + ':' + QByteArray::number(minor(info.st_rdev));
        const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
        const QString name = QStringLiteral("/corvel3-bench-%1").arg(QCoreApplication::applicationPid());

        // cgroup v2: the io controller, on for the root's children.
        const QString v2 = cgroupMount("cgroup2");
        const auto hasIo = [](const QString &file) { return readText(file).trimmed().split(' ').contains("io"); };
        if (!v2.isEmpty() && hasIo(v2 + "/cgroup.controllers")
            && (hasIo(v2 + "/cgroup.subtree_control") || writeText(v2 + "/cgroup.subtree_control", "+io"))) {
            QByteArray from;   // this process's cgroup, to go back to
            for (const QByteArray &line : readText("/proc/self/cgroup").split('\n'))
                if (line.startsWith("0::"))
                    from = line.mid(3);
            if (QDir().mkdir(v2 + name) && writeText(v2 + name + "/io.max", device + " rbps=" + QByteArray::number(rate))
                && writeText(v2 + name + "/cgroup.procs", pid)) {
                group = v2 + name;
                back = v2 + QString::fromLocal8Bit(from) + "/cgroup.procs";
                limitedBy = QStringLiteral("cgroup v2 io.max \"%1 rbps=%2\"").arg(QString(device)).arg(rate);
                return;
            }
            QDir().rmdir(v2 + name);
        }
        // cgroup v1: the same block throttle, through the blkio hierarchy.
        const QString v1 = cgroupMount("cgroup", "blkio");
        if (!v1.isEmpty() && QDir().mkdir(v1 + name)) {
            if (writeText(v1 + name + "/blkio.throttle.read_bps_device", device + ' ' + QByteArray::number(rate))
                && writeText(v1 + name + "/cgroup.procs", pid)) {
                group = v1 + name;
                back = v1 + "/cgroup.procs";
                limitedBy = QStringLiteral("cgroup v1 blkio.throttle.read_bps_device \"%1 %2\" (no cgroup v2 io controller here)")
                                .arg(QString(device))
                                .arg(rate);
                return;
            }
            QDir().rmdir(v1 + name);
        }
        why = "no cgroup io controller (v2 io or v1 blkio) could be set";
    }

    ~Source()
    {
        if (!group.isEmpty()) {
            writeText(back, QByteArray::number(QCoreApplication::applicationPid()));
            QDir().rmdir(group);
        }
        if (mounted)
            run("umount", {root});
        if (!loop.isEmpty())
            run("losetup", {"-d", loop});
    }

    QString whyNotLimited() const { return why; }

private:
    QString image, loop, group, back, why;
    bool mounted = false;
};

// Every read of the song starts cold: its pages go from the cache (they were written out).
inline void dropCached(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

} // namespace throttle
