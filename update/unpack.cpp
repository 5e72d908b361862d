#include "update/unpack.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include "device/platform.h"
#include "core/delay.h"
#include "core/progressview.h"

namespace {
constexpr int kPollMs = 200;

// Runs program to its end while pumping events. True when it started, ended by itself and
// returned 0; a program that cannot start ends the wait at once.
bool runToSuccess(const QString &program, const QStringList &arguments)
{
    if (!QFileInfo(program).isFile())
        return false;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    // A failed start leaves the process "not running" with an error: nothing to wait for.
    while (process.state() != QProcess::NotRunning)
        delay(kPollMs);
    return process.error() == QProcess::UnknownError && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

// The lister that ships with the unpacker, beside it; "" when there is none.
QString archiveTester(const QString &unpacker)
{
    const QFileInfo info(unpacker);
    const QString name = info.fileName().replace(QStringLiteral("unar"), QStringLiteral("lsar"));
    if (name == info.fileName())
        return QString();
    const QString tester = info.absolutePath() + QLatin1Char('/') + name;
    return QFileInfo(tester).isFile() ? tester : QString();
}
} // namespace

QStringList unpackArguments(const QString &zipPath)
{
    return {zipPath, QStringLiteral("-o"), QFileInfo(zipPath).absolutePath(), QStringLiteral("-no-directory")};
}

bool unpackPackage(QString zipPath, ProgressView &bar)
{
    const QString unpacker = platform::unpackerProgram();
    bar.setMaximum(0);
    bar.setValue(0);
    const QString tester = archiveTester(unpacker);
    // A damaged archive is refused before anything of it lands in the save folder.
    bool ok = tester.isEmpty() || runToSuccess(tester, {QStringLiteral("-t"), zipPath});
    ok = ok && runToSuccess(unpacker, unpackArguments(zipPath));
    bar.setMaximum(0);
    if (ok)
        QFile::remove(zipPath);
    return ok;
}

bool unpackPackage(const QString &zipPath, ProgressView *bar)
{
    ProgressView none;
    ProgressView &view = bar ? *bar : none;
    return unpackPackage(QString(zipPath), view);
}
