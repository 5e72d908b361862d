// Finding the player's drive by its volume label, through the volume seam and on a real mount
// (the FAT one, through fusefat, is in tst_entries); the batch and program runner.
#include <QtTest>

#include "device/batchcmd.h"
#include "device/devicedrive.h"
#include "device/platform.h"
#include "tests/transfer/transfertesting.h"   // mountDiskImage, runTool, writeBytes, readBytes

class DeviceDriveTest : public QObject {
    Q_OBJECT

    static QByteArray contents(const QString &path) { return QFileInfo::exists(path) ? readBytes(path) : "<missing>"; }

private slots:
    void cleanup() { qunsetenv("CORVEL3_VOLUMES"); }

    // The volumes offered ("label=path;..."; @1 and @2 are two folders) and the one found.
    void labelMatching_data()
    {
        QTest::addColumn<QString>("volumes");
        QTest::addColumn<QString>("found");   // "" for none
        QTest::newRow("the exact label is found after another volume") << "DATA=@1;corvel3=@2" << "@2";
        QTest::newRow("a label in capitals is the player") << "DATA=@1;CORVEL3=@2" << "@2";
        QTest::newRow("blanks around the label are ignored") << "DATA=@1;\tCorvel3 \n=@2" << "@2";
        QTest::newRow("a character after the digit is another volume") << "corvel3x=@1" << "";
        QTest::newRow("a label without the digit is another volume") << "corvel=@1" << "";
        QTest::newRow("a blank inside the label is another volume") << "corvel 3=@1" << "";
        QTest::newRow("an empty label is no player") << "=@1" << "";
        QTest::newRow("the first of two players wins") << "CORVEL3=@1/;corvel3=@2" << "@1";
        QTest::newRow("no volumes at all") << "" << "";
        QTest::newRow("entries without a path are skipped") << "garbage;=;corvel3=" << "";
    }
    void labelMatching()
    {
        QFETCH(QString, volumes);
        QFETCH(QString, found);
        QTemporaryDir one, two;
        const auto folders = [&](QString text) { return text.replace("@1", one.path()).replace("@2", two.path()); };
        qputenv("CORVEL3_VOLUMES", folders(volumes).toUtf8());
        QCOMPARE(findDeviceDrive(), found.isEmpty() ? QString() : folders(found) + "/");   // the root ends with "/"
    }

    void systemRootIsNeverTheDevice()
    {
        for (const platform::Volume &v : platform::volumes())
            QVERIFY2(v.root != "/", "the root file system must not be offered as a volume");
    }

    void realExt4Volume()
    {
        QTemporaryDir work;
        const QString mountPoint = work.filePath("mnt");
        if (!mountDiskImage(work.filePath("player.img"), mountPoint, "8M", {"-L", "corvel3"}))
            QSKIP("mounting a volume image needs root and a free loop device");
        const QString found = findDeviceDrive();
        runTool("umount", {mountPoint});
        QCOMPARE(found, mountPoint + "/");
    }

    void startSingleCmd_data()
    {
        QTest::addColumn<QString>("program");     // "script", "missing" or "not executable"
        QTest::addColumn<QByteArray>("output");   // what the program leaves in out.txt
        QTest::newRow("a script runs in its own folder") << "script" << QByteArray("a b|-o|<dir>\n");
        QTest::newRow("a missing program is not started") << "missing" << QByteArray("<missing>");
        // Exists but cannot be started: the caller's wait must still end.
        QTest::newRow("a file that cannot run still ends the wait") << "not executable" << QByteArray("<missing>");
    }
    void startSingleCmd()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, output);
        QTemporaryDir dir;
        const QString tool = dir.filePath("tool");
        if (program != "missing") {
            QVERIFY(writeBytes(tool, "#!/bin/sh\necho \"$1|$2|$(pwd)\" > out.txt\n"));
            QVERIFY(program != "script" || QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner));
        }
        BatchCmd cmd;
        const bool started = cmd.StartSingleCmd(tool, {"a b", "-o"}, false);
        QCOMPARE(started, program != "missing");
        QTRY_COMPARE_WITH_TIMEOUT(cmd.singleCmdDone, started, 10000);
        output.replace("<dir>", QFileInfo(dir.path()).canonicalFilePath().toUtf8());
        QCOMPARE(contents(dir.filePath("out.txt")), output);
    }
};

QTEST_GUILESS_MAIN(DeviceDriveTest)
#include "tst_devicedrive.moc"
