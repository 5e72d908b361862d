// Library scan speed, in wall time, against a plain walk of the same tree in the same run.
//
//   bench_scan [folders files-per-folder]...   default: 22 136, then 220 136 (3,000 and 30,000 files)
//
// Each drive holds songs, companions, images and junk spread over its folders and a few files in
// its root. Baselines: a QDirIterator walk that stats every entry, and `find -type f`. The scan
// is timed after a first walk has warmed the cache, so all three read the same cached tree. The
// window's events are processed during the scan as in the program; nothing waits.
#include "device/devicedrive.h"
#include "optimise/libraryscan.h"
#include "tests/common/drivefixture.h"
#include "bench/memory.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

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

void makeDrive(DriveFixture &drive, int folders, int perFolder)
{
    static const char *const kinds[] = {".mp3", ".mid", ".kar", ".mp3.bak", ".jpg", ".txt", ".exe", ".mf3"};
    for (int i = 0; i < 6; ++i)
        drive.writeFile(QStringLiteral("root%1%2").arg(i).arg(kinds[i % 8]), "r");
    for (int f = 0; f < folders; ++f)
        for (int i = 0; i < perFolder; ++i)
            drive.writeFile(QStringLiteral("Genre%1/Artist%2/song%3%4").arg(f % 10).arg(f).arg(i).arg(kinds[i % 8]), "x");
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
    return clock.elapsed();
}

qint64 findWalk(const QString &root)
{
    QElapsedTimer clock;
    clock.start();
    QProcess find;
    find.start(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f")});
    find.waitForFinished(120000);
    find.readAllStandardOutput();
    return clock.elapsed();
}

void measure(int folders, int perFolder)
{
    DriveFixture drive;
    makeDrive(drive, folders, perFolder);
    int files = 0;
    plainWalk(drive.root(), &files);   // warms the cache for everyone
    const qint64 walk = plainWalk(drive.root(), &files);
    const qint64 find = findWalk(drive.root());

    OperationState state;
    ScriptedDialogs dialogs;
    dialogs.answer("Ok");
    RecordingProgress progress;
    OperationContext ctx{state, dialogs, progress, nullptr, findDeviceDrive()};
    LibraryScanState scan;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    LibraryScanner(ctx, scan).scanLibrary();
    const qint64 wall = clock.elapsed();
    const double cpu = cpuSeconds() - cpuBefore;

    std::printf("%d files in %d folders (+ root): %d songs, %d images, %d unsupported\n", files, folders + 10,
                int(scan.librarySongs.size()), int(scan.imagesToMove.size()), int(scan.unsupportedFiles.size()));
    std::printf("  scan wall %6lld ms  cpu %6.0f ms   plain walk %5lld ms   find %5lld ms   scan/walk %.1f\n", wall,
                cpu * 1000, walk, find, walk > 0 ? double(wall) / double(walk) : 0.0);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QList<QPair<int, int>> sizes;
    for (int i = 1; i + 1 < argc; i += 2)
        sizes << qMakePair(std::atoi(argv[i]), std::atoi(argv[i + 1]));
    if (sizes.isEmpty())
        sizes = {{22, 136}, {220, 136}};
    for (const auto &size : sizes)
        measure(size.first, size.second);
    std::printf("peak memory %ld MiB\n", benchmemory::peakKiB() / 1024);
    return 0;
}
