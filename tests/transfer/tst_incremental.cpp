// Incremental backups and the backups a folder holds, on real folders: what changed between two
// backups, which backup is a base, what prune keeps, what verify finds, which backup a restore
// takes, and a FAT folder that cannot link.
#include <QtTest>

#include <unistd.h>

#include "device/platform.h"
#include "tests/common/drivefixture.h"
#include "tests/transfer/transfertesting.h"
#include "transfer/backupmanifest.h"
#include "transfer/backupset.h"

using Inventory = QMap<QString, QByteArray>;

class TestIncremental : public QObject {
    Q_OBJECT

    static void fill(DriveFixture &drive)
    {
        drive.addPlaylist("Hits.pls", {"\\sdmemory\\Basi\\0.mid^x"});
        for (int i = 0; i < 3; ++i)
            drive.writeMidi(QString("Basi/%1.mid").arg(i), QString("Song %1").arg(i));
        drive.writeMp3("Rock/a.mp3", "A", 70000);
    }

    // A backup's files without its manifest.
    static Inventory library(const QString &folder)
    {
        Inventory files = treeContents(folder);
        files.remove(backupmanifest::kFileName);
        return files;
    }

    // One backup into pc through the runner; the dated folder it wrote. replies: after none.
    static QString backUp(const QString &pc, QStringList *codes = nullptr)
    {
        EngineRig rig(1, {"Ok", "Ok"});
        rig.operations.backup(pc);
        for (const auto &p : rig.dialogs.prompts)
            if (codes)
                *codes << p.code;
        return rig.operations.lastOutcome().folder;
    }

    QTemporaryDir tmp;

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", (tmp.path() + "/data").toUtf8()); }

