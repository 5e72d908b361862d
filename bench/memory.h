#pragma once

#include <QByteArray>
#include <QFile>

// Memory figures of this process from /proc/self/status, in KiB (-1 when unreadable).
namespace benchmemory {

inline long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Peak resident memory since the start or the last resetPeak().
inline long peakKiB() { return statusKiB("VmHWM:"); }
inline long currentKiB() { return statusKiB("VmRSS:"); }

// Starts the peak over from the memory in use now, so the next figure is the measured step's own.
inline void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace benchmemory
