// Backup and restore through the copy engine against `cp -r` of the same tree, in the same run.
// Prints the times, their ratio and each run's peak memory (ru_maxrss), for a library of larger
// songs and for one of many small files, to show memory does not grow with the count. The backup
// hashes every file for its manifest; the restore checks every file against it first, then
// copies. A line with the SHA-256 of the tree alone shows what the hashing costs by itself, and
// the "durable" line sets the same backup against `cp -r` followed by `sync -f` of its file system.
//
//   bench_backup [--files N] [--megabytes M] [--rounds R] [--incremental only] [--slow]
//
// Then the second backup of the unchanged library (hard links to the first) against the second
// `rsync -a`, the disk it adds (du), and verify --read-data against `sha256sum -c`; with --slow
// (as root) the first backup against `cp -r` from a source read at 30 MB/s. Each goal row says
// whether it is met.
//
// It works in TMPDIR (or /tmp); TMPDIR=/dev/shm measures on tmpfs, free of the disk's noise.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"
#include "transfer/backup.h"
#include "transfer/backupmanifest.h"
#include "transfer/copyengine.h"
#include "transfer/restore.h"
#include "core/operationcontext.h"
#include "bench/throttledsource.h"

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A player library: songs in folders of 200 with companions, a few playlists, the system.
qint64 makeLibrary(const QString &root, int files, qint64 totalBytes)
{
    QDir().mkpath(root + "/System/Corvel");
    QDir().mkpath(root + "/System/Playlist");
    QFile(root + "/AUTOEXEC.BAT").open(QIODevice::WriteOnly);
    const qint64 average = totalBytes / files;
    QByteArray block(int(std::min<qint64>(average * 3, 8 << 20)), Qt::Uninitialized);
    for (int i = 0; i < block.size(); ++i)
        block[i] = char((i * 131 + i / 4096) & 0xff);
    qint64 written = 0;
    for (int i = 0; i < files; ++i) {
        const QString folder = QStringLiteral("%1/Basi %2").arg(root).arg(i / 200, 3, 10, QLatin1Char('0'));
        if (i % 200 == 0)
            QDir().mkpath(folder);
        // Sizes from a fifth of the average to about twice it.
        const qint64 size = average / 5 + (qint64(i) * 7919 % 18) * average / 10;
        const char *ext = (i % 5 == 0) ? "cdg" : (i % 3 == 0) ? "mid" : "mp3";
        QFile f(QStringLiteral("%1/song %2.%3").arg(folder).arg(i, 5, 10, QLatin1Char('0')).arg(QLatin1String(ext)));
        f.open(QIODevice::WriteOnly);
        qint64 left = std::min<qint64>(size, block.size());
        f.write(block.constData() + (i % 64), left - (i % 64));
        written += left - (i % 64);
    }
    for (int p = 0; p < 10; ++p) {
        QFile f(QStringLiteral("%1/System/Playlist/list%2.pls").arg(root).arg(p));
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(4000, 'p'));
    }
    return written;
}

// What a child mode runs the engine with: no window, every question answered from the queue.
struct ChildRig {
    explicit ChildRig(const QString &drive) : ctx{state, dialogs, progress, nullptr, drive + "/"} {}
    OperationState state;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    OperationContext ctx;
    QElapsedTimer clock;

    // Prints "<milliseconds> <peak KiB> <1 when it went as it should>" for the parent to read.
    int report(bool ok, bool asExpected)
    {
        std::printf("%lld %ld %d\n", static_cast<long long>(clock.elapsed()), peakKilobytes(), ok && asExpected ? 1 : 0);
        return ok ? 0 : 1;
    }
};

// Child mode: one backup of root into destination.
int runBackupChild(const QString &root, const QString &destination)
{
    ChildRig rig(root);
    for (int i = 0; i < 4; ++i)
        rig.dialogs.answer("Ok");   // the count question
    rig.clock.start();
    const bool ok = transfer::backupToFolder(rig.ctx, root + "/", destination);
    return rig.report(ok, rig.dialogs.prompts.size() <= 1);
}