    // A second backup holds exactly the player's new state; unchanged songs are second names of
    // the first backup's files, the rest copies of their own; the first backup keeps every byte,
    // also through a restore of the second and a third backup. Only a complete backup is a base,
    // and only its files still as it saved them are linked.
    void betweenTwoBackups_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("baseFault");
        QTest::newRow("a song changed") << "changed" << "";
        QTest::newRow("a song added") << "added" << "";
        QTest::newRow("a song removed") << "removed" << "";
        QTest::newRow("base cut short: no base") << "changed" << "cut short";
        QTest::newRow("base lost a song: copied") << "added" << "lost";
        QTest::newRow("base song changed size: copied") << "removed" << "grown";
    }
    void betweenTwoBackups()
    {
        QFETCH(QString, change);
        QFETCH(QString, baseFault);
        DriveFixture drive;
        fill(drive);
        const QString pc = rowFolder(tmp);
        const QString first = backUp(pc);
        QVERIFY(!first.isEmpty() && backupmanifest::isComplete(first));
        bool found = false;
        if (baseFault == "cut short")
            QVERIFY(backupmanifest::write(first, backupmanifest::read(first, &found), false) && found);
        else if (baseFault == "lost")
            QVERIFY(QFile::remove(first + "/Rock/a.mp3"));
        else if (baseFault == "grown")
            QVERIFY(writeBytes(first + "/Basi/0.mid", readBytes(first + "/Basi/0.mid") + "x"));
        const Inventory before = treeContents(first);

        if (change == "changed")
            drive.writeMidi("Basi/1.mid", "Song 1, a new take");
        else if (change == "added")
            drive.writeMidi("Basi/Nuove/3.mid", "Song 3");
        else
            QVERIFY(QFile::remove(drive.path("Basi/2.mid")));
        const QString second = backUp(pc);
        QVERIFY(!second.isEmpty() && second != first);
        QCOMPARE(library(second), treeContents(drive.root()));
        QVERIFY(backupmanifest::isComplete(second) && backupmanifest::verify(second).ok());
        QCOMPARE(treeContents(first), before);
        const Inventory old = library(first);
        for (auto it = old.cbegin(); it != old.cend(); ++it) {
            const bool shared = baseFault != "cut short" && library(second).value(it.key()) == it.value()
                                && !(baseFault == "grown" && it.key() == "Basi/0.mid");
            QCOMPARE(platform::linkCount(first + "/" + it.key()) > 1, shared);
        }
        if (baseFault == "lost")
            QCOMPARE(platform::linkCount(second + "/Rock/a.mp3"), 1);

        // A restore of the second backup over a song changed on the player, and a third backup.
        drive.writeMidi("Basi/0.mid", "Song 0, changed on the player");
        EngineRig restoring(0, {"Si", "Ok"});
        QCOMPARE(restoring.operations.restore(second), Operations::Result::Done);
        QCOMPARE(treeContents(drive.root()), library(second));
        drive.writeFile("Rock/a.mp3", "a new mix");
        const QString third = backUp(pc);
        QVERIFY(backupmanifest::verify(third).ok());
        QCOMPARE(treeContents(first), before);
        QVERIFY(backupmanifest::verify(second).ok());
    }

    // Prune removes the backups older than the N newest complete ones, never the newest complete
    // one nor a newer one cut short; songs the kept ones share stay whole; a backup that is a link
    // is left alone, and so is what it leads to.
    void prune_data()
    {
        QTest::addColumn<int>("keep");
        QTest::addColumn<bool>("dryRun");
        QTest::addColumn<QList<int>>("kept");   // of the backups made, oldest first; 3 is cut short
        QTest::newRow("keep 1") << 1 << false << QList<int>{2, 3};
        QTest::newRow("keep 2") << 2 << false << QList<int>{1, 2, 3};
        QTest::newRow("keep 9") << 9 << false << QList<int>{0, 1, 2, 3};
        QTest::newRow("keep 1, dry run") << 1 << true << QList<int>{0, 1, 2, 3};
    }
    void prune()
    {
        QFETCH(int, keep);
        QFETCH(bool, dryRun);
        QFETCH(QList<int>, kept);
        DriveFixture drive;
        fill(drive);
        const QString pc = rowFolder(tmp), elsewhere = pc + "-elsewhere";
        QStringList made;
        for (int i = 0; i < 4; ++i) {
            drive.writeMidi("Basi/1.mid", QString("take %1").arg(i));
            made << backUp(pc);
            QVERIFY(!made.last().isEmpty());
        }
        bool found = false;
        QVERIFY(backupmanifest::write(made[3], backupmanifest::read(made[3], &found), false) && found);
        QVERIFY(QDir().rename(made[0], elsewhere) && QFile::link(elsewhere, pc + "/Corvel3 backup 2000-01-01 0000"));
        QVERIFY(runTool("cp", {"-a", elsewhere, made[0]}));   // an oldest backup of its own again
        QMap<QString, Inventory> before;
        for (const QString &b : made)
            before[b] = treeContents(b);
        const Inventory outside = treeContents(elsewhere);

        EngineRig rig(1, {"Ok"});
        QCOMPARE(rig.operations.prune(pc, keep, dryRun), Operations::Result::Done);
        for (int i = 0; i < made.size(); ++i)
            QCOMPARE(treeContents(made[i]), kept.contains(i) ? before[made[i]] : Inventory());
        QVERIFY(backupmanifest::verify(made[2]).ok());
        QCOMPARE(treeContents(pc + "/Corvel3 backup 2000-01-01 0000"), outside);
        QCOMPARE(treeContents(elsewhere), outside);
        QCOMPARE(readBytes(oplog::path()).contains("\tdelete\t" + QFile::encodeName(made[0]) + "/"), !kept.contains(0));
    }

    // verify names missing and damaged songs and exits 1; without --read-data it looks at sizes.
    // backups lists them newest first with what the newer shares.
    void verifyAndList_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("readData");
        QTest::addColumn<QStringList>("named");
        QTest::newRow("whole") << "" << true << QStringList{};
        QTest::newRow("a flipped byte") << "flip" << true << QStringList{"Rock/a.mp3: damaged"};
        QTest::newRow("a flipped byte, sizes only") << "flip" << false << QStringList{};
        QTest::newRow("a missing song") << "remove" << false << QStringList{"Basi/2.mid: missing"};
        QTest::newRow("both") << "both" << true << QStringList{"Basi/2.mid: missing", "Rock/a.mp3: damaged"};
    }
    void verifyAndList()
    {
        QFETCH(QString, damage);
        QFETCH(bool, readData);
        QFETCH(QStringList, named);
        DriveFixture drive;
        fill(drive);
        const QString pc = rowFolder(tmp);
        const QString first = backUp(pc);
        drive.writeMidi("Basi/Nuove/3.mid", "Song 3");
        const QString second = backUp(pc);
        if (damage == "flip" || damage == "both") {
            QFile song(second + "/Rock/a.mp3");   // shared by both backups
            QVERIFY(song.open(QIODevice::ReadWrite) && song.seek(5000));
            const char byte = song.read(1).at(0) ^ 0x20;
            QVERIFY(song.seek(5000) && song.write(&byte, 1) == 1);
        }
        if (damage == "remove" || damage == "both")
            QVERIFY(QFile::remove(second + "/Basi/2.mid"));

        QJsonObject end;
        QCOMPARE(cliEnd(QStringList{"verify", pc} + (readData ? QStringList{"--read-data"} : QStringList{}), &end),
                 named.isEmpty() ? 0 : 1);
        QCOMPARE(end.value("folder").toString(), second);
        QCOMPARE(end.value("notDone").toVariant().toStringList(), named);

        QCOMPARE(cliEnd({"backups", pc}, &end), 0);
        const QJsonArray listed = end.value("backups").toArray();
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed[0].toObject().value("path").toString(), second);
        QCOMPARE(listed[1].toObject().value("path").toString(), first);
        QCOMPARE(listed[0].toObject().value("verified").toBool(), damage != "remove" && damage != "both");
        QVERIFY(listed[0].toObject().value("bytesLinked").toDouble() > 70000);
        QCOMPARE(cliEnd({"backups", tmp.path() + "/data"}, &end), 1);
    }

    // From a folder of several backups the user picks one from a list, on the worker thread.
    void restoreChoice_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("song");   // on the player afterwards
        QTest::newRow("the older") << "#1" << QByteArray("take 0");
        QTest::newRow("the newer") << "#0" << QByteArray("take 1");
        QTest::newRow("cancelled") << "" << QByteArray("lost");
    }
    void restoreChoice()
    {
        QFETCH(QString, answer);
        QFETCH(QByteArray, song);
        DriveFixture drive;
        fill(drive);
        const QString pc = rowFolder(tmp);
        for (const QByteArray take : {"take 0", "take 1"}) {
            drive.writeFile("Basi/1.mid", take);
            QVERIFY(!backUp(pc).isEmpty());
        }
        drive.writeFile("Basi/1.mid", "lost");
        EngineRig rig(0, {answer, "Si", "Ok"});
        rig.dialogs.listChoices = true;
        rig.operations.restore(pc);
        QCOMPARE(rig.dialogs.prompts.first().code, QString("restore.chooseBackup"));
        QCOMPARE(rig.dialogs.prompts.first().buttons.size(), 2);
        QCOMPARE(readBytes(drive.path("Basi/1.mid")), song);
    }

    // A FAT folder cannot link: every backup copies in full, says so once, and is whole. The
    // image goes through the kernel's vfat where there is one, else through fusefat.
    void fatFolderCopiesInFull()
    {
        DriveFixture drive;
        fill(drive);
        const QString mount = tmp.path() + "/fat", pc = mount + "/backups";
        QDir().mkpath(mount);
        if (::geteuid() != 0 || !runTool("mkfs.vfat", {"-C", mount + ".img", "16384"})
            || !(runTool("mount", {"-o", "loop,utf8", mount + ".img", mount})
                 || runTool("fusefat", {"-o", "rw+", mount + ".img", mount})))
            QSKIP("mounting a FAT image needs root, and a free loop device or fusefat");
        const auto unmount = qScopeGuard([&] { runTool("umount", {mount}); });
        QVERIFY(QDir().mkpath(pc));
        const QString first = backUp(pc);
        drive.writeMidi("Basi/Nuove/3.mid", "Song 3");
        QStringList codes;
        const QString second = backUp(pc, &codes);
        QCOMPARE(codes, (QStringList{"backup.fullCopy", "backup.done"}));
        QCOMPARE(library(second), treeContents(drive.root()));
        QVERIFY(backupmanifest::isComplete(second) && backupmanifest::verify(second).ok());
        for (const QString &path : library(first).keys())
            QCOMPARE(platform::linkCount(first + "/" + path), 1);
    }
};

QTEST_GUILESS_MAIN(TestIncremental)
#include "tst_incremental.moc"
