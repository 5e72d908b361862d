// Library scan speed, in wall time, against a plain walk and `find` of the same tree in the same
// run, medians of several runs each.
//
//   bench_scan [--runs N] [folders files-per-folder]...   default: 22 136, then 220 136 (3,000 and 30,000 files)
//   bench_scan --make FOLDER folders files-per-folder    builds such a tree in FOLDER, and ends
//   bench_scan --scan FOLDER                             one scan of FOLDER as the player's drive, nothing
//                                                        else (for `strace -c`)
//
// Each drive holds songs, companions, images and junk spread over its folders and a few files in
// its root. Baselines: a QDirIterator walk that stats every entry, and `find -type f`. Everything
// is timed after a first walk has warmed the cache, so all read the same cached tree. The window's
// events are processed during the scan as in the program; nothing waits. The goal: a scan of
// 30,000 files within 2x `find`.
#include "device/devicedrive.h"
#include "optimise/libraryscan.h"
#include "tests/common/drivefixture.h"
#include "bench/memory.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

template <typename T> T median(QVector<T> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? T() : values.at(values.size() / 2);
}

void makeTree(const QString &root, int folders, int perFolder)
{
    static const char *const kinds[] = {".mp3", ".mid", ".kar", ".mp3.bak", ".jpg", ".txt", ".exe", ".mf3"};
    const auto write = [&](const QString &relative, const QByteArray &content) {
        const QString path = root + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        f.open(QIODevice::WriteOnly) && f.write(content);
    };
    for (int i = 0; i < 6; ++i)
        write(QStringLiteral("root%1%2").arg(i).arg(kinds[i % 8]), "r");
    for (int f = 0; f < folders; ++f)
        for (int i = 0; i < perFolder; ++i)
            write(QStringLiteral("Genre%1/Artist%2/song%3%4").arg(f % 10).arg(f).arg(i).arg(kinds[i % 8]), "x");
}

qint64 plainWalk(const QString &root, int *files)
{
    QElapsedTimer clock;
    clock.start();
    *files = 0;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isFile())
            ++*files;
    }
    return clock.nsecsElapsed() / 1000;
}

qint64 findWalk(const QString &root)
{
    QElapsedTimer clock;
    clock.start();
    QProcess find;
    find.start(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f")});
    find.waitForFinished(120000);
    find.readAllStandardOutput();
    return clock.nsecsElapsed() / 1000;
}

struct Scan {
    qint64 wallUs = 0;
    double cpu = 0;
    LibraryScanState state;
};

// One scan of the drive the environment presents, as the optimisation runs it.
void scanOnce(Scan &scan)
{
    OperationState state;
    ScriptedDialogs dialogs;
    dialogs.answer("Ok");
    RecordingProgress progress;
    OperationContext ctx{state, dialogs, progress, nullptr, findDeviceDrive()};
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    LibraryScanner(ctx, scan.state).scanLibrary();
    scan.wallUs = clock.nsecsElapsed() / 1000;
    scan.cpu = cpuSeconds() - cpuBefore;
}

void measure(int folders, int perFolder, int runs)
{
    DriveFixture drive;
    makeTree(drive.dir.path(), folders, perFolder);
    int files = 0;
    plainWalk(drive.root(), &files);   // warms the cache for everyone
    QVector<qint64> walks, finds, scans;
    QVector<double> cpus;
    Scan last;
    for (int run = 0; run < runs; ++run) {   // interleaved, so a neighbour's load falls on all three alike
        walks << plainWalk(drive.root(), &files);
        finds << findWalk(drive.root());
        Scan scan;
        scanOnce(scan);
        scans << scan.wallUs;
        cpus << scan.cpu;
        last = scan;
    }
    const double scan = median(scans) / 1000.0, walk = median(walks) / 1000.0, find = median(finds) / 1000.0;
    std::printf("%d files in %d folders (+ root): %d songs, %d images, %d unsupported; medians of %d runs\n", files,
                folders + 10, int(last.state.librarySongs.size()), int(last.state.imagesToMove.size()),
                int(last.state.unsupportedFiles.size()), runs);
    std::printf("  scan wall %7.1f ms  cpu %6.1f ms   plain walk %6.1f ms   find %6.1f ms   scan/walk %.1f   scan/find %.2f\n",
                scan, median(cpus) * 1000, walk, find, walk > 0 ? scan / walk : 0.0, find > 0 ? scan / find : 0.0);
    if (files >= 30000)
        std::printf("  goal: scan of 30,000 files <= 2x find: %s (%.2fx)\n", scan <= 2 * find ? "met" : "MISSED",
                    find > 0 ? scan / find : 0.0);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("--make") && args.size() == 4) {
        makeTree(args.at(1), args.at(2).toInt(), args.at(3).toInt());
        return 0;
    }
    if (args.value(0) == QLatin1String("--scan") && args.size() == 2) {
        qputenv("CORVEL3_VOLUMES", "corvel3=" + QFile::encodeName(QDir(args.at(1)).absolutePath()));
        Scan scan;
        scanOnce(scan);
        std::printf("scanned: %d songs, %d images, %d unsupported in %.1f ms\n", int(scan.state.librarySongs.size()),
                    int(scan.state.imagesToMove.size()), int(scan.state.unsupportedFiles.size()), scan.wallUs / 1000.0);
        return 0;
    }
    int runs = 7;
    QList<QPair<int, int>> sizes;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--runs") && i + 1 < args.size())
            runs = std::max(1, args.at(++i).toInt());
        else if (i + 1 < args.size())
            sizes << qMakePair(args.at(i).toInt(), args.at(i + 1).toInt()), ++i;
    }
    if (sizes.isEmpty())
        sizes = {{22, 136}, {220, 136}};
    for (const auto &size : sizes)
        measure(size.first, size.second, runs);
    std::printf("peak memory %ld MiB\n", benchmemory::peakKiB() / 1024);
    return 0;
}
