// The reinstalls on a real mounted ext4 volume labelled "corvel3", found through the real volume
// list: one that does not fit changes nothing; then the one that restores the songs, with the
// marks read back from the disk; and an update whose download fills the PC's disk. Needs root
// (loop and tmpfs mounts).
#include <QStandardPaths>
#include <QStorageInfo>
#include <QtTest>

#include <unistd.h>

#include "device/devicedrive.h"
#include "update/systemupdate.h"
#include "tests/update/updatetestsupport.h"

class TestReinstallVolume : public QObject {
    Q_OBJECT

public:
    ~TestReinstallVolume() override { cleanupTestCase(); }   // also when initTestCase gave up after the mount

private slots:
    void cleanupTestCase() { mounted = mounted && !runTool("umount", {root}); }
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("mounting a loop image needs root");
        for (const char *tool : {"truncate", "mkfs.ext4", "mount", "umount"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(QString("%1 is not installed").arg(tool)));
        const QString image = work.filePath("corvel3.img");
        root = work.filePath("mnt/");
        QVERIFY(QDir().mkpath(root) && runTool("truncate", {"-s", "64M", image}));
        QVERIFY(runTool("mkfs.ext4", {"-q", "-F", "-m", "0", "-L", "corvel3", image}));
        if (!(mounted = runTool("mount", {"-o", "loop", image, root})))
            QSKIP("loop mounting is not available here");
        qunsetenv("CORVEL3_VOLUMES");   // the real volume list, not a fixture's
        if (findDeviceDrive() != root)
            QSKIP(qPrintable("another volume answers as the player: " + findDeviceDrive()));
        QVERIFY(!(served = makeDemoPackages(work.filePath("served"))).isEmpty());
    }

    // The PC's disk fills up during the download: a failed download, the player as it was.
    void aFullPcDiskFailsTheDownload()
    {
        UpdateBed bed;
        bed.serveUpdate(served + "CorvelUpdate.zip");
        // Where the run's folder goes: room for more than the smallest package, less than this one.
        const QString cache = bed.holder.path() + "/cache";
        QVERIFY(QDir().mkpath(cache) && runTool("mount", {"-t", "tmpfs", "-o", "size=16k", "tmpfs", cache}));
        const auto unmount = qScopeGuard([&] { runTool("umount", {cache}); });
        DriveFixture drive(false);
        drive.addSystemFiles();
        const auto before = treeContents(drive.root());
        EngineRig h(1, {"Ok"});
        h.ctx.driveRoot = drive.root();
        QVERIFY(!SystemUpdate(h.ctx).run().ok());
        QCOMPARE(h.dialogs.titles(), QStringList{"Download Error , Cod 1"});
        QCOMPARE(treeContents(drive.root()), before);
    }

    // A player too full for the staging copy: a clear box, and the old system and the songs as they
    // were. With room again, the reinstall that saves and restores the songs.
    void fullVolumeThenRestoreVariant()
    {
        UpdateBed bed;
        bed.serveFull(served + "CorvelAll.zip");
        bed.serveUpdate(served + "CorvelUpdate.zip");
        DriveFixture source(false);
        source.addPlaylist("Mine.pls", {"\\sdmemory\\Rock\\one.mp3^One"});
        source.writeMp3("Rock/one.mp3", "One");
        source.writeMidi("Rock/two.mid", "Two");
        source.writeFile("Slow/three.kar", "Three");
        const auto songs = treeContents(source.root());
        source.addSystemFiles();
        QVERIFY(runTool("cp", {"-r", source.root() + ".", root}));
        const auto before = treeContents(root);
        const qint64 fill = QStorageInfo(root).bytesAvailable() - 24 * 1024;
        QVERIFY(runTool("fallocate", {"-l", QString::number(fill), root + "filler.bin"}));
        EngineRig h(1, {"Ok"});
        QCOMPARE(h.operations.reinstall(Operations::ReinstallKind::KeepSongs), Operations::Result::Failed);
        QCOMPARE(h.dialogs.titles(), QStringList{"Not enough space"});
        QVERIFY(h.dialogs.prompts[0].text.contains("The system on Corvel3 has not been changed."));
        QCOMPARE(QFileInfo(root + "filler.bin").size(), fill);
        QVERIFY(QFile::remove(root + "filler.bin"));
        QCOMPARE(treeContents(root), before);

        QTemporaryDir pc;
        h.dialogs.prompts.clear();
        h.dialogs.answer({pc.path(), "Si", "Ok"});
        QCOMPARE(h.operations.reinstall(Operations::ReinstallKind::SaveAndRestore), Operations::Result::Done);
        QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
        QCOMPARE(h.dialogs.titles(), (QStringList{"Choose a folder to save your files", "Cancellazione Drive", "End operation"}));
        QCOMPARE(treeContents(pc.path(), false), songs);
        const auto installed = merged(archiveContents(served + "CorvelAll.zip", work.filePath("all")),
                                      archiveContents(served + "CorvelUpdate.zip", work.filePath("update")));
        QCOMPARE(treeContents(root), merged(installed, songs));
        // The marks are on the disk itself, as the tool's own layer and the file system read them.
        for (const QString &entry : {QStringLiteral("System"), QStringLiteral("AUTOEXEC.BAT")}) {
            const platform::Attributes marks = platform::attributes(root + entry);
            QVERIFY2(marks.hidden && marks.system, qPrintable(entry));
            QByteArray value;
            if (runTool("getfattr", {"--only-values", "-n", "user.DOSATTRIB", root + entry}, QString(), &value))
                QCOMPARE(value.trimmed(), QByteArray("0x6"));
        }
    }

private:
    QTemporaryDir work;
    QString root, served;
    bool mounted = false;
};

QTEST_GUILESS_MAIN(TestReinstallVolume)
#include "tst_reinstall_volume.moc"
