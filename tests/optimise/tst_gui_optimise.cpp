// The optimise panel and its run, driven through the operations window.
#include <QtTest>

#include "tests/common/drivefixture.h"
#include "tests/common/screenshots.h"
#include "tests/common/scripteddialogs.h"
#include "ui/core/messagetable.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

namespace {

const char kScanWarning[] = "ATTENZIONE";
const char kDone[] = "Operazione Completata";

// Clicks a check box on its indicator, as a user would.
void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

struct Window {
    MainWindow w;
    ScriptedDialogs dialogs;

    Window()
    {
        w.setDialogs(&dialogs);
        w.show();
    }
    Ui::MainWindow *ui() { return w.ui; }
    void openPanel() { QTest::mouseClick(w.ui->pushBtnOptimize, Qt::LeftButton); }
    void clickOk() { QTest::mouseClick(w.ui->Btn_Opt_Ok, Qt::LeftButton); }
    QStringList boxTexts() const
    {
        QStringList texts;
        for (const ScriptedDialogs::Prompt &p : dialogs.prompts)
            texts << p.text;
        return texts;
    }
    bool busyWidgetsHidden() const
    {
        return w.ui->progressBar->isHidden() && w.ui->labelAction->isHidden() && w.ui->pushButtonStop->isHidden();
    }
};

} // namespace

class TestGuiOptimise : public QObject {
    Q_OBJECT

private slots:
    void panelOpensWithEveryStepChosen();
    void checkBoxesFollowTheFullOptimisation();
    void cancelAndCloseOnlyHideThePanel_data();
    void cancelAndCloseOnlyHideThePanel();
    void okWithoutDeviceKeepsThePanelOpen_data();
    void okWithoutDeviceKeepsThePanelOpen();
    void onlyShiftTheImages();
    void fullOptimisationKeepsThePlayerSystem();
    void stopDuringTheScan_data();
    void stopDuringTheScan();
    void clicksDuringARunAreIgnored();
};

void TestGuiOptimise::panelOpensWithEveryStepChosen()
{
    Window win;
    auto *ui = win.ui();
    QVERIFY(ui->frame->isHidden());
    win.openPanel();
    clickBox(ui->Check_Optimize);   // leave it in another state than the one it opens with
    clickBox(ui->Check_Split);
    QTest::mouseClick(ui->Btn_Opt_Cancel, Qt::LeftButton);
    QVERIFY(ui->frame->isHidden());

    win.openPanel();
    QVERIFY(ui->frame->isVisible());
    for (QCheckBox *box : {ui->Check_Optimize, ui->Check_Delete, ui->Check_Move, ui->Check_Split})
        QVERIFY2(box->isChecked(), qPrintable(box->objectName()));
    QVERIFY(ui->Check_Optimize->isEnabled());
    for (QCheckBox *box : {ui->Check_Delete, ui->Check_Move, ui->Check_Split})
        QVERIFY2(!box->isEnabled(), qPrintable(box->objectName()));
    QVERIFY(ui->Btn_Opt_Ok->isEnabled());
    QVERIFY(win.dialogs.prompts.isEmpty());   // no device check here
    saveScreenshot(&win.w, "optimise-panel");
}

void TestGuiOptimise::checkBoxesFollowTheFullOptimisation()
{
    Window win;
    auto *ui = win.ui();
    win.openPanel();
    // A greyed-out box cannot be clicked.
    clickBox(ui->Check_Move);
    QVERIFY(ui->Check_Move->isChecked());

    clickBox(ui->Check_Optimize);
    for (QCheckBox *box : {ui->Check_Optimize, ui->Check_Delete, ui->Check_Move, ui->Check_Split})
        QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
    for (QCheckBox *box : {ui->Check_Delete, ui->Check_Move, ui->Check_Split})
        QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
    QVERIFY(!ui->Btn_Opt_Ok->isEnabled());
    saveScreenshot(&win.w, "optimise-panel-nothing-chosen");

    for (QCheckBox *box : {ui->Check_Delete, ui->Check_Move, ui->Check_Split}) {
        clickBox(box);
        QVERIFY2(ui->Btn_Opt_Ok->isEnabled(), qPrintable(box->objectName()));
        clickBox(box);
        QVERIFY2(!ui->Btn_Opt_Ok->isEnabled(), qPrintable(box->objectName()));
    }

    clickBox(ui->Check_Split);
    clickBox(ui->Check_Optimize);
    for (QCheckBox *box : {ui->Check_Delete, ui->Check_Move, ui->Check_Split}) {
        QVERIFY2(box->isChecked(), qPrintable(box->objectName()));
        QVERIFY2(!box->isEnabled(), qPrintable(box->objectName()));
    }
    QVERIFY(ui->Btn_Opt_Ok->isEnabled());
}

void TestGuiOptimise::cancelAndCloseOnlyHideThePanel_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("cancel") << "Btn_Opt_Cancel";
    QTest::newRow("close") << "pushBtnQuit_2";
}

