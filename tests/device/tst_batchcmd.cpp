#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "device/batchcmd.h"

namespace {
QString writeScript(const QString &path, const QByteArray &body, bool executable)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write("#!/bin/sh\n" + body);
    f.close();
    QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        p |= QFile::ExeOwner;
    f.setPermissions(p);
    return path;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

class TestBatchCmd : public QObject {
    Q_OBJECT

private slots:
    void runBatchWithoutPathDoesNothing();
    void runBatchWritesLinesAndRunsInItsFolder();
    void emptyBatchRunsAsEmptyFile();
    void rerunOnSamePathReplacesTheFile();
    void setBatchFileStartsNewLineList();
    void deleteBatchFileTwice();
    void startSingleCmd_data();
    void startSingleCmd();
    void missingProgramLeavesDoneFlagAlone();
    void oneStringFormUsesWholeStringForCheck();
};

void TestBatchCmd::runBatchWithoutPathDoesNothing()
{
    QTemporaryDir dir;
    BatchCmd cmd;
    cmd.AddBatchLine(QStringLiteral("touch should-not-exist"));
    QVERIFY(!cmd.RunBatch());
    QVERIFY(!cmd.DeleteBatchFile());
    QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

void TestBatchCmd::runBatchWritesLinesAndRunsInItsFolder()
{
    QTemporaryDir dir;
    const QString batch = dir.filePath(QStringLiteral("MATTRB.BAT"));
    BatchCmd cmd;
    cmd.SetBatchFile(batch);
    cmd.AddBatchLine(QStringLiteral("echo first > out.txt"));
    cmd.AddBatchLine(QStringLiteral("pwd >> out.txt"));
    QVERIFY(cmd.RunBatch());
    // RunBatch waits for the child, so its output is complete on return.
    QCOMPARE(contents(batch), QByteArray("echo first > out.txt\npwd >> out.txt\n"));
    QCOMPARE(contents(dir.filePath(QStringLiteral("out.txt"))),
             "first\n" + QFileInfo(dir.path()).canonicalFilePath().toUtf8() + "\n");
    QVERIFY(cmd.DeleteBatchFile());
    QVERIFY(!QFile::exists(batch));
}

void TestBatchCmd::emptyBatchRunsAsEmptyFile()
{
    QTemporaryDir dir;
    const QString batch = dir.filePath(QStringLiteral("empty.bat"));
    BatchCmd cmd;
    cmd.SetBatchFile(batch);
    QVERIFY(cmd.RunBatch());
    QVERIFY(QFile::exists(batch));
    QCOMPARE(QFileInfo(batch).size(), 0);
}

void TestBatchCmd::rerunOnSamePathReplacesTheFile()
{
    QTemporaryDir dir;
    const QString batch = dir.filePath(QStringLiteral("run.bat"));
    BatchCmd first;
    first.SetBatchFile(batch);
    first.AddBatchLine(QStringLiteral("echo one >> log.txt"));
    first.AddBatchLine(QStringLiteral("echo two >> log.txt"));
    QVERIFY(first.RunBatch());
    // A read-only leftover must not block the second run: the old file is deleted first.
    QFile::setPermissions(batch, QFile::ReadOwner);
    BatchCmd second;
    second.SetBatchFile(batch);
    second.AddBatchLine(QStringLiteral("echo three >> log.txt"));
    QVERIFY(second.RunBatch());
    QCOMPARE(contents(batch), QByteArray("echo three >> log.txt\n"));
    QCOMPARE(contents(dir.filePath(QStringLiteral("log.txt"))), QByteArray("one\ntwo\nthree\n"));
}

void TestBatchCmd::setBatchFileStartsNewLineList()
{
    QTemporaryDir dir;
    BatchCmd cmd;
    cmd.SetBatchFile(dir.filePath(QStringLiteral("a.bat")));
    cmd.AddBatchLine(QStringLiteral("echo stale"));
    cmd.SetBatchFile(dir.filePath(QStringLiteral("b.bat")));
    cmd.AddBatchLine(QStringLiteral("echo fresh"));
    QVERIFY(cmd.RunBatch());
    QCOMPARE(contents(dir.filePath(QStringLiteral("b.bat"))), QByteArray("echo fresh\n"));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.bat"))));

    cmd.ClearBatchLines();
    QVERIFY(cmd.RunBatch());
    QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("b.bat"))).size(), 0);
}