// Child mode: a backup into a new dated folder inside destination, beside the ones before: the
// second of an unchanged library links every song to the first.
int runDatedBackupChild(const QString &root, const QString &destination)
{
    ChildRig rig(root);
    for (int i = 0; i < 4; ++i)
        rig.dialogs.answer("Ok");
    rig.clock.start();
    const transfer::BackupReport report = transfer::backUp(rig.ctx, root + "/", destination);
    return rig.report(report.copied && report.notSaved == 0, true);
}

// Child mode: every byte of a backup against its manifest (verify --read-data).
int runVerifyChild(const QString &backup)
{
    ChildRig rig(backup);
    rig.clock.start();
    return rig.report(backupmanifest::verify(backup).ok(), true);
}

// Child mode: one restore of backup onto the empty folder drive.
int runRestoreChild(const QString &backup, const QString &drive)
{
    ChildRig rig(drive);
    rig.clock.start();
    const bool ok = transfer::restoreFromFolder(rig.ctx, backup, drive + "/");
    return rig.report(ok, rig.dialogs.prompts.isEmpty());
}

// Child mode: the backup's listing and copy without the hashing, the engine's own cost.
int runCopyChild(const QString &root, const QString &destination)
{
    ChildRig rig(root);
    rig.clock.start();
    bool stopped = false;
    const QStringList files = transfer::backupList(rig.ctx, root + "/", &stopped);
    const transfer::CopyReport report = transfer::copyFiles(rig.ctx, files, destination + "/", root + "/");
    rig.report(report.result, true);
    return 0;
}

// Child mode: the SHA-256 of every file below root, the hashing's own cost.
int runHashChild(const QString &root)
{
    QElapsedTimer clock;
    clock.start();
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        backupmanifest::fileSha256(it.next());
    std::printf("%lld %ld 1\n", static_cast<long long>(clock.elapsed()), peakKilobytes());
    return 0;
}

// Each timed run starts with nothing left to write back from the one before.
void settle()
{
    QProcess::execute("sync", {});
}

// User and system time of the finished children so far. On a shared machine the wall time
// swings with the neighbours' load; the processor time each side spends swings much less.
qint64 childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return qint64(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

qint64 lastCpuMs = 0;   // of the last timed child

// A baseline program's wall time; -1 when it failed.
qint64 timeProgram(const QString &program, const QStringList &arguments, const QString &workingFolder = QString())
{
    settle();
    const qint64 cpu = childrenCpuMs();
    QElapsedTimer clock;
    clock.start();
    QProcess child;
    child.setWorkingDirectory(workingFolder);
    child.start(program, arguments);
    child.waitForFinished(-1);
    const qint64 ms = clock.elapsed();
    lastCpuMs = childrenCpuMs() - cpu;
    return child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 ? ms : -1;
}

qint64 timeCopy(const QString &root, const QString &destination)
{
    return timeProgram("cp", {"-r", root, destination});
}

// The disk a folder takes, as du counts it (a file with several names once).
qint64 diskKilobytes(const QString &folder)
{
    QProcess du;
    du.start("du", {"-sk", folder});
    du.waitForFinished(-1);
    return du.readAllStandardOutput().split('\t').value(0).toLongLong();
}

void goal(const char *what, double value, double limit, const char *unit)
{
    std::printf("goal %-52s %6.2f%s (limit %.2f%s): %s\n", what, value, unit, limit, unit, value <= limit ? "met" : "MISSED");
    std::fflush(stdout);
}

struct ChildResult {
    qint64 ms = -1;
    qint64 cpuMs = 0;
    long peak = 0;
    bool ok = false;
};

ChildResult timeChild(const QStringList &arguments)
{
    settle();
    const qint64 cpu = childrenCpuMs();
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), arguments);
    child.waitForFinished(-1);
    lastCpuMs = childrenCpuMs() - cpu;
    ChildResult r;
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() == 3) {
        r.ms = fields[0].toLongLong();
        r.peak = fields[1].toLong();
        r.ok = fields[2] == "1";
    }
    r.cpuMs = lastCpuMs;
    return r;
}

