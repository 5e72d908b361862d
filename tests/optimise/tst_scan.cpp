// The library scan: classification, long names, oversized folders, the Images folder, hidden
// entries and Stop in both passes.
#include "device/devicedrive.h"
#include "device/platform.h"
#include "optimise/junkandimages.h"
#include "optimise/libraryscan.h"
#include "tests/common/drivefixture.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

// Sets the Stop flag at the n-th repaint of the bar, i.e. just before the n-th 200 ms wait, which
// is where a click on Stop would be seen.
class StopAtRepaint : public RecordingProgress {
public:
    OperationState *state = nullptr;
    int stopAt = -1;
    void repaintBar() override
    {
        RecordingProgress::repaintBar();
        if (repaints == stopAt)
            state->stopRequested = true;
    }
};

struct Harness {
    OperationState state;
    ScriptedDialogs dialogs;
    StopAtRepaint progress;
    OperationContext ctx{state, dialogs, progress, nullptr, [] { return findDeviceDrive(); }};
    LibraryScanState scan;

    Harness() { progress.state = &state; }

    void scanLibrary()
    {
        dialogs.answer(QStringLiteral("Ok"));
        LibraryScanner(ctx, scan).scanLibrary();
    }
};

// Paths relative to the drive root, sorted, for comparisons that must not depend on listing order.
QStringList relative(const QList<QFileInfo> &files, const QString &root)
{
    QStringList out;
    for (const QFileInfo &f : files)
        out << QDir(root).relativeFilePath(f.absoluteFilePath());
    out.sort();
    return out;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestScan : public QObject {
    Q_OBJECT

private slots:
    void classification_data();
    void classification();
    void scanSortsTheDrive_data();
    void scanSortsTheDrive();
    void longNamesAreShortened_data();
    void longNamesAreShortened();
    void oversizedFolders_data();
    void oversizedFolders();
    void rootCountsTowardsItsOwnThreshold_data();
    void rootCountsTowardsItsOwnThreshold();
    void hiddenAndSystemEntriesAreNeverTouched();
    void stopInRootPassEndsOnlyTheRootPass();
    void stopInWalkEndsTheScan();
    void noDeviceScansNothing();
};

void TestScan::classification_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    const int song = int(FileKind::Song), image = int(FileKind::Image), kept = int(FileKind::Kept),
              junk = int(FileKind::Unsupported);
    QTest::newRow("upper-case mp3") << "song.MP3" << song;
    QTest::newRow("mixed-case kar") << "song.Kar" << song;
    QTest::newRow("upper-case midi") << "song.MIDI" << song;
    QTest::newRow("mid") << "song.mid" << song;
    QTest::newRow("mf5") << "song.mf5" << song;
    QTest::newRow("only the extension") << ".mp3" << song;
    QTest::newRow("song backup") << "song.mp3.bak" << kept;
    QTest::newRow("song as image name") << "song.mp3.jpg" << image;
    QTest::newRow("jpeg") << "cover.JPEG" << image;
    QTest::newRow("tiff") << "scan.tiff" << image;
    QTest::newRow("text") << "lyrics.txt" << kept;
    QTest::newRow("cdg") << "song.cdg" << kept;
    QTest::newRow("no extension") << "readme" << junk;
    QTest::newRow("extension as whole name") << "mp3" << junk;
    QTest::newRow("extension not at the end") << "song.mp3x" << junk;
    QTest::newRow("gif") << "anim.gif" << junk;
    QTest::newRow("player log") << "v-orladev.log" << kept;
    QTest::newRow("player log, upper case") << "V-ORLADEV.LOG" << kept;
    QTest::newRow("log name not at the start") << "x-v-orladev.log" << junk;
    QTest::newRow("log name twice") << "v-orladev.v-orladev" << junk;
}

void TestScan::classification()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    LibraryScanState state;
    scanrules::fillExtensionLists(state);
    QCOMPARE(int(scanrules::classify(name, state)), kind);
}

void TestScan::scanSortsTheDrive_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("imagesName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");
    QTest::newRow("italian") << 0 << "Images" << "ATTENZIONE"
                             << "ATTENZIONE: Scansione delle cartelle in corso.\nQuesta operazione potrebbe "
                                "richidere del tempo\nNON spegnere e NON scollegare il Corvel"
                             << "Scansione cartelle in corso...";
    QTest::newRow("english, images folder in capitals")
        << 1 << "IMAGES" << "WARNING"
        << "WARNING: Scanning in progress.\nThis may take some time\nDo NOT switch off and do NOT unplug Corvel"
        << "Scanning directories...";
}

