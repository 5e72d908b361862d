#include "device/batchcmd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "device/platform.h"
#include "core/delay.h"

namespace {
constexpr int kSettleMs = 200;
constexpr int kBatchWaitMs = 30000;
}

BatchCmd::BatchCmd(QObject *parent) : QObject(parent) {}

BatchCmd::~BatchCmd()
{
    // The process member dies with the runner; nothing must reach the slots meanwhile.
    disconnect(finishedConnection);
    disconnect(errorConnection);
}

bool BatchCmd::StartSingleCmd(QString program, QStringList arguments, bool skipCheck)
{
    return startSingle(program, arguments, program, skipCheck);
}

bool BatchCmd::StartSingleCmd(QString command, bool skipCheck)
{
    QStringList parts = QProcess::splitCommand(command);
    const QString program = parts.isEmpty() ? QString() : parts.takeFirst();
    return startSingle(program, parts, command, skipCheck);
}

bool BatchCmd::startSingle(const QString &program, const QStringList &arguments, const QString &checkedPath,
                           bool skipCheck)
{
    if (!skipCheck) {
        if (!QFile::exists(checkedPath))
            return false;
        process.setWorkingDirectory(QFileInfo(checkedPath).absolutePath());
    }
    disconnect(finishedConnection);
    disconnect(errorConnection);
    finishedConnection = connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
                                 &BatchCmd::SingleCmdFinished);
    // A program that exists but cannot be run never finishes: end the caller's wait anyway.
    errorConnection = connect(&process, &QProcess::errorOccurred, this, &BatchCmd::onProcessError);
    singleCmdDone = false;
    process.start(program, arguments, QIODevice::ReadWrite);
    delay(kSettleMs);
    return true;
}

void BatchCmd::SingleCmdFinished(int)
{
    disconnect(finishedConnection);
    disconnect(errorConnection);
    singleCmdDone = true;
}

void BatchCmd::onProcessError(QProcess::ProcessError error)
{
    if (error == QProcess::FailedToStart)
        SingleCmdFinished(-1);
}

void BatchCmd::SetBatchFile(QString path)
{
    batchFile = path;
    batchLines = QStringList();
}

void BatchCmd::AddBatchLine(QString line)
{
    batchLines.append(line);
}

void BatchCmd::ClearBatchLines()
{
    batchLines.clear();
}

bool BatchCmd::RunBatch()
{
    if (batchFile.isEmpty())
        return false;
    DeleteBatchFile();
    QFile file(batchFile);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream out(&file);
        for (const QString &line : qAsConst(batchLines))
            out << line << "\n";
        out.flush();
        file.close();
    }
    const platform::Command command = platform::batchCommand(batchFile);
    process.setWorkingDirectory(QFileInfo(batchFile).absolutePath());
    process.start(command.program, command.arguments);
    delay(kSettleMs);
    process.waitForFinished(kBatchWaitMs);
    return true;
}

bool BatchCmd::DeleteBatchFile()
{
    if (QFile::exists(batchFile))
        return QFile::remove(batchFile);
    return false;
}
