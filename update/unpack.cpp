#include "update/unpack.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "device/batchcmd.h"
#include "device/platform.h"
#include "core/delay.h"
#include "core/progressview.h"

namespace {
constexpr int kPollMs = 200;

} // namespace

QStringList unpackArguments(const QString &zipPath)
{
    return {zipPath, QStringLiteral("-o"), QFileInfo(zipPath).absolutePath(), QStringLiteral("-no-directory")};
}

bool unpackPackage(QString zipPath, ProgressView &bar)
{
    BatchCmd runner;
    const bool started = runner.StartSingleCmd(platform::unpackerProgram(), unpackArguments(zipPath), false);
    bar.setMaximum(0);
    bar.setValue(0);
    // A start that returned false has nothing to wait for.
    while (started && !runner.singleCmdDone) {
        delay(kPollMs);
    }
    bar.setMaximum(0);
    if (started)
        QFile::remove(zipPath);
    return started;
}

bool unpackPackage(const QString &zipPath, ProgressView *bar)
{
    ProgressView none;
    ProgressView &view = bar ? *bar : none;
    return unpackPackage(QString(zipPath), view);
}
