#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "device/batchcmd.h"

namespace {
QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

class TestBatchCmd : public QObject {
    Q_OBJECT

private slots:
    void batchFileLifecycle();
    void startSingleCmd_data();
    void startSingleCmd();
};

void TestBatchCmd::batchFileLifecycle()
{
    QTemporaryDir dir;
    const QString batch = dir.filePath("run.bat");
    BatchCmd first;
    // Without a path nothing is written, run or deleted.
    first.AddBatchLine("echo never > never.txt");
    QVERIFY(!first.RunBatch());
    QVERIFY(!first.DeleteBatchFile());
    QVERIFY(QDir(dir.path()).isEmpty());

    // An empty batch still runs, as an empty file.
    first.SetBatchFile(batch);
    QVERIFY(first.RunBatch());
    QCOMPARE(contents(batch), QByteArray());

    first.AddBatchLine("echo one >> log.txt");
    first.AddBatchLine("pwd >> log.txt");
    QVERIFY(first.RunBatch());
    // A read-only leftover must not block a rerun on the same path: the old file goes first.
    QFile::setPermissions(batch, QFile::ReadOwner);
    BatchCmd second;
    second.SetBatchFile(batch);
    second.AddBatchLine("echo three >> log.txt");
    QVERIFY(second.RunBatch());
    QCOMPARE(contents(batch), QByteArray("echo three >> log.txt\n"));
    // RunBatch waits for the child, which runs in the batch's folder.
    QCOMPARE(contents(dir.filePath("log.txt")),
             "one\n" + QFileInfo(dir.path()).canonicalFilePath().toUtf8() + "\nthree\n");

    QVERIFY(second.DeleteBatchFile());
    QVERIFY(!second.DeleteBatchFile());
    QVERIFY(!QFile::exists(batch));
}

void TestBatchCmd::startSingleCmd_data()
{
    QTest::addColumn<QString>("program");     // "script", "missing" or "not executable"
    QTest::addColumn<QByteArray>("output");   // what the program leaves in out.txt
    QTest::newRow("runs") << "script" << QByteArray("a b|-o|<dir>\n");
    QTest::newRow("missing") << "missing" << QByteArray("<missing>");
    // Exists but cannot be started: the caller's wait must still end.
    QTest::newRow("cannot start") << "not executable" << QByteArray("<missing>");
}

void TestBatchCmd::startSingleCmd()
{
    QFETCH(QString, program);
    QFETCH(QByteArray, output);
    QTemporaryDir dir;
    QFile tool(dir.filePath("tool"));
    if (program != "missing") {
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\necho \"$1|$2|$(pwd)\" > out.txt\n");
        tool.close();
        QVERIFY(program != "script" || tool.setPermissions(tool.permissions() | QFile::ExeOwner));
    }
    BatchCmd cmd;

    const bool started = cmd.StartSingleCmd(tool.fileName(), {"a b", "-o"}, false);

    QCOMPARE(started, program != "missing");
    // The child runs in the program's own folder.
    QTRY_COMPARE_WITH_TIMEOUT(cmd.singleCmdDone, started, 10000);
    output.replace("<dir>", QFileInfo(dir.path()).canonicalFilePath().toUtf8());
    QCOMPARE(contents(dir.filePath("out.txt")), output);
}

QTEST_GUILESS_MAIN(TestBatchCmd)
#include "tst_batchcmd.moc"