void TestGuiOptimise::cancelAndCloseOnlyHideThePanel()
{
    QFETCH(QString, button);
    DriveFixture drive;
    drive.writeFile("junk.exe", "x");
    Window win;
    win.openPanel();
    QTest::mouseClick(win.w.findChild<QPushButton *>(button), Qt::LeftButton);
    QVERIFY(win.ui()->frame->isHidden());
    QVERIFY(win.dialogs.prompts.isEmpty());
    QVERIFY(win.busyWidgetsHidden());
    QVERIFY(QFile::exists(drive.path("junk.exe")));
}

void TestGuiOptimise::okWithoutDeviceKeepsThePanelOpen_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("italian") << 0;
    QTest::newRow("english") << 1;
}

void TestGuiOptimise::okWithoutDeviceKeepsThePanelOpen()
{
    QFETCH(int, language);
    DriveFixture drive;
    drive.writeFile("junk.exe", "x");
    drive.unplug();
    Window win;
    win.w.currentLanguage = language;
    win.w.operationOk = true;
    win.openPanel();
    win.dialogs.answer("Ok");
    win.clickOk();

    QCOMPARE(win.dialogs.prompts.size(), 1);
    const ScriptedDialogs::Prompt &box = win.dialogs.prompts.first();
    QCOMPARE(box.title, messageText(language, MSG_DEVICE_NOT_FOUND_TITLE));
    QCOMPARE(box.text, messageText(language, MSG_DEVICE_NOT_FOUND_TEXT));
    QCOMPARE(box.captions(), QStringList{"Ok"});
    QCOMPARE(box.parent, &win.w);
    QVERIFY(!win.w.operationOk);
    QVERIFY(win.ui()->frame->isVisible());
    QVERIFY(win.busyWidgetsHidden());
    QVERIFY(QFile::exists(drive.path("junk.exe")));
}

void TestGuiOptimise::onlyShiftTheImages()
{
    DriveFixture drive;
    drive.writeFile("Images/old.jpg", "old");
    drive.writeFile("Songs/cover.jpg", "cover");
    drive.writeFile("Songs/junk.exe", "junk");
    for (int i = 0; i < 1001; ++i)
        drive.writeFile(QStringLiteral("Big/%1.mp3").arg(i), QByteArray());

    Window win;
    auto *ui = win.ui();
    win.openPanel();
    clickBox(ui->Check_Optimize);
    clickBox(ui->Check_Move);
    win.dialogs.answer("Ok");
    win.dialogs.answer("Ok");
    win.clickOk();

    QVERIFY2(win.dialogs.failures.isEmpty(), qPrintable(win.dialogs.failures.join('\n')));
    QCOMPARE(win.dialogs.titles(), (QStringList{kScanWarning, kDone}));
    for (const ScriptedDialogs::Prompt &box : win.dialogs.prompts)
        QCOMPARE(box.parent, &win.w);
    QCOMPARE(win.dialogs.prompts[1].text, QStringLiteral("Tutte le immagini sono state spostate nella cartella ''Images''"));
    QVERIFY(!win.w.deleteSelected && win.w.moveSelected && !win.w.splitSelected);
    QVERIFY(QFile::exists(drive.path("Songs/junk.exe")));
    QVERIFY(QFile::exists(drive.path("Images/cover.jpg")));
    QCOMPARE(QDir(drive.path("Big")).entryList(QDir::Files).size(), 1001);   // no split
    QCOMPARE(win.w.libraryScan.oversizedFolders.size(), 1);
    QVERIFY(ui->frame->isHidden());
    QVERIFY(win.busyWidgetsHidden());
}

void TestGuiOptimise::fullOptimisationKeepsThePlayerSystem()
{
    DriveFixture drive;
    // The player's own entries carry no attributes at all here, as on a copy of the disk.
    drive.addSystemFiles();
    drive.addPlaylist("list.pls", {"\\sdmemory\\Songs\\a.mp3^A^0"});
    drive.writeFile("System/Corvel/settings.ini", "x");
    drive.writeFile("System/Corvel/skin.png", "x");
    drive.writeFile("System/readme", "x");
    drive.writeFile("CorvelUpdate/update.bin", "x");
    drive.writeFile("CorvelUpdate/splash.jpg", "x");
    drive.writeFile("Images/old.jpg", "old");
    drive.writeMp3("Songs/a.mp3", "A");
    drive.writeFile("Songs/cover.jpg", "cover");
    drive.writeFile("Songs/junk.exe", "junk");
    QMap<QString, QByteArray> system = treeContents(drive.path("System"));
    const QMap<QString, QByteArray> update = treeContents(drive.path("CorvelUpdate"));
    const QByteArray autoexec = treeContents(drive.root()).value("AUTOEXEC.BAT");
    QVERIFY(!autoexec.isEmpty());

    Window win;
    win.openPanel();
    for (int i = 0; i < 4; ++i)   // scan, deletion, images, split
        win.dialogs.answer("Ok");
    win.clickOk();

    QVERIFY2(win.dialogs.failures.isEmpty(), qPrintable(win.dialogs.failures.join('\n')));
    QCOMPARE(win.dialogs.titles(), (QStringList{kScanWarning, kDone, kDone, kDone}));
    QCOMPARE(win.dialogs.prompts[1].text, QStringLiteral("Tutti i file non supportati sono stati eliminati"));
    // Nothing oversized: the split only says so.
    QCOMPARE(win.dialogs.prompts[3].text,
             QStringLiteral("Tutte le cartelle sono già ottimizzate, nessuna operazione necessaria"));
    QVERIFY(win.w.deleteSelected && win.w.moveSelected && win.w.splitSelected);
    QCOMPARE(treeContents(drive.root()).value("AUTOEXEC.BAT"), autoexec);
    QCOMPARE(treeContents(drive.path("System")), system);
    QCOMPARE(treeContents(drive.path("CorvelUpdate")), update);
    QVERIFY(!QFile::exists(drive.path("Songs/junk.exe")));
    QVERIFY(QFile::exists(drive.path("Images/cover.jpg")));
    QVERIFY(QFile::exists(drive.path("Songs/a.mp3")));
    QVERIFY(win.busyWidgetsHidden());
}

