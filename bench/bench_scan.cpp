// Library scan cost on a generated drive, apart from its 200 ms waits.
//
//   bench_scan [folders, default 200] [files per folder, default 150] [root files, default 5]
//
// The scan waits 200 ms per folder and per root file by design; those waits are wall time and
// say nothing about the scan's own cost. The CPU time (user + system, getrusage) is therefore
// split at the waits: a wait starts when the scanner repaints the bar and ends with the last
// event-loop wake-up before the scanner's next repaint. Baselines in the same run: a plain
// QDirIterator walk that stats every entry, and `find -type f` over the same tree.
#include "device/devicedrive.h"
#include "optimise/libraryscan.h"
#include "tests/common/drivefixture.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds(int who = RUSAGE_SELF)
{
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Peak resident memory in KiB since the last reset; the reset makes the figure the scan's own.
long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toLong();
    }
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// Splits the CPU time at the scanner's waits (see the header comment).
class WaitAccounting : public RecordingProgress {
public:
    double waitStart = 0, lastWake = 0, waitCpu = 0;
    bool inWait = false;
    int waits = 0;

    void markWait()
    {

        closeWait();
        waitStart = lastWake = cpuSeconds();
        inWait = true;
        ++waits;
    }
    void wake()
    {
        if (inWait)
            lastWake = cpuSeconds();
    }
    void closeWait()
    {
        if (inWait)
            waitCpu += lastWake - waitStart;
        inWait = false;
    }
};

int makeDrive(DriveFixture &drive, int folders, int perFolder, int rootFiles)
{
    static const char *const kinds[] = {".mp3", ".mid", ".kar", ".mp3", ".mf3", ".cdg", ".mp3.bak",
                                        ".jpg", ".txt", ".exe", ".mp3", ".midi", ".png", ".doc"};
    const QByteArray body(512, 'x');
    int files = 0;
    auto write = [&](const QString &relative) {
        drive.writeFile(relative, body);
        ++files;
    };
    for (int i = 0; i < rootFiles; ++i)
        write(QStringLiteral("root%1%2").arg(i).arg(QLatin1String(kinds[i % 14])));
    // Ten folders per group: a two-level library as players keep it.
    for (int f = 0; f < folders; ++f) {
        const QString folder = QStringLiteral("Group %1/Folder %2/").arg(f / 10).arg(f);
        for (int i = 0; i < perFolder; ++i)
            write(folder + QStringLiteral("song %1%2").arg(i, 5, 10, QLatin1Char('0')).arg(QLatin1String(kinds[i % 14])));
        if (f % 50 == 0)
            write(folder + QString(195, QLatin1Char('L')) + QStringLiteral(".mp3"));   // a name to shorten
    }
    drive.addSystemFiles();
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int folders = argc > 1 ? atoi(argv[1]) : 200;
    const int perFolder = argc > 2 ? atoi(argv[2]) : 150;
    const int rootFiles = argc > 3 ? atoi(argv[3]) : 5;

    DriveFixture drive;
    const int files = makeDrive(drive, folders, perFolder, rootFiles);
    const int groups = (folders + 9) / 10;
    std::printf("drive: %d files in %d folders (+%d root files)\n", files, folders + groups, rootFiles);

    // Baseline 1: the cheapest way to see every entry of the tree in this process.
    double cpu0 = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    int seen = 0;
    QDirIterator it(drive.root(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        seen += it.fileInfo().isFile() ? 1 : 0;
    }
    const double walkCpu = cpuSeconds() - cpu0;
    const double walkWall = clock.elapsed() / 1000.0;

    // Baseline 2: find over the same tree.
    const double childCpu0 = cpuSeconds(RUSAGE_CHILDREN);
    clock.restart();
    QProcess find;
    find.start(QStringLiteral("find"), {drive.root(), QStringLiteral("-type"), QStringLiteral("f")});
    find.waitForFinished(120000);
    const int found = find.readAllStandardOutput().count('\n');
    const double findCpu = cpuSeconds(RUSAGE_CHILDREN) - childCpu0;
    const double findWall = clock.elapsed() / 1000.0;

    OperationState state;
    ScriptedDialogs dialogs;
    dialogs.answer(QStringLiteral("Ok"));
    WaitAccounting progress;
    OperationContext ctx{state, dialogs, progress, nullptr, [] { return findDeviceDrive(); }};
    LibraryScanState scan;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                     [&progress] { progress.wake(); });

    resetPeak();
    const long peakBefore = peakKiB();
    cpu0 = cpuSeconds();
    clock.restart();
    LibraryScanner(ctx, scan).scanLibrary();
    progress.closeWait();
    const double scanWall = clock.elapsed() / 1000.0;
    const double scanCpu = cpuSeconds() - cpu0;
    const long peakAfter = peakKiB();

    const double ownCpu = scanCpu - progress.waitCpu;
    std::printf("scan: %d songs, %d images, %d unsupported, %d oversized\n", int(scan.librarySongs.size()),
                int(scan.imagesToMove.size()), int(scan.unsupportedFiles.size()), int(scan.oversizedFolders.size()));
    std::printf("scan wall %.2f s, of which %d mandated waits of 200 ms = %.1f s\n", scanWall, progress.waits,
                progress.waits * 0.2);
    std::printf("scan CPU (user+sys) outside the waits: %.3f s = %.1f us per file\n", ownCpu,
                ownCpu * 1e6 / qMax(1, files));
    std::printf("scan CPU inside the waits (event pumping): %.2f s\n", progress.waitCpu);
    std::printf("baseline QDirIterator walk: %d files, CPU %.3f s, wall %.3f s; scan/walk CPU ratio %.1f\n", seen,
                walkCpu, walkWall, walkCpu > 0 ? ownCpu / walkCpu : 0.0);
    std::printf("baseline find -type f: %d files, CPU %.3f s, wall %.3f s; scan/find CPU ratio %.1f\n", found,
                findCpu, findWall, findCpu > 0 ? ownCpu / findCpu : 0.0);
    std::printf("peak resident memory during the scan: %ld KiB (%ld KiB before it)\n", peakAfter, peakBefore);
    return 0;
}
