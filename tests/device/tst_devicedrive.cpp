// Finding the player's drive by its volume label, through the volume seam and on real mounts.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include "device/devicedrive.h"
#include "device/platform.h"

class DeviceDriveTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { qunsetenv("CORVEL3_VOLUMES"); }

    void labelMatching_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("isPlayer");
        QTest::newRow("exact") << "corvel3" << true;
        QTest::newRow("upper case") << "CORVEL3" << true;
        QTest::newRow("mixed case") << "Corvel3" << true;
        QTest::newRow("blanks around") << " corvel3 " << true;
        QTest::newRow("tab around") << "\tcorvel3\n" << true;
        QTest::newRow("character after the digit") << "corvel3x" << false;
        QTest::newRow("no digit") << "corvel" << false;
        QTest::newRow("blank inside") << "corvel 3" << false;
        QTest::newRow("empty") << "" << false;
    }
    void labelMatching()
    {
        QFETCH(QString, label);
        QFETCH(bool, isPlayer);
        QCOMPARE(isPlayerLabel(label), isPlayer);

        QTemporaryDir other, player;
        qputenv("CORVEL3_VOLUMES", QStringLiteral("DATA=%1;%2=%3").arg(other.path(), label, player.path()).toUtf8());
        QCOMPARE(findDeviceDrive(), isPlayer ? player.path() + "/" : QString());
    }

    void firstMatchingVolumeWinsAndRootEndsWithSeparator()
    {
        QTemporaryDir first, second;
        qputenv("CORVEL3_VOLUMES",
                QStringLiteral("CORVEL3=%1/;corvel3=%2").arg(first.path(), second.path()).toUtf8());
        const QString root = findDeviceDrive();
        QCOMPARE(root, first.path() + "/");
        QVERIFY(QFileInfo(root + "AUTOEXEC.BAT").absolutePath() == first.path());
    }

    void noReadableVolumeGivesEmptyPath()
    {
        qputenv("CORVEL3_VOLUMES", "");
        QCOMPARE(findDeviceDrive(), QString());
        qputenv("CORVEL3_VOLUMES", "garbage;=;corvel3=");
        QCOMPARE(findDeviceDrive(), QString());
    }

    void systemRootIsNeverTheDevice()
    {
        for (const platform::Volume &v : platform::volumes())
            QVERIFY2(v.root != "/", "the root file system must not be offered as a volume");
    }

    // Real mounted volumes: an ext4 image and a FAT image through fusefat, labelled as the player.
    void realExt4Volume()
    {
        requireRootAnd({"mkfs.ext4", "losetup", "mount", "umount"});
        QTemporaryDir work;
        const QString image = work.filePath("player.img");
        const QString mountPoint = work.filePath("mnt");
        QDir().mkpath(mountPoint);
        run("truncate", {"-s", "8M", image});
        run("mkfs.ext4", {"-q", "-L", "corvel3", image});
        if (!run("mount", {"-o", "loop", image, mountPoint}, false))
            QSKIP("loop mounts are not allowed here");
        const QString found = findDeviceDrive();
        run("umount", {mountPoint});
        QCOMPARE(found, mountPoint + "/");
    }

    void realFatVolumeThroughFuse()
    {
        requireRootAnd({"mkfs.vfat", "losetup", "fusefat", "umount"});
        if (!QFileInfo::exists("/dev/fuse"))
            QSKIP("no /dev/fuse on this machine");
        QTemporaryDir work;
        const QString image = work.filePath("player.img");
        const QString mountPoint = work.filePath("mnt");
        QDir().mkpath(mountPoint);
        run("truncate", {"-s", "16M", image});
        run("mkfs.vfat", {"-n", "CORVEL3", image});
        QProcess losetup;
        losetup.start("losetup", {"-f", "--show", image});
        losetup.waitForFinished(10000);
        const QString loop = QString::fromLocal8Bit(losetup.readAllStandardOutput()).trimmed();
        if (loop.isEmpty())
            QSKIP("no free loop device");
        const bool mounted = run("fusefat", {"-o", "rw+,fsname=" + loop, loop, mountPoint}, false);
        QString found;
        if (mounted) {
            QTRY_VERIFY_WITH_TIMEOUT(!QDir(mountPoint).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty()
                                         || !findDeviceDrive().isEmpty(),
                                     5000);
            found = findDeviceDrive();
            run("umount", {mountPoint});
        }
        run("losetup", {"-d", loop});
        if (!mounted)
            QSKIP("fusefat could not mount the image");
        QCOMPARE(found, mountPoint + "/");
    }

private:
    void requireRootAnd(const QStringList &programs)
    {
        if (::geteuid() != 0)
            QSKIP("mounting a volume image needs root (CI runs as root)");
        for (const QString &p : programs)
            if (QStandardPaths::findExecutable(p).isEmpty() && QStandardPaths::findExecutable(p, {"/sbin", "/usr/sbin"}).isEmpty())
                QSKIP(qPrintable(p + " is not installed"));
    }
    bool run(const QString &program, const QStringList &args, bool mustSucceed = true)
    {
        QProcess p;
        p.start(program, args);
        const bool ok = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (!ok && mustSucceed)
            qWarning() << program << args << p.readAllStandardError();
        return ok;
    }
};

QTEST_GUILESS_MAIN(DeviceDriveTest)
#include "tst_devicedrive.moc"
