// The optimise panel and its run, driven through the operations window.
#include <QtTest>

#include "tests/common/drivefixture.h"
#include "tests/common/screenshots.h"
#include "tests/common/scripteddialogs.h"
#include "core/messagetable.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

namespace {

// Clicks a check box on its indicator, as a user would.
void clickBox(QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2)); }

struct Window {
    MainWindow w;
    ScriptedDialogs dialogs;
    Ui::MainWindow *ui = w.ui;

    Window()
    {
        w.setDialogs(&dialogs);
        w.show();
        QTest::mouseClick(ui->pushBtnOptimize, Qt::LeftButton);
    }
    void run(int answers)
    {
        while (answers-- > 0)
            dialogs.answer("Ok");
        QTest::mouseClick(ui->Btn_Opt_Ok, Qt::LeftButton);
        QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join('\n')));
        QVERIFY(ui->progressBar->isHidden() && ui->labelAction->isHidden() && ui->pushButtonStop->isHidden());
    }
    // Which boxes are checked and which can be clicked: "checked Delete, usable Optimize Delete".
    QString boxes() const
    {
        QStringList checked{"checked"}, usable{"usable"};
        for (QCheckBox *box : {ui->Check_Optimize, ui->Check_Delete, ui->Check_Move, ui->Check_Split}) {
            if (box->isChecked())
                checked << box->objectName().mid(6);
            if (box->isEnabled())
                usable << box->objectName().mid(6);
        }
        return checked.join(' ') + ", " + usable.join(' ');
    }
};

} // namespace

class TestGuiOptimise : public QObject {
    Q_OBJECT

private slots:
    // The full optimisation includes the single steps, chosen one by one only while it is off. OK without the player
    // says so and keeps the panel open.
    void panelBoxesAndTheOkRule()
    {
        DriveFixture drive;
        drive.unplug();
        Window win;
        auto *ui = win.ui;
        const QString opened = "checked Optimize Delete Move Split, usable Optimize";
        clickBox(ui->Check_Move);   // greyed out: nothing happens
        QCOMPARE(win.boxes(), opened);
        clickBox(ui->Check_Optimize);
        QCOMPARE(win.boxes(), QString("checked, usable Optimize Delete Move Split"));
        QVERIFY(!ui->Btn_Opt_Ok->isEnabled());
        for (QCheckBox *box : {ui->Check_Delete, ui->Check_Move, ui->Check_Split}) {   // OK while a step is chosen
            clickBox(box);
            QVERIFY2(ui->Btn_Opt_Ok->isEnabled(), qPrintable(box->objectName()));
            clickBox(box);
            QVERIFY2(!ui->Btn_Opt_Ok->isEnabled(), qPrintable(box->objectName()));
        }
        clickBox(ui->Check_Optimize);
        QCOMPARE(win.boxes(), opened);
        clickBox(ui->Check_Optimize);
        // Nothing behind the open panel takes a click or the focus: Space would start a backup.
        const auto reachableBehind = [&] {
            QStringList names;
            for (QPushButton *b : win.w.findChildren<QPushButton *>())
                if (!ui->frame->isAncestorOf(b) && b->isEnabled())
                    names << b->objectName();
            return names;
        };
        QCOMPARE(reachableBehind(), QStringList());
        QTest::mouseClick(ui->Btn_Opt_Cancel, Qt::LeftButton);
        QVERIFY(ui->frame->isHidden());
        QVERIFY(reachableBehind().contains("pushBtnBackup"));
        QTest::mouseClick(ui->pushBtnOptimize, Qt::LeftButton);   // opens afresh
        QCOMPARE(win.boxes(), opened);
        saveScreenshot(&win.w, "optimise-panel");
        win.run(1);
        QCOMPARE(win.dialogs.titles(), QStringList{messageText(0, MSG_DEVICE_NOT_FOUND_TITLE)});
        QCOMPARE(win.dialogs.prompts[0].text, messageText(0, MSG_DEVICE_NOT_FOUND_TEXT));
        QVERIFY(win.ui->frame->isVisible());
    }

    // With files in the root a Stop as the scan starts meets the root pass, which it ends alone.
    void stopDuringTheScan()
    {
        DriveFixture drive;
        drive.writeFile("root-junk.exe", "x");
        drive.writeFile("Songs/junk.exe", "x");
        drive.writeFile("Songs/pic.jpg", "x");
        Window win;
        win.w.currentLanguage = 1;
        clickBox(win.ui->Check_Optimize);
        clickBox(win.ui->Check_Delete);
        // Stop pressed as the scan starts, right after its warning.
        win.dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &p) {
            if (p.title == "WARNING")
                win.w.operations.requestStop();
        };
        win.run(2);   // scan warning, then the deletion's box
        QVERIFY(!win.w.operations.state.stopRequested);
        QCOMPARE(win.w.operations.lastRun().result, Operations::Result::Stopped);
        // The root's junk is never classified; the image stays, as only the deletion was chosen.
        QCOMPARE(treeContents(drive.root()).keys(), (QStringList{"Songs/pic.jpg", "root-junk.exe"}));
    }
};

QTEST_MAIN(TestGuiOptimise)
#include "tst_gui_optimise.moc"
