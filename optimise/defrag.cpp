#include "optimise/defrag.h"

#include <QProcess>

#include "core/delay.h"

namespace defrag {

void run(OperationContext &ctx, QProcess &process, const platform::Command &command, int silenceMs)
{
    ctx.progress.setMinimum(0);
    ctx.progress.setMaximum(0);
    ctx.progress.setStatus(ctx.translate("defrag", "Defrag in progress..."));

    if (process.state() == QProcess::NotRunning) {
        // Both channels count as signs of life.
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(command.program, command.arguments, QIODevice::ReadWrite);
    }
    while (process.waitForReadyRead(silenceMs)) {
        process.readAll();   // nobody reads it; dropping it keeps a chatty tool from filling memory
        delay(pauseMs);
    }
    ctx.progress.setBarVisible(false);
}

void defragmentDrive(OperationContext &ctx, QProcess &process, const QString &deviceRoot, int silenceMs)
{
    run(ctx, process, platform::defragCommand(deviceRoot), silenceMs);
}

} // namespace defrag
