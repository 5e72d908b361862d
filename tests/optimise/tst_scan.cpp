// The library scan and the two steps it feeds: classification, long names, oversized folders,
// the Images folder, the player's own entries, and image name clashes.
#include "device/devicedrive.h"
#include "optimise/junkandimages.h"
#include "optimise/libraryscan.h"
#include "tests/common/drivefixture.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

struct Harness {
    OperationState state;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    OperationContext ctx{state, dialogs, progress, nullptr, [] { return findDeviceDrive(); }};
    LibraryScanState scan;

    void scanLibrary()
    {
        dialogs.answer("Ok");
        LibraryScanner(ctx, scan).scanLibrary();
    }
};

// Paths relative to the drive root, sorted: listing order must not matter.
QStringList relative(const QList<QFileInfo> &files, const QString &root)
{
    QStringList out;
    for (const QFileInfo &f : files)
        out << QDir(root).relativeFilePath(f.absoluteFilePath());
    out.sort();
    return out;
}

} // namespace

class TestScan : public QObject {
    Q_OBJECT

private slots:
    void classification_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        const int song = int(FileKind::Song), kept = int(FileKind::Kept), junk = int(FileKind::Unsupported);
        for (const char *name : {"song.MP3", "song.Kar", "song.MIDI", ".mp3"})
            QTest::newRow(name) << name << song;
        for (const char *name : {"song.mp3.bak", "v-orladev.log"})
            QTest::newRow(name) << name << kept;
        for (const char *name : {"readme", "x-v-orladev.log"})
            QTest::newRow(name) << name << junk;
    }
    void classification()
    {
        QFETCH(QString, name);
        LibraryScanState state;
        scanrules::fillExtensionLists(state);
        QTEST(int(scanrules::classify(name, state)), "kind");
    }

    // The root files, then the walk; the root "Images" folder is found whatever its case.
    void scanSortsTheDrive()
    {
        DriveFixture drive;
        for (const char *name : {"root.mp3", "root.jpg", "junk.exe", "Songs/a.mp3", "Songs/cover.png", "Songs/notes.doc",
                                 "Songs/Sub/c.mid", "IMAGES/keep.jpg", "IMAGES/Old/old.bmp"})
            drive.writeFile(name, "x");
        // A linked folder is neither listed nor entered: its songs would count twice.
        QVERIFY(QFile::link(drive.path("Songs"), drive.path("Link")));
        // A long name is shortened beside a file that has the short name already.
        const QString longName = QString(191, 'a') + ".v2.mp3", shortName = QString(170, 'a');
        drive.writeFile("Long/" + longName, "the song");
        drive.writeFile("Long/" + shortName + ".v2.mp3", "other");
        Harness h;
        h.scanLibrary();

        QCOMPARE(h.dialogs.titles(), QStringList{"ATTENZIONE"});
        QCOMPARE(h.dialogs.prompts[0].text, QString("ATTENZIONE: Scansione delle cartelle in corso.\nQuesta operazione "
                                                    "potrebbe richidere del tempo\nNON spegnere e NON scollegare il Corvel"));
        QCOMPARE(relative(h.scan.librarySongs, drive.root()),
                 QStringList({"Long/" + shortName + " (1).v2.mp3", "Long/" + shortName + ".v2.mp3", "Songs/Sub/c.mid",
                              "Songs/a.mp3", "root.mp3"}));
        QCOMPARE(treeContents(drive.path("Long")).value(shortName + " (1).v2.mp3"), QByteArray("the song"));
        QVERIFY(!QFile::exists(drive.path("Long/" + longName)));
        // Images directly in the images folder stay; those below it are gathered too.
        QCOMPARE(relative(h.scan.imagesToMove, drive.root()),
                 QStringList({"IMAGES/Old/old.bmp", "Songs/cover.png", "root.jpg"}));
        QCOMPARE(relative(h.scan.unsupportedFiles, drive.root()), QStringList({"Songs/notes.doc", "junk.exe"}));
    }

    void oversizedFolders_data()
    {
        QTest::addColumn<bool>("root");
        QTest::addColumn<int>("songs");
        QTest::newRow("folder, 1000") << false << 1000;
        QTest::newRow("folder, 1001") << false << 1001;
        QTest::newRow("root, 1000") << true << 1000;
        QTest::newRow("root, 1001") << true << 1001;
    }
    void oversizedFolders()
    {
        QFETCH(bool, root);
        QFETCH(int, songs);
        DriveFixture drive;
        Harness h;
        if (root) {
            // Three root songs on top of a count already made.
            for (const char *name : {"one.mp3", "two.KAR", "three.mf4", "three.mf4.bak"})
                drive.writeFile(name, "");
            h.scan.folderSongCount = songs - 3;
        } else {
            for (int i = 0; i < songs; ++i)
                drive.writeFile(QStringLiteral("Big/%1.mp3").arg(i), "");
            for (int i = 0; i < 5; ++i)   // companions are no songs
                drive.writeFile(QStringLiteral("Big/%1.mp3.bak").arg(i), "");
        }
        h.scanLibrary();
        const QString folder = root ? QDir::cleanPath(drive.root()) : drive.path("Big");
        const bool oversized = songs > 1000;
        QCOMPARE(h.scan.oversizedFolders.size(), int(oversized));
        QCOMPARE(h.scan.oversizedFoldersText, oversized ? folder + "\n" : QString());
        QCOMPARE(h.scan.folderSongCount, 0);
    }

    void clashingImagesGetNumberedNames()
    {
        DriveFixture drive(false);
        drive.writeFile("images/pic.jpg", "there");
        drive.writeFile("images/my.photo.jpg", "there too");
        // Taken temporary names are passed over: 7 beside the first image, 8 in "images".
        drive.writeFile("A/7.jpg", "seven");
        drive.writeFile("images/8.jpg", "eight");
        Harness h;
        h.scan.libraryDevicePath = drive.root();
        for (const QString &name : {"A/pic.jpg", "B/pic.jpg", "C/my.photo.jpg", "D/new.png"})
            h.scan.imagesToMove << QFileInfo(drive.writeFile(name, "from " + name.toUtf8()));
        h.scan.imagesToMove << QFileInfo(drive.path("E/gone.jpg"));   // removed since the scan
        QList<int> draws{7, 8, 9, 9, 10};
        JunkAndImages steps(h.ctx, h.scan);
        steps.drawNumber = [&] { return draws.isEmpty() ? 11 : draws.takeFirst(); };
        h.dialogs.answer("Ok");
        steps.moveImagesToFolder();

        const QMap<QString, QByteArray> expected{
            {"A/7.jpg", "seven"}, {"images/8.jpg", "eight"},
            {"images/pic.jpg", "there"}, {"images/my.photo.jpg", "there too"},
            {"images/pic_1.jpg", "from A/pic.jpg"}, {"images/pic_2.jpg", "from B/pic.jpg"},
            {"images/my_1.photo.jpg", "from C/my.photo.jpg"}, {"images/new.png", "from D/new.png"}};
        QCOMPARE(treeContents(drive.root()), expected);
        QCOMPARE(h.dialogs.titles(), QStringList{"Operazione Completata"});
        QCOMPARE(h.dialogs.prompts[0].text, "Immagini spostate nella cartella ''Images'': 4 su 5. Non è stato "
                                            "possibile spostare:\n" + drive.path("E/gone.jpg"));
    }
};

QTEST_GUILESS_MAIN(TestScan)
#include "tst_scan.moc"