void TestBatchCmd::deleteBatchFileTwice()
{
    QTemporaryDir dir;
    BatchCmd cmd;
    cmd.SetBatchFile(dir.filePath(QStringLiteral("x.bat")));
    QVERIFY(cmd.RunBatch());
    QVERIFY(cmd.DeleteBatchFile());
    QVERIFY(!cmd.DeleteBatchFile());
}

void TestBatchCmd::startSingleCmd_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<bool>("skipCheck");
    QTest::addColumn<QByteArray>("expectedOutput");   // what the script leaves in out.txt

    // Without skipCheck the child runs in the program's own folder.
    QTest::newRow("runs in program folder") << QByteArray("pwd > out.txt\n") << true << false << QByteArray("<dir>");
    QTest::newRow("arguments in order") << QByteArray("echo \"$1|$2|$3\" > out.txt\n") << true << false
                                        << QByteArray("a b|-o|last\n");
    QTest::newRow("non-zero exit still ends wait") << QByteArray("echo x > out.txt; exit 7\n") << true << true
                                                   << QByteArray("x\n");
    // Exists but cannot be started: the wait must still end.
    QTest::newRow("cannot start") << QByteArray("echo never > out.txt\n") << false << false << QByteArray("<missing>");
    QTest::newRow("cannot start, no check") << QByteArray("echo never > out.txt\n") << false << true
                                            << QByteArray("<missing>");
}

void TestBatchCmd::startSingleCmd()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, executable);
    QFETCH(bool, skipCheck);
    QFETCH(QByteArray, expectedOutput);

    QTemporaryDir dir;
    const QString program = writeScript(dir.filePath(QStringLiteral("tool")), script, executable);
    BatchCmd cmd;
    // Output files land in the program folder: give the child that as its folder either way.
    const QString outFile = dir.filePath(QStringLiteral("out.txt"));
    if (skipCheck) {
        script.replace("out.txt", outFile.toUtf8());
        writeScript(program, script, executable);
    }
    QVERIFY(cmd.StartSingleCmd(program, {QStringLiteral("a b"), QStringLiteral("-o"), QStringLiteral("last")},
                               skipCheck));
    QTRY_VERIFY_WITH_TIMEOUT(cmd.singleCmdDone, 10000);
    if (expectedOutput == "<dir>")
        expectedOutput = QFileInfo(dir.path()).canonicalFilePath().toUtf8() + "\n";
    QCOMPARE(contents(outFile), expectedOutput);
}

void TestBatchCmd::missingProgramLeavesDoneFlagAlone()
{
    QTemporaryDir dir;
    BatchCmd cmd;
    cmd.singleCmdDone = true;
    QVERIFY(!cmd.StartSingleCmd(dir.filePath(QStringLiteral("no-such-program")), {}, false));
    QVERIFY(cmd.singleCmdDone);
    cmd.singleCmdDone = false;
    QVERIFY(!cmd.StartSingleCmd(dir.filePath(QStringLiteral("no-such-program")), {}, false));
    QVERIFY(!cmd.singleCmdDone);

    // With the check skipped, a missing program starts nothing but still ends the wait.
    QVERIFY(cmd.StartSingleCmd(dir.filePath(QStringLiteral("no-such-program")), {}, true));
    QTRY_VERIFY_WITH_TIMEOUT(cmd.singleCmdDone, 10000);
}

void TestBatchCmd::oneStringFormUsesWholeStringForCheck()
{
    QTemporaryDir dir;
    const QString program = writeScript(dir.filePath(QStringLiteral("tool")),
                                        "echo \"$1\" > \"$(dirname \"$0\")/out.txt\"\n", true);
    BatchCmd cmd;
    // The whole string is not a file, so the checked form refuses it.
    QVERIFY(!cmd.StartSingleCmd(program + QStringLiteral(" hello"), false));
    QVERIFY(cmd.StartSingleCmd(program + QStringLiteral(" hello"), true));
    QTRY_VERIFY_WITH_TIMEOUT(cmd.singleCmdDone, 10000);
    QCOMPARE(contents(dir.filePath(QStringLiteral("out.txt"))), QByteArray("hello\n"));

    // The runner can be reused: a second start waits for its own child.
    QVERIFY(cmd.StartSingleCmd(program, {QStringLiteral("again")}, false));
    QTRY_VERIFY_WITH_TIMEOUT(cmd.singleCmdDone, 10000);
    QCOMPARE(contents(dir.filePath(QStringLiteral("out.txt"))), QByteArray("again\n"));
}

QTEST_GUILESS_MAIN(TestBatchCmd)
#include "tst_batchcmd.moc"