void TestGuiOptimise::stopDuringTheScan_data()
{
    QTest::addColumn<bool>("rootFiles");
    // With files in the root the first wait belongs to the root pass, which a Stop ends alone.
    QTest::newRow("in the root pass") << true;
    QTest::newRow("in the folder walk") << false;
}

void TestGuiOptimise::stopDuringTheScan()
{
    QFETCH(bool, rootFiles);
    DriveFixture drive;
    if (rootFiles) {
        drive.writeFile("root-junk.exe", "x");
        drive.writeFile("root-pic.jpg", "x");
    }
    drive.writeFile("Images/.keep", "");
    drive.writeFile("Songs/junk.exe", "x");
    drive.writeFile("Songs/cover.jpg", "x");

    Window win;
    win.w.currentLanguage = 1;
    win.openPanel();
    clickBox(win.ui()->Check_Optimize);
    clickBox(win.ui()->Check_Delete);
    clickBox(win.ui()->Check_Move);
    win.dialogs.answer("Ok");   // scan warning
    win.dialogs.answer("Ok");   // Stop box
    if (rootFiles) {
        win.dialogs.answer("Ok");   // deletion done
        win.dialogs.answer("Ok");   // images moved
    }
    // The first event-pumping wait of the run is the first 200 ms pause of the scan.
    QTimer::singleShot(0, &win.w, [&] { QTest::mouseClick(win.ui()->pushButtonStop, Qt::LeftButton); });
    win.clickOk();

    QVERIFY2(win.dialogs.failures.isEmpty(), qPrintable(win.dialogs.failures.join('\n')));
    QCOMPARE(win.dialogs.prompts.value(1).title, QStringLiteral("Operation Stopped"));
    if (rootFiles) {
        QCOMPARE(win.dialogs.titles(), (QStringList{"WARNING", "Operation Stopped", "Operation completed",
                                                    "Operation completed"}));
        QVERIFY(!win.w.stopRequested);
        QVERIFY(QFile::exists(drive.path("root-junk.exe")));   // never classified
        QVERIFY(QFile::exists(drive.path("root-pic.jpg")));
        QVERIFY(!QFile::exists(drive.path("Songs/junk.exe")));
        QVERIFY(QFile::exists(drive.path("Images/cover.jpg")));
    } else {
        QCOMPARE(win.dialogs.prompts.size(), 2);   // the run ended with the scan
        QVERIFY(win.w.stopRequested);
        QVERIFY(QFile::exists(drive.path("Songs/junk.exe")));
        QVERIFY(QFile::exists(drive.path("Songs/cover.jpg")));
    }
    QVERIFY(win.busyWidgetsHidden());
}

void TestGuiOptimise::clicksDuringARunAreIgnored()
{
    DriveFixture drive;
    drive.writeFile("Songs/a.mp3", "x");

    Window win;
    win.openPanel();
    clickBox(win.ui()->Check_Optimize);
    clickBox(win.ui()->Check_Delete);
    win.dialogs.answer("Ok");   // scan warning
    win.dialogs.answer("Ok");   // nothing to delete
    bool panelShown = true;
    QTimer::singleShot(0, &win.w, [&] {
        win.w.on_pushBtnOptimize_clicked();
        panelShown = win.ui()->frame->isVisible();
        win.w.on_Btn_Opt_Ok_clicked();
    });
    win.clickOk();

    QVERIFY2(win.dialogs.failures.isEmpty(), qPrintable(win.dialogs.failures.join('\n')));
    QCOMPARE(win.dialogs.titles(), (QStringList{kScanWarning, kDone}));
    QVERIFY(!panelShown);
    QVERIFY(!win.w.busy);
}

QTEST_MAIN(TestGuiOptimise)
#include "tst_gui_optimise.moc"