void TestScan::scanSortsTheDrive()
{
    QFETCH(int, language);
    QFETCH(QString, imagesName);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, label);

    DriveFixture drive;
    drive.writeMp3("root.mp3", "Root");
    drive.writeFile("root.jpg", "img");
    drive.writeFile("junk.exe", "x");
    drive.writeMp3("Songs/a.mp3", "A");
    drive.writeKaraoke("Songs/b.KAR", "B");
    drive.writeFile("Songs/cover.png", "img");
    drive.writeFile("Songs/notes.doc", "x");
    drive.writeFile("Songs/b.KAR.dat", "x");
    drive.writeMidi("Songs/Sub/c.mid", "C");
    drive.writeFile(imagesName + "/keep.jpg", "img");
    drive.writeFile(imagesName + "/Old/old.bmp", "img");
    // A linked folder is neither listed nor entered: its songs would count twice.
    QVERIFY(QFile::link(drive.path("Songs"), drive.path("Link")));

    Harness h;
    h.state.currentLanguage = language;
    h.scanLibrary();

    QCOMPARE(h.dialogs.prompts.size(), 1);
    QCOMPARE(h.dialogs.prompts[0].title, title);
    QCOMPARE(h.dialogs.prompts[0].text, text);
    QCOMPARE(h.dialogs.prompts[0].icon, BoxIcon::Information);
    QCOMPARE(h.dialogs.prompts[0].captions(), QStringList{"Ok"});
    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join('\n')));
    QCOMPARE(h.progress.statusHistory, QStringList{label});

    QCOMPARE(h.scan.libraryDevicePath, drive.root());
    QCOMPARE(relative(h.scan.librarySongs, drive.root()),
             sorted({"root.mp3", "Songs/a.mp3", "Songs/b.KAR", "Songs/Sub/c.mid"}));
    QCOMPARE(relative(h.scan.imagesToMove, drive.root()),
             sorted({"root.jpg", "Songs/cover.png", imagesName + "/Old/old.bmp"}));
    QCOMPARE(relative(h.scan.unsupportedFiles, drive.root()), sorted({"junk.exe", "Songs/notes.doc"}));
    QVERIFY(h.scan.oversizedFolders.isEmpty());
    QCOMPARE(h.scan.songExtensions,
             QStringList({".mp3", ".midi", ".mid", ".mf3", ".mf4", ".mf5", ".kar"}));
    // Root files first, then the walk: scan order puts the root song first.
    QCOMPARE(h.scan.librarySongs.first().fileName(), QStringLiteral("root.mp3"));
    // A folder of the walk costs one wait, every root file too: 3 root files + Songs, Sub,
    // the images folder and Old.
    QCOMPARE(h.progress.repaints, 7);
    QCOMPARE(h.progress.barMinimum, 0);
    QCOMPARE(h.progress.barMaximum, 100);
    QVERIFY(!h.state.stopRequested);

    // A second scan adds nothing to the extension lists.
    h.scanLibrary();
    QCOMPARE(h.scan.songExtensions.size(), 7);
    QCOMPARE(h.scan.keptExtensions.size(), 4);
}

void TestScan::longNamesAreShortened_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("taken");
    QTest::addColumn<QString>("expected");
    const QString a191 = QString(191, 'a'), a170 = QString(170, 'a');
    QTest::newRow("191 characters") << a191 + ".mp3" << 0 << a170 + ".mp3";
    QTest::newRow("short name taken") << a191 + ".mp3" << 1 << a170 + " (1).mp3";
    QTest::newRow("numbered name taken too") << a191 + ".mp3" << 2 << a170 + " (2).mp3";
    QTest::newRow("190 characters stay") << QString(190, 'a') + ".mp3" << 0 << QString(190, 'a') + ".mp3";
    // Base before the last dot, suffix after the first one.
    QTest::newRow("dots in the name") << QString(188, 'b') + ".v2.mp3" << 0 << QString(170, 'b') + ".v2.mp3";
    QTest::newRow("unsupported file") << a191 + ".exe" << 0 << a170 + ".exe";
}

