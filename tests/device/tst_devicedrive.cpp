// Finding the player's drive by its volume label, through the volume seam and on a real mount
// (the FAT one, through fusefat, is in tst_entries).
#include <QtTest>

#include <unistd.h>

#include "device/devicedrive.h"
#include "device/platform.h"
#include "tests/transfer/transfertesting.h"   // mountDiskImage, runTool

class DeviceDriveTest : public QObject {
    Q_OBJECT

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
        if (::geteuid() != 0)
            QSKIP("mounting a volume image needs root (CI runs as root)");
        QTemporaryDir work;
        const QString mountPoint = work.filePath("mnt");
        if (!mountDiskImage(work.filePath("player.img"), mountPoint, "8M", {"-L", "corvel3"}))
            QSKIP("loop mounts are not allowed here");
        const QString found = findDeviceDrive();
        runTool("umount", {mountPoint});
        QCOMPARE(found, mountPoint + "/");
    }
};

QTEST_GUILESS_MAIN(DeviceDriveTest)
#include "tst_devicedrive.moc"
