// The steps that act on the scan's lists: deleting unsupported files and gathering images.
#include "optimise/junkandimages.h"
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
    OperationContext ctx{state, dialogs, progress, nullptr, [] { return QString(); }};
    LibraryScanState scan;
    JunkAndImages steps{ctx, scan};

    explicit Harness(const QString &root) { scan.libraryDevicePath = root; }
};

const char kDoneTitleIt[] = "Operazione Completata";
const char kDoneLabelIt[] = "Operazione completata";
const char kDoneEn[] = "Operation completed";

} // namespace

class TestScanSteps : public QObject {
    Q_OBJECT

private slots:
    void clashingImagesGetNumberedNames_data();
    void clashingImagesGetNumberedNames();
    void deleteRemovesTheListedFiles_data();
    void deleteRemovesTheListedFiles();
    void emptyListsSayThereIsNothingToDo_data();
    void emptyListsSayThereIsNothingToDo();
    void stopEndsOnlyTheStep_data();
    void stopEndsOnlyTheStep();
};

void TestScanSteps::clashingImagesGetNumberedNames_data()
{
    QTest::addColumn<QString>("imagesName");
    QTest::addColumn<int>("language");
    QTest::newRow("Images, italian") << "Images" << 0;
    QTest::newRow("lower-case images, english") << "images" << 1;
}

void TestScanSteps::clashingImagesGetNumberedNames()
{
    QFETCH(QString, imagesName);
    QFETCH(int, language);

    DriveFixture drive(false);
    const QString images = imagesName + "/";
    drive.writeFile(images + "pic.jpg", "already there");
    drive.writeFile(images + "my.photo.jpg", "already there too");
    // Temporary names that are taken must not be used: 7 is taken beside the first clashing
    // image, 8 in the images folder; 9 is free.
    drive.writeFile("A/7.jpg", "seven");
    drive.writeFile(images + "8.jpg", "eight");

    Harness h(drive.root());
    h.state.currentLanguage = language;
    for (const QString &name : QStringList{"A/pic.jpg", "B/pic.jpg", "C/my.photo.jpg", "D/new.png", images + "Sub/pic.jpg"})
        h.scan.imagesToMove << QFileInfo(drive.writeFile(name, "from " + name.toUtf8()));
    QList<int> draws{7, 8, 9, 9, 10, 11};
    h.steps.drawNumber = [&] { return draws.isEmpty() ? 12 : draws.takeFirst(); };
    h.dialogs.answer("Ok");
    h.steps.moveImagesToFolder();

    QMap<QString, QByteArray> expected{
        {"pic.jpg", "already there"},
        {"pic_1.jpg", "from A/pic.jpg"},
        {"pic_2.jpg", "from B/pic.jpg"},
        {"pic_3.jpg", "from " + images.toUtf8() + "Sub/pic.jpg"},
        {"my.photo.jpg", "already there too"},
        {"my_1.photo.jpg", "from C/my.photo.jpg"},
        {"new.png", "from D/new.png"},
        {"8.jpg", "eight"},
    };
    QCOMPARE(treeContents(drive.path(imagesName), false), expected);
    // Nothing left behind under a temporary name.
    QCOMPARE(treeContents(drive.path("A")), (QMap<QString, QByteArray>{{"7.jpg", "seven"}}));
    QVERIFY(treeContents(drive.path("B")).isEmpty());
    QVERIFY(treeContents(drive.path("C")).isEmpty());

    QVERIFY(h.scan.imagesToMove.isEmpty());
    QVERIFY(!h.state.stopRequested);
    QCOMPARE(h.progress.values, (QList<int>{0, 1, 2, 3, 4, 5, 0}));
    QCOMPARE(h.progress.barMaximum, 5);
    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join('\n')));
    QCOMPARE(h.dialogs.prompts.size(), 1);
    if (language == 0) {
        QCOMPARE(h.progress.statusHistory, (QStringList{"Spostamento immagini...", kDoneLabelIt}));
        QCOMPARE(h.dialogs.prompts[0].title, QString(kDoneTitleIt));
        QCOMPARE(h.dialogs.prompts[0].text,
                 QStringLiteral("Tutte le immagini sono state spostate nella cartella ''Images''"));
    } else {
        QCOMPARE(h.progress.statusHistory, (QStringList{"Shifting images...", kDoneEn}));
        QCOMPARE(h.dialogs.prompts[0].title, QString(kDoneEn));
        QCOMPARE(h.dialogs.prompts[0].text, QStringLiteral("All the images have been moved into the folder ''Images''"));
    }
}