qint64 median(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

struct Series {
    QList<qint64> engine, baseline, engineCpu, baselineCpu;
    long peak = 0;
    bool ok = true;
    void add(const ChildResult &c, qint64 cp, qint64 cpCpu)
    {
        engine << c.ms;
        baseline << cp;
        engineCpu << c.cpuMs;
        baselineCpu << cpCpu;
        peak = std::max(peak, c.peak);
        ok = ok && c.ok;
    }
    double ratio() const
    {
        const qint64 c = median(baseline);
        return c > 0 ? double(median(engine)) / double(c) : 0.0;
    }
    void print(const char *what, const QString &label, int files, double megabytes, const char *versus = "cp -r") const
    {
        const qint64 e = median(engine), c = median(baseline);
        const qint64 eBest = *std::min_element(engine.begin(), engine.end());
        const qint64 cBest = *std::min_element(baseline.begin(), baseline.end());
        std::printf("%-7s %-5s %6d files %6.1f MB | best: %5lld / %s: %5lld ms, ratio %.2f | median: %5lld / %5lld ms, "
                    "ratio %.2f | cpu median: %5lld / %5lld ms, ratio %.2f | peak RSS %ld KiB%s\n",
                    what, qPrintable(label), files, megabytes, static_cast<long long>(eBest), versus, static_cast<long long>(cBest),
                    cBest > 0 ? double(eBest) / double(cBest) : 0.0, static_cast<long long>(e),
                    static_cast<long long>(c), c > 0 ? double(e) / double(c) : 0.0, static_cast<long long>(median(engineCpu)),
                    static_cast<long long>(median(baselineCpu)),
                    median(baselineCpu) > 0 ? double(median(engineCpu)) / double(median(baselineCpu)) : 0.0, peak,
                    ok ? "" : " | FAILED");
        std::fflush(stdout);
    }
};

void compare(const QString &label, const QString &work, int files, qint64 bytes, int rounds)
{
    const QString root = work + "/drive-" + label;
    const qint64 written = makeLibrary(root, files, bytes);
    Series backup, restore, copy, durable;
    QList<qint64> hashing;
    // Every run writes into folders of its own, removed when the round ends (kept, they would
    // fill the memory and slow every later run). On ext4 a tree created right after another was
    // deleted pays for the allocator's search past the freed inodes: who goes first alternates.
    for (int round = 0; round < rounds; ++round) {
        const QString here = QStringLiteral("%1/round%2-%3").arg(work, label).arg(round);
        const QString a = here + "/backup", b = here + "/copy", r = here + "/restored", c = here + "/copy-back",
                      e = here + "/engine-copy", b2 = here + "/copy2", b3 = here + "/copy-synced";
        QDir().mkpath(a);
        QDir().mkpath(r);
        QDir().mkpath(e);
        // Alternate who goes first so neither always meets a warmer cache.
        const bool engineFirst = round % 2 == 0;
        // cp -r before or after the engine, by the round.
        const auto measure = [&](Series &series, const QStringList &engineArguments, const QString &from, const QString &to) {
            qint64 cp = -1, cpCpu = 0;
            if (!engineFirst) {
                cp = timeCopy(from, to);
                cpCpu = lastCpuMs;
            }
            const ChildResult child = timeChild(engineArguments);
            if (engineFirst) {
                cp = timeCopy(from, to);
                cpCpu = lastCpuMs;
            }
            series.add(child, cp, cpCpu);
            return child;
        };
        const ChildResult backedUp = measure(backup, {"--child", root, a}, root, b);
        // The same backup against `cp -r` followed by a flush of its file system: the backup says
        // "complete" only once its files are on the disk, which a plain `cp -r` never waits for.
        const qint64 synced = timeProgram("sh", {"-c", "cp -r \"$1\" \"$2\" && sync -f \"$2\"", "sh", root, b3});
        durable.add(backedUp, synced, lastCpuMs);
        measure(restore, {"--restore", a, r}, a, c);
        hashing << timeChild({"--hash", root}).ms;
        measure(copy, {"--copy", root, e}, root, b2);
        QDir(here).removeRecursively();
    }
    QDir(root).removeRecursively();
    backup.print("backup", label, files, written / 1048576.0);
    restore.print("restore", label, files, written / 1048576.0);
    copy.print("copy", label, files, written / 1048576.0);
    durable.print("durable", label, files, written / 1048576.0, "cp+sync");
    std::printf("hashing %-5s alone, median %lld ms\n", qPrintable(label), static_cast<long long>(median(hashing)));
    std::fflush(stdout);
    if (label == QLatin1String("songs"))
        goal("first backup / cp -r, warm cache", backup.ratio(), 1.3, "x");
}

// The newest dated backup inside folder.
QString newestBackup(const QString &folder)
{
    const QStringList made = QDir(folder).entryList({"Corvel3 backup *"}, QDir::Dirs, QDir::Name);
    return made.isEmpty() ? QString() : folder + "/" + made.last();
}

// The second backup of an unchanged library against the second `rsync -a` of it, with the disk
// the second backup adds; then every byte of that backup against its manifest, against
// `sha256sum -c` of the same files.
void compareIncremental(const QString &label, const QString &work, int files, qint64 bytes, int rounds)
{
    const QString root = work + "/drive-" + label;
    const qint64 written = makeLibrary(root, files, bytes);
    Series second, verify;
    QList<qint64> extraDisk;   // in hundredths of a percent of the first backup
    for (int round = 0; round < rounds; ++round) {
        const QString here = QStringLiteral("%1/incr%2-%3").arg(work, label).arg(round);
        const QString backups = here + "/backups", mirror = here + "/rsync/";
        QDir().mkpath(backups);
        QDir().mkpath(mirror);
        const bool engineFirst = round % 2 == 0;
        // The first of each, untimed.
        bool ok = timeChild({"--dated", root, backups}).ok && timeProgram("rsync", {"-a", root + "/", mirror}) >= 0;
        const qint64 firstDisk = diskKilobytes(backups);
        qint64 rsync = -1, rsyncCpu = 0;
        if (!engineFirst) {
            rsync = timeProgram("rsync", {"-a", root + "/", mirror});
            rsyncCpu = lastCpuMs;
        }
        ChildResult again = timeChild({"--dated", root, backups});
        if (engineFirst) {
            rsync = timeProgram("rsync", {"-a", root + "/", mirror});
            rsyncCpu = lastCpuMs;
        }
        again.ok = again.ok && ok && rsync >= 0;
        second.add(again, rsync, rsyncCpu);
        extraDisk << (diskKilobytes(backups) - firstDisk) * 10000 / std::max<qint64>(1, firstDisk);

        // sha256sum -c reads the manifest's hashes as its own list.
        const QString newest = newestBackup(backups), sums = here + "/sums";
        bool found = false;
        QFile list(sums);
        list.open(QIODevice::WriteOnly);
        for (const backupmanifest::Entry &e : backupmanifest::read(newest, &found))
            list.write(e.sha256 + "  " + e.path.toUtf8() + "\n");
        list.close();
        qint64 sha = -1, shaCpu = 0;
        if (!engineFirst) {
            sha = timeProgram("sha256sum", {"-c", "--quiet", sums}, newest);
            shaCpu = lastCpuMs;
        }
        ChildResult checked = timeChild({"--verify", newest});
        if (engineFirst) {
            sha = timeProgram("sha256sum", {"-c", "--quiet", sums}, newest);
            shaCpu = lastCpuMs;
        }
        checked.ok = checked.ok && found && sha >= 0;
        verify.add(checked, sha, shaCpu);
        QDir(here).removeRecursively();
    }
    QDir(root).removeRecursively();
    second.print("second", label, files, written / 1048576.0, "rsync -a");
    verify.print("verify", label, files, written / 1048576.0, "sha256sum -c");
    const qint64 extra = median(extraDisk);
    std::printf("disk    %-5s the second backup adds %lld.%02lld %% of the first (du), median\n", qPrintable(label),
                static_cast<long long>(extra / 100), static_cast<long long>(extra % 100));
    goal("second backup, unchanged / second rsync -a", second.ratio(), 1.5, "x");
    goal("disk the second backup adds", double(extra) / 100.0, 2.0, " %");
    goal("verify --read-data / sha256sum -c", verify.ratio(), 1.2, "x");
}

// The first backup against `cp -r` from a source read at 30 MB/s, a player's USB-2 pace: the
// drive is bench_stop's throttled image (as root), every file's cached pages dropped before each
// run. Without the throttle the row is left out, saying why.
void compareThrottled(const QString &work, int files, qint64 bytes, int rounds)
{
    const QString place = work + "/throttled";
    QDir().mkpath(place);
    throttle::Source source(place, bytes + (qint64(files) << 13), 30 * 1000 * 1000);
    if (source.limitedBy.isEmpty()) {
        std::printf("slow    the 30 MB/s source could not be set up (%s): row left out\n", qPrintable(source.whyNotLimited()));
        std::fflush(stdout);
        return;
    }
    const qint64 written = makeLibrary(source.root, files, bytes);
    QStringList all;
    QDirIterator it(source.root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        all << it.next();
    const auto cold = [&] {
        settle();
        for (const QString &file : all)
            throttle::dropCached(file);
    };
    Series first;
    for (int round = 0; round < rounds; ++round) {
        const QString here = QStringLiteral("%1/slow%2").arg(work).arg(round), a = here + "/backup", b = here + "/copy";
        QDir().mkpath(a);
        ChildResult child;
        qint64 cp = -1, cpCpu = 0;
        for (int side = 0; side < 2; ++side) {
            cold();
            if ((side == 0) == (round % 2 == 0)) {
                child = timeChild({"--child", source.root, a});
            } else {
                cp = timeCopy(source.root, b);
                cpCpu = lastCpuMs;
            }
        }
        first.add(child, cp, cpCpu);
        QDir(here).removeRecursively();
    }
    std::printf("source read at 30 MB/s through %s\n", qPrintable(source.limitedBy));
    first.print("slow", "songs", files, written / 1048576.0);
    goal("first backup / cp -r, source at 30 MB/s", first.ratio(), 1.05, "x");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "--child")
        return runBackupChild(args[2], args[3]);
    if (args.size() == 4 && args[1] == "--restore")
        return runRestoreChild(args[2], args[3]);
    if (args.size() == 4 && args[1] == "--copy")
        return runCopyChild(args[2], args[3]);
    if (args.size() == 3 && args[1] == "--hash")
        return runHashChild(args[2]);
    if (args.size() == 4 && args[1] == "--dated")
        return runDatedBackupChild(args[2], args[3]);
    if (args.size() == 3 && args[1] == "--verify")
        return runVerifyChild(args[2]);

    int files = 3000, megabytes = 300, rounds = 5;
    bool onlyIncremental = false;
    const QStringList paired = QStringList(args).filter(QRegularExpression("^(?!--slow$)"));
    for (int i = 1; i + 1 < paired.size(); i += 2) {
        const QStringList &args = paired;
        if (args[i] == "--files") files = args[i + 1].toInt();
        else if (args[i] == "--megabytes") megabytes = args[i + 1].toInt();
        else if (args[i] == "--rounds") rounds = args[i + 1].toInt();
        else if (args[i] == "--incremental") onlyIncremental = args[i + 1] == "only";
    }
    QTemporaryDir work;
    if (!work.isValid())
        return 1;
    std::printf("medians of %d rounds, warm page cache, same file system, sync before each run\n"
                "backup: listing, copy and SHA-256 manifest; restore: manifest check of every byte, then copy;\n"
                "copy: the backup's listing and copy without hashing\n", rounds);
    if (!onlyIncremental) {
        compare("songs", work.path(), files, qint64(megabytes) << 20, rounds);
        compare("many", work.path(), files * 4, qint64(megabytes / 6) << 20, rounds);
    }
    std::printf("second: a second backup of the unchanged library beside the first (incremental), against the\n"
                "second rsync -a into the same mirror; verify: every byte of it against its manifest\n");
    compareIncremental("songs", work.path(), files, qint64(megabytes) << 20, rounds);
    if (args.contains("--slow"))
        compareThrottled(work.path(), files, qint64(megabytes) << 20, rounds);
    return 0;
}