void TestScan::longNamesAreShortened()
{
    QFETCH(QString, name);
    QFETCH(int, taken);
    QFETCH(QString, expected);

    DriveFixture drive;
    drive.writeFile("Long/" + name, "the song");
    const QString shortBase = QString(170, name.at(0));
    const QString suffix = QFileInfo(name).completeSuffix();
    if (taken >= 1)
        drive.writeFile("Long/" + shortBase + "." + suffix, "other");
    for (int n = 1; n < taken; ++n)
        drive.writeFile("Long/" + shortBase + QStringLiteral(" (%1).").arg(n) + suffix, "other");

    Harness h;
    h.scanLibrary();

    QCOMPARE(treeContents(drive.path("Long")).value(expected), QByteArray("the song"));
    if (expected != name)
        QVERIFY(!QFile::exists(drive.path("Long/" + name)));
    const QList<QFileInfo> &list = suffix.endsWith("mp3") ? h.scan.librarySongs : h.scan.unsupportedFiles;
    // The files that took the short names are classified too.
    QCOMPARE(list.size(), 1 + taken);
    QCOMPARE(relative(list, drive.root()).count("Long/" + expected), 1);
    QCOMPARE(h.scan.folderListing.size(), 1 + taken);
}

void TestScan::oversizedFolders_data()
{
    QTest::addColumn<int>("songs");
    QTest::addColumn<int>("songsInSubFolder");
    QTest::addColumn<bool>("oversized");
    QTest::newRow("1000 songs") << 1000 << 0 << false;
    QTest::newRow("1001 songs") << 1001 << 0 << true;
    QTest::newRow("1200 spread over a sub-folder") << 600 << 600 << false;
}

void TestScan::oversizedFolders()
{
    QFETCH(int, songs);
    QFETCH(int, songsInSubFolder);
    QFETCH(bool, oversized);

    DriveFixture drive;
    for (int i = 0; i < songs; ++i)
        drive.writeFile(QStringLiteral("Big/%1.mp3").arg(i), QByteArray());
    for (int i = 0; i < songsInSubFolder; ++i)
        drive.writeFile(QStringLiteral("Big/Sub/%1.mid").arg(i), QByteArray());
    // Companions and other files do not count as songs.
    for (int i = 0; i < 5; ++i)
        drive.writeFile(QStringLiteral("Big/%1.mp3.bak").arg(i), QByteArray());
    drive.writeFile("Small/one.mp3", QByteArray());

    Harness h;
    h.scanLibrary();

    QCOMPARE(h.scan.librarySongs.size(), songs + songsInSubFolder + 1);
    QCOMPARE(h.scan.folderSongCount, 0);
    if (oversized) {
        QCOMPARE(h.scan.oversizedFolders.size(), 1);
        QCOMPARE(h.scan.oversizedFolders.first().absoluteFilePath(), drive.path("Big"));
        QCOMPARE(h.scan.oversizedFoldersText, drive.path("Big") + "\n");
    } else {
        QVERIFY(h.scan.oversizedFolders.isEmpty());
        QVERIFY(h.scan.oversizedFoldersText.isEmpty());
    }
}

// Each root file costs a 200 ms wait, so the root's threshold is reached with a count the scan
// has already made: three root songs on top of it.
void TestScan::rootCountsTowardsItsOwnThreshold_data()
{
    QTest::addColumn<int>("countBefore");
    QTest::addColumn<bool>("oversized");
    QTest::newRow("1000 in all") << 997 << false;
    QTest::newRow("1001 in all") << 998 << true;
}

void TestScan::rootCountsTowardsItsOwnThreshold()
{
    QFETCH(int, countBefore);
    QFETCH(bool, oversized);

    DriveFixture drive;
    drive.writeFile("one.mp3", QByteArray());
    drive.writeFile("two.KAR", QByteArray());
    drive.writeFile("three.mf4", QByteArray());
    drive.writeFile("cover.jpg", QByteArray());

    Harness h;
    scanrules::fillExtensionLists(h.scan);
    h.scan.libraryDevicePath = drive.root();
    h.scan.folderSongCount = countBefore;
    LibraryScanner(h.ctx, h.scan).scanRootFolder();

    QCOMPARE(h.scan.librarySongs.size(), 3);
    QCOMPARE(h.scan.imagesToMove.size(), 1);
    QCOMPARE(h.scan.folderSongCount, 0);
    QCOMPARE(h.progress.repaints, 4);
    QCOMPARE(h.scan.oversizedFolders.size(), oversized ? 1 : 0);
    if (oversized) {
        QCOMPARE(h.scan.oversizedFolders.first().absoluteFilePath(), QDir::cleanPath(drive.root()));
        QCOMPARE(h.scan.oversizedFoldersText, QDir::cleanPath(drive.root()) + "\n");
    }
}