void TestScanSteps::deleteRemovesTheListedFiles_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("doneLabel");
    QTest::addColumn<QString>("doneTitle");
    QTest::addColumn<QString>("doneText");
    QTest::newRow("italian") << 0 << kDoneLabelIt << kDoneTitleIt << "Tutti i file non supportati sono stati eliminati";
    QTest::newRow("english") << 1 << kDoneEn << kDoneEn << "All the unsupported files have been deleted";
}

void TestScanSteps::deleteRemovesTheListedFiles()
{
    QFETCH(int, language);
    QFETCH(QString, doneLabel);
    QFETCH(QString, doneTitle);
    QFETCH(QString, doneText);

    DriveFixture drive(false);
    drive.writeFile("Songs/keep.mp3", "song");
    Harness h(drive.root());
    h.state.currentLanguage = language;
    for (const QString &name : {"junk.exe", "Songs/readme", "Songs/x-v-orladev.log"})
        h.scan.unsupportedFiles << QFileInfo(drive.writeFile(name, "junk"));
    h.scan.unsupportedFiles << QFileInfo(drive.path("Songs/already-gone.doc"));
    h.dialogs.answer("Ok");
    h.steps.deleteUnsupportedFiles();

    QCOMPARE(treeContents(drive.root()), (QMap<QString, QByteArray>{{"Songs/keep.mp3", "song"}}));
    QCOMPARE(h.scan.unsupportedFiles.size(), 4);   // kept until the next run empties it
    QCOMPARE(h.progress.barMaximum, 4);
    QCOMPARE(h.progress.values, (QList<int>{0, 1, 2, 3, 4, 0}));
    // The deleting label exists in Italian only.
    QCOMPARE(h.progress.statusHistory, (QStringList{"Cancellazione file non supportati...", doneLabel}));
    QCOMPARE(h.dialogs.prompts.size(), 1);
    QCOMPARE(h.dialogs.prompts[0].title, doneTitle);
    QCOMPARE(h.dialogs.prompts[0].text, doneText);
    QCOMPARE(h.dialogs.prompts[0].captions(), QStringList{"Ok"});
    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join('\n')));
}

void TestScanSteps::emptyListsSayThereIsNothingToDo_data()
{
    QTest::addColumn<bool>("move");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("delete, italian") << false << 0 << QStringList{kDoneLabelIt} << kDoneTitleIt
                                     << "Nessun file incompatibile trovato";
    QTest::newRow("delete, english") << false << 1 << QStringList{kDoneEn} << kDoneEn << "No unsupported file found";
    QTest::newRow("move, italian") << true << 0 << QStringList{"Spostamento immagini...", kDoneLabelIt}
                                   << kDoneTitleIt << "Nessuna immagine trovata";
    QTest::newRow("move, english") << true << 1 << QStringList{"Shifting images...", kDoneEn} << kDoneEn
                                   << "No picture found";
}

void TestScanSteps::emptyListsSayThereIsNothingToDo()
{
    QFETCH(bool, move);
    QFETCH(int, language);
    QFETCH(QStringList, labels);
    QFETCH(QString, title);
    QFETCH(QString, text);

    DriveFixture drive(false);
    Harness h(drive.root());
    h.state.currentLanguage = language;
    h.progress.barMaximum = 77;
    h.dialogs.answer("Ok");
    if (move)
        h.steps.moveImagesToFolder();
    else
        h.steps.deleteUnsupportedFiles();

    QCOMPARE(h.progress.statusHistory, labels);
    QCOMPARE(h.dialogs.titles(), QStringList{title});
    QCOMPARE(h.dialogs.prompts[0].text, text);
    QVERIFY(h.progress.values.isEmpty());
    QCOMPARE(h.progress.barMaximum, 77);
}

void TestScanSteps::stopEndsOnlyTheStep_data()
{
    QTest::addColumn<bool>("move");
    QTest::newRow("delete") << false;
    QTest::newRow("move") << true;
}

void TestScanSteps::stopEndsOnlyTheStep()
{
    QFETCH(bool, move);

    DriveFixture drive(false);
    QDir().mkpath(drive.path("Images"));
    Harness h(drive.root());
    h.scan.unsupportedFiles << QFileInfo(drive.writeFile("junk.exe", "junk"));
    h.scan.imagesToMove << QFileInfo(drive.writeFile("Songs/pic.jpg", "pic"));
    const QMap<QString, QByteArray> before = treeContents(drive.root());
    h.state.stopRequested = true;
    if (move)
        h.steps.moveImagesToFolder();
    else
        h.steps.deleteUnsupportedFiles();

    QVERIFY(!h.state.stopRequested);
    QCOMPARE(treeContents(drive.root()), before);
    QVERIFY(h.dialogs.prompts.isEmpty());
    QCOMPARE(h.scan.imagesToMove.size(), 1);
}

QTEST_GUILESS_MAIN(TestScanSteps)
#include "tst_scan_steps.moc"
