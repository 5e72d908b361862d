// Downloads a large package from a loopback server through the tool's download path, and the same
// package with curl in the same run: wall time of each, their ratio, and peak memory.
// Usage: bench_download [megabytes=300] [rounds=3]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tests/common/httptestserver.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"
#include "transfer/folderremoval.h"
#include "core/operationcontext.h"
#include "update/systemupdate.h"
#include "bench/memory.h"

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 300;
    const int rounds = argc > 2 ? QByteArray(argv[2]).toInt() : 3;
    const qint64 size = megabytes * 1024 * 1024;

    QTemporaryDir temp;
    qputenv("TMPDIR", QFile::encodeName(temp.path()));

    // The server gets a thread of its own so it keeps serving while curl is timed.
    QThread serverThread;
    serverThread.start();
    HttpTestServer *server = new HttpTestServer;
    server->serveGenerated(QStringLiteral("/download/Corvel3/CorvelUpdate.zip"), size);
    server->moveToThread(&serverThread);
    bool listening = false;
    QMetaObject::invokeMethod(server, [&] { listening = server->listen(); }, Qt::BlockingQueuedConnection);
    if (!listening) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
        return 1;
    }
    const QString url = server->url(QStringLiteral("/download/Corvel3/CorvelUpdate.zip"));

    OperationState state;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    OperationContext ctx{state, dialogs, progress};

    std::vector<double> toolSeconds, curlSeconds;
    long toolPeakDelta = 0, curlPeak = 0;
    const long baseline = benchmemory::currentKiB();
    for (int round = 0; round < rounds; ++round) {
        benchmemory::resetPeak();
        const long before = benchmemory::currentKiB();
        QElapsedTimer clock;
        clock.start();
        const QString saved = downloadPackage(ctx, url, temp.filePath(QStringLiteral("tool")));
        toolSeconds.push_back(clock.nsecsElapsed() / 1e9);
        toolPeakDelta = std::max(toolPeakDelta, benchmemory::peakKiB() - before);
        if (QFileInfo(saved).size() != size) {
            std::fprintf(stderr, "download incomplete: %lld bytes\n", (long long)QFileInfo(saved).size());
            return 1;
        }
        QFile::remove(saved);

        const QString curlOut = temp.filePath(QStringLiteral("curl.zip"));
        QProcess curl;
        curl.setProcessChannelMode(QProcess::SeparateChannels);
        clock.restart();
        curl.start(QStringLiteral("/usr/bin/time"),
                   {QStringLiteral("-f"), QStringLiteral("%M"), QStringLiteral("curl"), QStringLiteral("-s"),
                    QStringLiteral("-o"), curlOut, url});
        if (!curl.waitForFinished(600000) || curl.exitCode() != 0) {
            std::fprintf(stderr, "curl failed: %s\n", curl.readAllStandardError().constData());
            return 1;
        }
        curlSeconds.push_back(clock.nsecsElapsed() / 1e9);
        curlPeak = std::max(curlPeak, curl.readAllStandardError().trimmed().split('\n').last().toLong());
        if (QFileInfo(curlOut).size() != size) {
            std::fprintf(stderr, "curl download incomplete\n");
            return 1;
        }
        QFile::remove(curlOut);
        std::printf("round %d: tool %.2f s, curl %.2f s\n", round + 1, toolSeconds.back(), curlSeconds.back());
        std::fflush(stdout);
    }

    const double tool = median(toolSeconds);
    const double ref = median(curlSeconds);
    std::printf("\npackage %lld MiB, %d rounds (medians)\n", (long long)megabytes, rounds);
    std::printf("tool (downloadFile path): %.2f s  %.0f MiB/s\n", tool, megabytes / tool);
    std::printf("curl                    : %.2f s  %.0f MiB/s\n", ref, megabytes / ref);
    std::printf("time ratio tool/curl    : %.2f\n", tool / ref);
    std::printf("tool peak memory growth during a download: %ld KiB (process resident before: %ld KiB)\n",
                toolPeakDelta, baseline);
    std::printf("curl peak resident memory: %ld KiB\n", curlPeak);

    QMetaObject::invokeMethod(server, [server] { delete server; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    return 0;
}
