#pragma once

#include <QMetaObject>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// Runs outside programs for the operations: one program whose end the caller waits for by
// polling singleCmdDone, or a batch file written from collected lines, run and then deleted.
// Made for one job by the operation that needs it; output and exit codes are never read.
class BatchCmd : public QObject {
    Q_OBJECT

public:
    explicit BatchCmd(QObject *parent = nullptr);
    ~BatchCmd() override;

    // Starts program with arguments; false (nothing started) when skipCheck is false and no
    // file named program exists. The caller then waits until singleCmdDone turns true.
    bool StartSingleCmd(QString program, QStringList arguments, bool skipCheck);
    // The same with program and arguments in one string, split as a command line.
    bool StartSingleCmd(QString command, bool skipCheck);

    void SetBatchFile(QString path);
    void AddBatchLine(QString line);
    void ClearBatchLines();
    // Writes the lines to the batch file and runs it with the command interpreter, waiting
    // up to 30 s; false only when no batch file was named.
    bool RunBatch();
    bool DeleteBatchFile();

private:
    QString batchFile;
    QStringList batchLines;
    QProcess process;

public:
    bool singleCmdDone = false;

signals:
    // Kept for callers that want the raw process end; the runner itself never emits it.
    void finished(int exitCode, QProcess::ExitStatus exitStatus);

public slots:
    void SingleCmdFinished(int);

private:
    bool startSingle(const QString &program, const QStringList &arguments, const QString &checkedPath,
                     bool skipCheck);
    void onProcessError(QProcess::ProcessError error);

    QMetaObject::Connection finishedConnection;
    QMetaObject::Connection errorConnection;
};
