// Folder removal: the drive's root kept, links, early ends, protected folders.
#include <QtTest>

#include "device/platform.h"
#include "tests/common/drivefixture.h"
#include "tests/transfer/transfertesting.h"
#include "transfer/folderremoval.h"

using namespace transfer;

class TestFolderRemoval : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    const QByteArray savedHome = qgetenv("HOME");

private slots:
    void cleanup() { qputenv("HOME", savedHome); }

    void driveRootIsEmptiedNeverRemoved()
    {
        DriveFixture drive;
        drive.addSystemFiles();
        drive.writeFile(".Hidden Folder/.hidden.mid", "h");
        platform::setHiddenSystem(drive.writeFile("marked.mid", "m"));
        writeBytes(tmp.path() + "/outside/precious.mp3", "p");
        QFile::link(tmp.path() + "/outside", drive.path("link to outside"));
        EngineRig rig;
        // A folder that is itself a link goes as a link.
        QVERIFY(QFile::link(tmp.path() + "/outside", drive.path("Songs")) && removeFolderTree(rig.ctx, drive.path("Songs"), {}));
        QVERIFY(removeFolderTree(rig.ctx, drive.root(), {}));
        QVERIFY(QDir(drive.root()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
        QCOMPARE(readBytes(tmp.path() + "/outside/precious.mp3"), QByteArray("p"));   // the link was not followed
        QVERIFY(!recreateFolder(rig.ctx, drive.root()));   // empty, but it still stands
    }

    // The removal ends at the first entry it cannot delete, or on Stop after the entry in hand.
    void removalEndsEarly_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::newRow("a locked file") << false;
        QTest::newRow("Stop") << true;
    }
    void removalEndsEarly()
    {
        QFETCH(bool, stop);
        const QString folder = tmp.path() + "/locked";
        for (const QString &name : {"a.mid", "m.mid", "z.mid"})
            writeBytes(folder + "/" + name, "x");
        EngineRig rig;
        if (stop)
            QTimer::singleShot(0, [&rig] { rig.state.stopRequested = true; });
        else if (!runTool("chattr", {"+i", folder + "/m.mid"}))   // holds even against root
            QSKIP("chattr +i is not available here");
        const bool removed = removeFolderTree(rig.ctx, folder, {});
        runTool("chattr", {"-i", folder + "/m.mid"});
        QVERIFY(!removed);
        QCOMPARE(treeContents(folder).keys(), (QStringList{"m.mid", "z.mid"}));
    }

    void protectedFolders_data()
    {
        QTest::addColumn<QString>("folder");   // @home, @link (to home) and @drive stand for those
        QTest::addColumn<bool>("refused");
        QTest::newRow("the home folder is refused") << "@home/" << true;
        QTest::newRow("a folder above home is refused") << "@home/.." << true;
        QTest::newRow("a link to home is refused") << "@link" << true;
        QTest::newRow("a folder above the drive is refused") << "@drive/.." << true;
        QTest::newRow("a folder below home may go") << "@home/Music" << false;
    }
    void protectedFolders()
    {
        QFETCH(QString, folder);
        QFETCH(bool, refused);
        DriveFixture drive;
        const QString home = tmp.path() + "/users/me";
        writeBytes(home + "/Music/song.mp3", "mine");
        QFile::link(home, tmp.path() + "/link");
        qputenv("HOME", home.toUtf8());
        folder.replace("@home", home).replace("@link", tmp.path() + "/link").replace("@drive", drive.root().chopped(1));
        QCOMPARE(isProtectedFolder(folder, drive.root()), refused);
        EngineRig rig;
        if (refused && folder.startsWith(tmp.path()))   // never tried on a folder outside the test's own
            QVERIFY(!removeFolderTree(rig.ctx, folder, {}));
        QCOMPARE(readBytes(home + "/Music/song.mp3"), QByteArray("mine"));
    }
};

QTEST_GUILESS_MAIN(TestFolderRemoval)
#include "tst_folderremoval.moc"
