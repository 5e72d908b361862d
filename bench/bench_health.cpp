// The library health check at 50,000 songs, from a warm cache, through the operations runner.
//
//   bench_health [songs [threads]]   default 50000 songs, as many threads as cores; goals: under 3 s (median of 5 runs), peak under 200 MB
//
// Baseline: one thread walking the tree and reading every file's first 30,000 bytes, 5 times.
// The drive holds small valid MP3s (frames of 144 bytes behind an ID3v1 title) and standard MIDI
// files in folders of 1,000, a playlist naming 5,000 of them (some gone), and nothing damaged:
// every song's head and tail is read and every song shares its size with others, so every one is
// hashed for duplicates too, the check's worst case. A first run warms the cache. Peak memory is
// getrusage's maximum resident set of the whole process, the drive's making included. The CPU
// time of each run (every thread's) is printed too: on a shared machine the wall time swings
// with the neighbours' load, which is printed with it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDirIterator>
#include <QFile>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

#include "operations/operations.h"
#include "tests/common/drivefixture.h"

namespace {

// frames of MPEG 1 layer III at 32 kbit/s, 32 kHz, mono: 144 bytes each, then the ID3v1 tag.
QByteArray mp3(int index, int frames)
{
    QByteArray out;
    for (int f = 0; f < frames; ++f) {
        QByteArray frame(144, char(index + f));
        frame[0] = char(0xFF);
        frame[1] = char(0xFB);
        frame[2] = char(0x18);
        frame[3] = char(0xC4);
        out += frame;
    }
    QByteArray tag = "TAG" + QStringLiteral("Song %1").arg(index).toLatin1();
    tag.resize(128);
    return out + tag;
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The baseline: one thread walks the tree and reads every file's first 30,000 bytes.
qint64 plainRead(const QString &root)
{
    QElapsedTimer clock;
    clock.start();
    QByteArray buffer(30000, '\0');
    for (QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            file.read(buffer.data(), buffer.size());
    }
    return clock.nsecsElapsed();
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine() : QByteArray("?\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("corvel3-bench");
    const int songs = argc > 1 ? std::atoi(argv[1]) : 50000;
    if (argc > 2)   // the pool's threads, to see what reading in parallel gains here
        QThreadPool::globalInstance()->setMaxThreadCount(std::atoi(argv[2]));
    DriveFixture drive;
    drive.addSystemFiles();
    QStringList lines;
    for (int i = 0; i < songs; ++i) {
        const QString folder = QStringLiteral("Genre%1/Folder%2/").arg(i / 10000).arg(i / 1000);
        const QString name = QStringLiteral("song %1").arg(i) + (i % 5 == 4 ? ".mid" : ".mp3");
        drive.writeFile(folder + name, i % 5 == 4 ? DriveFixture::midiBytes(QStringLiteral("Tune %1").arg(i)) : mp3(i, 4 + i % 8));
        if (i % 10 == 0)
            lines << "\\sdmemory\\" + QString(folder + (i % 100 == 0 ? "gone " : "") + name).replace('/', '\\') + "^0^32767";
    }
    drive.addPlaylist("All.pls", lines);

    Operations ops;
    ops.state.currentLanguage = 1;
    ops.health();   // warms the cache
    const int found = ops.healthReport.songs;
    QVector<double> seconds, cpu;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        const double cpuBefore = cpuSeconds();
        clock.start();
        ops.health();
        seconds << clock.nsecsElapsed() / 1e9;
        cpu << cpuSeconds() - cpuBefore;
    }
    std::sort(seconds.begin(), seconds.end());
    std::sort(cpu.begin(), cpu.end());
    QVector<double> plain;
    for (int run = 0; run < 5; ++run)
        plain << plainRead(drive.root()) / 1e9;
    std::sort(plain.begin(), plain.end());
    const double median = seconds.at(seconds.size() / 2);
    const long peak = peakMiB();
    std::printf("%d threads in the pool\n", QThreadPool::globalInstance()->maxThreadCount());
    std::printf("health check, %d songs (%d found), %d dead playlist lines: median %.2f s (min %.2f, max %.2f) of 5 runs\n",
                songs, found, ops.healthReport.finding(health::Kind::DeadLine).items.size(), median, seconds.first(),
                seconds.last());
    std::printf("baseline, one thread reading every file's head: median %.2f s (check / baseline %.1f)\n", plain.at(2),
                median / plain.at(2));
    std::printf("CPU time (all threads): median %.2f s; load average when done: %s", cpu.at(cpu.size() / 2), loadAverage().constData());
    std::printf("peak memory %ld MiB\n", peak);
    const bool met = median < 3.0 && peak < 200;
    std::printf("goal (< 3 s, < 200 MB): %s\n", met ? "met" : "missed");
    return 0;
}
