// The health panel in the operations window: opened by its button over the others, a Fix per
// group run through the runner, the report and its chart shown again after each run.
#include <QtTest>

#include "tests/common/drivefixture.h"
#include "tests/common/screenshots.h"
#include "tests/transfer/transfertesting.h"   // readBytes
#include "ui/healthpanel.h"
#include "ui/mainwindow.h"
#include "ui_healthpanel.h"
#include "ui_mainwindow.h"

class TestGuiHealth : public QObject {
    Q_OBJECT

    QTemporaryDir home;

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
        QCoreApplication::setApplicationName("corvel3");
    }

    void panelFixesOneGroupAtATime()
    {
        DriveFixture drive;
        drive.addSystemFiles();
        const QByteArray bytes = readBytes(CORVEL3_TEST_DATA "/tagged.mp3");
        QVERIFY(!bytes.isEmpty());
        drive.writeFile("Basi/a?.mp3", bytes);
        drive.writeFile("Basi/b.mp3", bytes);
        drive.addPlaylist("P.pls", {"\\sdmemory\\Basi\\a?.mp3^0^1"});
        MainWindow w;
        ScriptedDialogs dialogs;
        w.setDialogs(&dialogs);
        w.show();
        dialogs.answer("Ok");   // the closing box of the check
        QTest::mouseClick(w.ui->pushBtnHealth, Qt::LeftButton);
        QVERIFY(w.healthPanel && w.healthPanel->isVisible());
        auto *panel = w.healthPanel->ui;
        // Over the operation buttons, none of which can be reached while it is open.
        for (QPushButton *behind : {w.ui->pushBtnUpdate, w.ui->pushBtnOptimize, w.ui->pushBtnInstallAndClean, w.ui->pushBtnHealth}) {
            QVERIFY(!behind->isEnabled());
            QVERIFY(w.healthPanel->geometry().contains(behind->mapTo(w.ui->scrollAreaWidgetContents, QPoint(1, 1))));
        }
        QCOMPARE(QList<bool>({panel->btnFixPlaylists->isEnabled(), panel->btnFixNames->isEnabled(), panel->btnFixDuplicates->isEnabled()}),
                 QList<bool>({false, true, true}));
        QVERIFY(panel->chart->minimumSizeHint().height() <= panel->chart->height());
        saveScreenshot(&w, "it-8-health");

        dialogs.answer({"Sì", "Ok"});
        QTest::mouseClick(panel->btnFixNames, Qt::LeftButton);
        QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join('\n')));
        QVERIFY(QFileInfo::exists(drive.path("Basi/a_.mp3")));
        QVERIFY(w.healthPanel->isVisible() && !panel->btnFixNames->isEnabled() && panel->btnFixDuplicates->isEnabled());
        QTest::mouseClick(panel->btnClose, Qt::LeftButton);
        QVERIFY(!w.healthPanel->isVisible() && w.ui->pushBtnHealth->isEnabled());
    }
};

QTEST_MAIN(TestGuiHealth)
#include "tst_gui_health.moc"
