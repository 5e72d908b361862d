// Folder removal and re-creation: depth first, hidden entries too, the drive's root emptied but
// kept, Stop, undeletable entries, and the folders no removal may touch.
#include <QtTest>

#include "device/platform.h"
#include "tests/common/drivefixture.h"
#include "tests/transfer/transfertesting.h"
#include "transfer/folderremoval.h"

using transfer::recreateFolder;
using transfer::removeFolderTree;

class TestFolderRemoval : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp;
    QByteArray savedHome;

    QString fresh(const QString &name)
    {
        const QString path = tmp.path() + QLatin1Char('/') + name;
        QDir(path).removeRecursively();
        return path;
    }
    // A tree with hidden entries of both kinds, nested folders and a link to a folder outside.
    void fillTree(const QString &folder, const QString &outside)
    {
        writeBytes(folder + "/a.mid", "a");
        writeBytes(folder + "/.hidden.mid", "h");
        writeBytes(folder + "/marked.mid", "m");
        platform::setHiddenSystem(folder + "/marked.mid");
        writeBytes(folder + "/Rock/Deep/b.kar", "b");
        writeBytes(folder + "/.Hidden Folder/c.mp3", "c");
        writeBytes(outside + "/precious.mp3", "p");
        QFile::link(outside, folder + "/link to outside");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
        savedHome = qgetenv("HOME");
    }
    void cleanup() { qputenv("HOME", savedHome); }

    void removesEverythingButNeverFollowsLinks()
    {
        EngineRig rig;
        const QString folder = fresh("tree"), outside = fresh("outside");
        fillTree(folder, outside);
        int repaints = 0;
        QVERIFY(removeFolderTree(rig.ctx, folder, [&] { ++repaints; }));
        QVERIFY(!QFileInfo::exists(folder));
        QCOMPARE(readBytes(outside + "/precious.mp3"), QByteArray("p"));
        QVERIFY(repaints >= 8);   // once before each entry, at every level
        QVERIFY(rig.dialogs.prompts.isEmpty());
    }

    void nothingToRemove_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("recreated");
        QTest::newRow("missing folder") << "missing" << true;
        QTest::newRow("missing parent") << "missing/deeper" << false;
        QTest::newRow("parent is a file") << "plain.txt/inside" << false;
        QTest::newRow("empty path") << "" << false;
    }
    void nothingToRemove()
    {
        QFETCH(QString, path);
        QFETCH(bool, recreated);
        EngineRig rig;
        fresh("missing");
        writeBytes(tmp.path() + "/plain.txt", "x");
        const QString full = path.isEmpty() ? QString() : tmp.path() + "/" + path;
        QVERIFY(removeFolderTree(rig.ctx, full, {}));
        QCOMPARE(recreateFolder(rig.ctx, full), recreated);
        QCOMPARE(QFileInfo(full).isDir(), recreated);
        QCOMPARE(readBytes(tmp.path() + "/plain.txt"), QByteArray("x"));
    }

    void recreateEmptiesAndCreatesAgain()
    {
        EngineRig rig;
        const QString folder = fresh("again"), outside = fresh("outside2");
        fillTree(folder, outside);
        QVERIFY(recreateFolder(rig.ctx, folder));
        QVERIFY(QFileInfo(folder).isDir());
        QVERIFY(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty());
        QVERIFY(rig.progress.repaints > 0);
    }

    void driveRootIsEmptiedNeverRemoved_data()
    {
        QTest::addColumn<bool>("trailingSeparator");
        QTest::newRow("as the drive lookup gives it") << true;
        QTest::newRow("without its separator") << false;
    }
    void driveRootIsEmptiedNeverRemoved()
    {
        QFETCH(bool, trailingSeparator);
        DriveFixture drive;
        drive.addSystemFiles();
        drive.addPlaylist("Hits.pls", {"\\sdmemory\\Rock\\a.mid^x"});
        drive.writeMidi("Rock/a.mid", "A");
        drive.writeFile(".hidden", "h");
        EngineRig rig;
        QString root = drive.root();
        if (!trailingSeparator)
            root.chop(1);
        QVERIFY(removeFolderTree(rig.ctx, root, {}));
        QVERIFY(QFileInfo(drive.root()).isDir());
        QVERIFY(treeContents(drive.root()).isEmpty());
        QVERIFY(QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty());
        QVERIFY(!recreateFolder(rig.ctx, root));   // empty, but it still stands
        QVERIFY(QFileInfo(drive.root()).isDir());
    }

    void undeletableEntryStopsTheRemovalThere()
    {
        EngineRig rig;
        const QString folder = fresh("locked");
        writeBytes(folder + "/a.mid", "a");
        writeBytes(folder + "/m.mid", "m");
        writeBytes(folder + "/z.mid", "z");
        if (!makeImmutable(folder + "/m.mid"))
            QSKIP("chattr +i is not available here: no file can be made undeletable for root");
        const bool removed = removeFolderTree(rig.ctx, folder, {});
        QVERIFY(!recreateFolder(rig.ctx, folder));
        makeImmutable(folder + "/m.mid", false);
        QVERIFY(!removed);
        QVERIFY(!QFileInfo::exists(folder + "/a.mid"));
        QVERIFY(QFileInfo::exists(folder + "/m.mid"));
        QVERIFY(QFileInfo::exists(folder + "/z.mid"));
    }

    void stopEndsTheRemovalAfterTheEntryInHand()
    {
        EngineRig rig;
        const QString folder = fresh("stopped");
        writeBytes(folder + "/1.mid", "1");
        writeBytes(folder + "/2.mid", "2");
        writeBytes(folder + "/3.mid", "3");
        atNextEvents([&rig] { rig.state.stopRequested = true; });
        QVERIFY(!removeFolderTree(rig.ctx, folder, {}));
        QVERIFY(!QFileInfo::exists(folder + "/1.mid"));
        QVERIFY(QFileInfo::exists(folder + "/2.mid"));
        QVERIFY(QFileInfo::exists(folder + "/3.mid"));
    }

    void homeAndAboveAreRefusedTouchingNothing_data()
    {
        QTest::addColumn<QString>("target");   // relative to the temporary folder
        QTest::newRow("home") << "users/me";
        QTest::newRow("home with a trailing separator") << "users/me/";
        QTest::newRow("home spelt with ..") << "users/me/Music/..";
        QTest::newRow("above home") << "users";
        QTest::newRow("a link to home") << "link to me";
    }
    void homeAndAboveAreRefusedTouchingNothing()
    {
        QFETCH(QString, target);
        const QString users = fresh("users");
        writeBytes(users + "/me/Music/song.mp3", "mine");
        writeBytes(users + "/other.txt", "theirs");
        QFile::remove(tmp.path() + "/link to me");
        QFile::link(users + "/me", tmp.path() + "/link to me");
        qputenv("HOME", (users + "/me").toUtf8());
        EngineRig rig;
        QVERIFY(!removeFolderTree(rig.ctx, tmp.path() + "/" + target, {}));
        QVERIFY(!recreateFolder(rig.ctx, tmp.path() + "/" + target));
        QCOMPARE(readBytes(users + "/me/Music/song.mp3"), QByteArray("mine"));
        QCOMPARE(readBytes(users + "/other.txt"), QByteArray("theirs"));
        // A folder below home is fair game.
        QVERIFY(removeFolderTree(rig.ctx, users + "/me/Music", {}));
        QVERIFY(!QFileInfo::exists(users + "/me/Music"));
    }

    // The system's root is only ever asked about, never handed to a removal.
    void protectedFolders_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("isProtected");
        QTest::newRow("root") << "/" << true;
        QTest::newRow("root doubled") << "//" << true;
        QTest::newRow("root spelt with ..") << "/tmp/.." << true;
        QTest::newRow("the drive's parent") << "@drive/.." << true;
        QTest::newRow("the drive itself") << "@drive" << false;
        QTest::newRow("below the drive") << "@drive/Rock" << false;
        QTest::newRow("a sibling of the drive") << "@drive-sibling" << false;
    }
    void protectedFolders()
    {
        QFETCH(QString, folder);
        QFETCH(bool, isProtected);
        DriveFixture drive;
        QString root = drive.root();
        root.chop(1);
        folder.replace("@drive", root);
        QCOMPARE(transfer::isProtectedFolder(folder, drive.root()), isProtected);
    }
};

QTEST_GUILESS_MAIN(TestFolderRemoval)
#include "tst_folderremoval.moc"
