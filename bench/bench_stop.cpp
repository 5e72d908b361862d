// Stop and progress inside one long song. A real backup through the runner (Operations, worker
// thread on, the drive presented through CORVEL3_VOLUMES) of a drive holding one 200 MB song read
// from a source limited to 30 MB/s, as a player's USB-2 link gives it. Two runs: one to the end
// and one stopped at about 2 s. Prints, for each, the longest gap between progress changes seen on
// the front end's thread, and the time from Stop to the end of the run; both should stay within
// half a second. The baseline: `dd` reading the same song at the same limit.
//
//   bench_stop [--megabytes M] [--rate MBps] [--stop-after ms]
//
// The limit, as root: the drive is an ext4 image loop-mounted in TMPDIR (or /tmp), its loop device
// limited by the kernel's block throttle (cgroup v2 io.max where the io controller is on, else the
// v1 blkio.throttle.read_bps_device), this process moved into that cgroup, the song's cached pages
// dropped before each read. Otherwise it says the limit could not be set and measures at full
// speed. It prints figures only: nothing here judges a time.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "operations/operations.h"
#include "tests/common/scripteddialogs.h"
#include "bench/throttledsource.h"

namespace {

using namespace throttle;

// One song of bytes, written and pushed to the disk so its pages can be dropped.
QString writeSong(const QString &root, qint64 bytes)
{
    QDir().mkpath(root + "/System/Playlist");
    writeText(root + "/AUTOEXEC.BAT", "");
    writeText(root + "/System/Playlist/list.pls", "Basi\\song.mp3\r\n");
    QDir().mkpath(root + "/Basi");
    const QString song = root + "/Basi/song.mp3";
    QFile f(song);
    f.open(QIODevice::WriteOnly);
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 done = 0; done < bytes; done += block.size()) {
        for (int i = 0; i < block.size(); i += 4)
            *reinterpret_cast<quint32 *>(block.data() + i) = quint32(done + i);
        f.write(block.constData(), std::min<qint64>(block.size(), bytes - done));
    }
    f.flush();
    ::fsync(f.handle());
    return song;
}

// The front end: every progress change, timed on the thread it arrives on.
class TimedProgress : public ProgressView {
public:
    QElapsedTimer clock;
    QList<qint64> at;   // ns since the run's start
    bool offThread = false;
    QString lastBytes;   // the last bar format that showed a file's MB

protected:
    void changed(Change what) override
    {
        at << clock.nsecsElapsed();
        offThread = offThread || QThread::currentThread() != qApp->thread();
        if (what == Change::Format && format().contains("MB"))
            lastBytes = format();
    }
};

struct RunFigures {
    QString result;
    qint64 runNs = 0, longestGapNs = 0, gapFromNs = 0, stopToEndNs = -1;
    int events = 0;
    QString format;
    bool offThread = false;
    QStringList left;   // what the backup folder holds afterwards
};

RunFigures backUp(const QString &song, const QString &folder, int stopAfterMs)
{
    ScriptedDialogs dialogs;
    dialogs.answer("Ok");   // "Fatto", when it runs to the end
    TimedProgress view;
    Operations ops(Operations::FrontEnd{&dialogs, &view, nullptr});
    ops.state.currentLanguage = 1;
    QDir().mkpath(folder);
    dropCached(song);

    // Pressed on the front end's thread, as the window's Stop button is; gone with the run.
    qint64 stopAt = -1;
    QTimer stop;
    stop.setSingleShot(true);
    stop.setTimerType(Qt::PreciseTimer);
    QObject::connect(&stop, &QTimer::timeout, [&] {
        stopAt = view.clock.nsecsElapsed();
        ops.requestStop();
    });
    view.clock.start();
    if (stopAfterMs > 0)
        stop.start(stopAfterMs);
    const Operations::Result result = ops.backup(folder);
    RunFigures f;
    f.runNs = view.clock.nsecsElapsed();
    f.result = Operations::resultName(result);
    f.events = view.at.size();
    qint64 previous = 0;
    for (qint64 t : view.at + QList<qint64>{f.runNs}) {
        if (t - previous > f.longestGapNs) {
            f.longestGapNs = t - previous;
            f.gapFromNs = previous;
        }
        previous = t;
    }
    if (stopAt >= 0)
        f.stopToEndNs = f.runNs - stopAt;
    f.format = view.lastBytes;
    f.offThread = view.offThread;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        f.left << QDir(folder).relativeFilePath(it.next()).section('/', 1);   // below the dated folder
    return f;
}

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int megabytes = 200, stopAfterMs = 2000;
    qint64 rate = 30 << 20;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--megabytes") megabytes = args[i + 1].toInt();
        else if (args[i] == "--rate") rate = qint64(args[i + 1].toInt()) << 20;
        else if (args[i] == "--stop-after") stopAfterMs = args[i + 1].toInt();
    }
    QTemporaryDir work;
    if (!work.isValid())
        return 1;
    // The operation log of these runs stays in the work folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(work.path() + "/data"));
    const qint64 bytes = qint64(megabytes) << 20;

    Source source(work.path(), bytes, rate);
    const QString song = writeSong(source.root, bytes);
    qputenv("CORVEL3_VOLUMES", QFile::encodeName("corvel3=" + source.root));
    if (source.limitedBy.isEmpty())
        std::printf("source: the limit could not be set (%s): measured at full speed, from %s\n",
                    qPrintable(source.whyNotLimited()), qPrintable(source.root));
    else
        std::printf("source: ext4 image on a loop device, reads limited to %.1f MB/s by %s\n", rate / 1048576.0,
                    qPrintable(source.limitedBy));
    std::printf("one song of %d MB, a backup through the runner (worker thread), the song's pages dropped before each read\n",
                megabytes);
    std::fflush(stdout);

    // Baseline: dd reading the same song, cold, at the same limit (a child shares the cgroup).
    dropCached(song);
    QElapsedTimer clock;
    clock.start();
    const bool ddOk = run("dd", {"if=" + song, "of=/dev/null", "bs=1M"});
    const qint64 ddNs = clock.nsecsElapsed();
    std::printf("dd baseline:     %7.0f ms, %5.1f MB/s%s\n", ms(ddNs), bytes / 1048576.0 / (ddNs / 1e9), ddOk ? "" : " (dd FAILED)");
    std::fflush(stdout);

    const auto print = [&](const char *what, const RunFigures &f) {
        std::printf("%-16s %7.0f ms, %s, %d progress changes, longest gap %.0f ms (from %.0f ms)", what, ms(f.runNs),
                    qPrintable(f.result), f.events, ms(f.longestGapNs), ms(f.gapFromNs));
        if (f.stopToEndNs >= 0)
            std::printf(", Stop to the end %.0f ms", ms(f.stopToEndNs));
        else if (what == QByteArray("backup, Stop:"))
            std::printf(", ended before Stop was pressed");
        std::printf("%s\n", f.offThread ? " | a change arrived off the front end's thread" : "");
        std::printf("                 last bar format with MB \"%s\"; the dated backup folder holds: %s\n", qPrintable(f.format),
                    qPrintable(f.left.isEmpty() ? QStringLiteral("nothing") : f.left.join(", ")));
        std::fflush(stdout);
    };
    print("backup, whole:", backUp(song, work.path() + "/pc-whole", 0));
    print("backup, Stop:", backUp(song, work.path() + "/pc-stopped", stopAfterMs));
    return 0;
}