void TestScan::hiddenAndSystemEntriesAreNeverTouched()
{
    DriveFixture drive;
    drive.addSystemFiles();   // AUTOEXEC.BAT and System/ without any attributes
    drive.writeFile("System/Playlist/list.pls", "x");
    drive.writeFile("System/junk.exe", "x");
    drive.writeFile("System/logo.png", "x");
    drive.writeFile("CorvelUpdate/setup.zip", "x");
    drive.writeFile("CorvelUpdate/splash.jpg", "x");
    drive.writeFile(".hidden.exe", "x");
    drive.writeFile("Songs/.trash.jpg", "x");
    drive.writeFile("Songs/a.mp3", "x");
    drive.writeFile("Songs/junk.exe", "x");
    const QString markedFile = drive.writeFile("Songs/marked.exe", "x");
    drive.writeFile("Secret/junk.exe", "x");
    drive.writeFile("Secret/pic.jpg", "x");
    const bool canMark = platform::setHiddenSystem(markedFile)
                         && platform::setHiddenSystem(drive.path("Secret"));
    const QMap<QString, QByteArray> before = treeContents(drive.root());

    Harness h;
    h.scanLibrary();
    QCOMPARE(relative(h.scan.librarySongs, drive.root()), QStringList{"Songs/a.mp3"});
    QCOMPARE(relative(h.scan.imagesToMove, drive.root()), QStringList());
    const QStringList expectedJunk = canMark ? QStringList{"Songs/junk.exe"}
                                             : QStringList{"Secret/junk.exe", "Songs/junk.exe", "Songs/marked.exe"};
    QCOMPARE(relative(h.scan.unsupportedFiles, drive.root()), sorted(expectedJunk));

    // Through the two steps the scan feeds: everything but the listed junk is still there.
    h.dialogs.answer("Ok");
    h.dialogs.answer("Ok");
    JunkAndImages steps(h.ctx, h.scan);
    steps.deleteUnsupportedFiles();
    steps.moveImagesToFolder();
    QMap<QString, QByteArray> expected = before;
    for (const QString &junk : expectedJunk)
        expected.remove(junk);
    QCOMPARE(treeContents(drive.root()), expected);
    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join('\n')));
    if (!canMark)
        QSKIP("this file system keeps no DOS attributes; marked entries were checked as plain ones");
}

void TestScan::stopInRootPassEndsOnlyTheRootPass()
{
    DriveFixture drive;
    drive.writeFile("one.mp3", "x");
    drive.writeFile("two.mp3", "x");
    drive.writeFile("three.mp3", "x");
    drive.writeFile("Songs/a.mp3", "x");
    drive.writeFile("Songs/junk.exe", "x");

    Harness h;
    h.progress.stopAt = 2;   // seen after the second root file's wait
    h.scanLibrary();

    QVERIFY(!h.state.stopRequested);
    // One root song classified before the Stop; the walk then ran as usual.
    QCOMPARE(h.scan.librarySongs.size(), 2);
    QCOMPARE(h.scan.librarySongs.last().absoluteFilePath(), drive.path("Songs/a.mp3"));
    QCOMPARE(relative(h.scan.unsupportedFiles, drive.root()), QStringList{"Songs/junk.exe"});
    QCOMPARE(h.progress.repaints, 3);
    QCOMPARE(h.progress.barMaximum, 100);
}

void TestScan::stopInWalkEndsTheScan()
{
    DriveFixture drive;
    drive.writeFile("A/a.mp3", "x");
    drive.writeFile("B/b.mp3", "x");
    drive.writeFile("C/c.mp3", "x");

    Harness h;
    h.progress.stopAt = 2;   // seen after the second folder's wait
    h.scanLibrary();

    QVERIFY(h.state.stopRequested);   // left set: the run skips its later steps
    QCOMPARE(h.scan.librarySongs.size(), 1);
    QCOMPARE(h.progress.repaints, 2);
    QCOMPARE(h.progress.barMaximum, 100);
}

void TestScan::noDeviceScansNothing()
{
    DriveFixture drive;
    drive.writeFile("junk.exe", "x");
    drive.unplug();
    QTemporaryDir work;
    const QString previous = QDir::currentPath();
    QFile(work.filePath("junk.exe")).open(QIODevice::WriteOnly);
    QDir::setCurrent(work.path());

    Harness h;
    h.scanLibrary();
    QDir::setCurrent(previous);

    QVERIFY(h.scan.libraryDevicePath.isEmpty());
    QVERIFY(h.scan.unsupportedFiles.isEmpty());
    QCOMPARE(h.progress.repaints, 0);
}

QTEST_GUILESS_MAIN(TestScan)
#include "tst_scan.moc"
