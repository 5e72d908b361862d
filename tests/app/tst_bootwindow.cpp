// The start-up sequence: the language file and where it is kept, waiting for the player, the
// system-file check, the hand-over.
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/languagefile.h"
#include "app/mainwindow_boot.h"
#include "tests/common/drivefixture.h"
#include "tests/common/screenshots.h"
#include "tests/common/scripteddialogs.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow_boot.h"

class BootWindowTest : public QObject {
    Q_OBJECT

private:
    // A start-up window whose language file lives in appDir.
    struct Boot {
        explicit Boot(const QString &appDir)
        {
            window.appDirPath = appDir + "/";
            window.mainWindow->setDialogs(&dialogs);
            window.show();
        }
        ~Boot() { window.mainWindow->setDialogs(nullptr); }
        Ui::MainWindow_boot &ui() { return *window.ui; }
        bool choiceShown() { return ui().label->isVisible() && ui().pushButton->isVisible() && ui().pushButton_2->isVisible(); }
        void clickFlag(bool italian) { QTest::mouseClick(italian ? ui().pushButton : ui().pushButton_2, Qt::LeftButton); }
        ScriptedDialogs dialogs;
        MainWindow_boot window;
    };

    static void writeLanguageFile(const QString &dir, const QByteArray &content)
    {
        QFile f(dir + "/Corvel.ini");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

private slots:
    void languageFileRules_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("language");
        QTest::newRow("a file saying italian is Italian") << QByteArray("italian") << 0;
        QTest::newRow("a line end after italian makes it English") << QByteArray("italian\n") << 1;
        QTest::newRow("a file saying english is English") << QByteArray("english") << 1;
        QTest::newRow("what follows a zero byte is ignored") << QByteArray("italian\0junk", 12) << 0;
    }
    void languageFileRules()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, language);
        QTemporaryDir app;
        writeLanguageFile(app.path(), content);
        DriveFixture drive(false);
        drive.unplug();
        Boot boot(app.path());
        boot.window.check_language();
        QCOMPARE(boot.window.mainWindow->currentLanguage, language);
        QVERIFY(!boot.choiceShown());
        // No device: the waiting screen in the language read from the file.
        QVERIFY(boot.ui().graphicsView->isVisible());
        QCOMPARE(boot.ui().label_descr_titolo->text(),
                 language == 0 ? QString("CORVEL3 NON COLLEGATO") : QString("CORVEL3 NOT CONNECTED"));
        QVERIFY(boot.window.connectionTimer && boot.window.connectionTimer->isActive());
        QCOMPARE(boot.window.connectionTimer->interval(), 500);
    }

    void missingLanguageFileShowsChoiceAndFlagWritesIt()
    {
        QTemporaryDir app;
        DriveFixture drive(false);
        drive.unplug();
        {
            Boot boot(app.path());
            boot.window.check_language();
            QVERIFY(boot.choiceShown());
            QVERIFY(!boot.window.connectionTimer);   // nothing else happens before a click
            saveScreenshot(&boot.window, "boot-language-choice");
            boot.clickFlag(true);
            QCOMPARE(boot.window.mainWindow->currentLanguage, 0);
            QVERIFY(!boot.choiceShown());
            QVERIFY(boot.ui().graphicsView->isVisible());
            QCOMPARE(boot.ui().label_descr->text(),
                     QString("Spegnere Corvel3 e connetterlo alla porta USB del PC (come in figura).\nQuindi, "
                             "accendere nuovamente Corvel3."));
            saveScreenshot(&boot.window, "boot-waiting-it");
        }
        QFile f(app.path() + "/Corvel.ini");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("italian"));
        f.close();

        Boot again(app.path());
        again.window.check_language();
        QVERIFY(!again.choiceShown());
        QCOMPARE(again.window.mainWindow->currentLanguage, 0);
    }

    void cleanCheckThenOkHandsOver_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::newRow("in Italian") << QByteArray("italian");
        QTest::newRow("in English") << QByteArray("english");
    }
    void cleanCheckThenOkHandsOver()
    {
        QFETCH(QByteArray, language);
        const bool it = language == "italian";
        QTemporaryDir app;
        writeLanguageFile(app.path(), language);
        DriveFixture drive;
        drive.addSystemFiles();
        const auto before = treeContents(drive.root());
        Boot boot(app.path());
        boot.window.check_language();   // device present: no waiting screen, no timer
        QVERIFY(!boot.window.connectionTimer);
        QVERIFY(!boot.ui().graphicsView->isVisible());
        QCOMPARE(boot.ui().progressBar->value(), 100);
        QCOMPARE(boot.ui().label_4->text(), it ? QString("OPERAZIONE COMPLETATA") : QString("OPERATION COMPLETED"));
        QCOMPARE(boot.ui().label_descr_titolo->text(),
                 it ? QString("CONTROLLO SOFTWARE COMPLETATO") : QString("SOFTWARE CONTROL COMPLETED"));
        QVERIFY(boot.ui().label_descr->text().startsWith(it ? "Neussun problema" : "No problem detected"));
        QVERIFY(boot.ui().Push_Button->isVisible());
        QVERIFY(boot.dialogs.prompts.isEmpty());
        QCOMPARE(treeContents(drive.root()), before);   // nothing written to the device
        saveScreenshot(&boot.window, it ? "boot-clean-check-it" : "boot-clean-check-en");

        QTest::mouseClick(boot.ui().Push_Button, Qt::LeftButton);
        QVERIFY(!boot.window.isVisible());
        QVERIFY(boot.window.mainWindow->isVisible());
        saveScreenshot(boot.window.mainWindow, it ? "operations-window-it" : "operations-window-en");
        boot.window.mainWindow->hide();
    }

    void deviceAppearingWhileWaitingRunsOneCheck()
    {
        QTemporaryDir app;
        writeLanguageFile(app.path(), "english");
        DriveFixture drive;
        drive.addSystemFiles();
        drive.unplug();
        Boot boot(app.path());
        boot.window.check_language();
        QVERIFY(boot.window.connectionTimer->isActive());
        QTest::qWait(700);
        QCOMPARE(boot.window.checksStarted, 0);
        drive.plugIn();
        QTRY_VERIFY_WITH_TIMEOUT(boot.ui().Push_Button->isVisible(), 10000);
        QTest::qWait(1200);   // further ticks must not start another check
        QCOMPARE(boot.window.checksStarted, 1);
        QVERIFY(!boot.window.connectionTimer->isActive());
        QVERIFY(!boot.ui().graphicsView->isVisible());
    }

    void missingSystemFileAsksForRepair_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("yes");
        QTest::newRow("no start file, in Italian") << QByteArray("italian") << "AUTOEXEC.BAT" << QString("Sì");
        QTest::newRow("no main program, in English") << QByteArray("english") << "System/Corvel/Corvel.exe" << "Yes";
        QTest::newRow("no display program, in English") << QByteArray("english") << "System/DispProc/DispProc.exe"
                                                         << "Yes";
    }
    void missingSystemFileAsksForRepair()
    {
        QFETCH(QByteArray, language);
        QFETCH(QString, missing);
        QFETCH(QString, yes);
        const bool it = language == "italian";
        QTemporaryDir app;
        writeLanguageFile(app.path(), language);
        DriveFixture drive;
        drive.addSystemFiles();
        QFile::remove(drive.path(missing));
        Boot boot(app.path());
        boot.dialogs.answer("No");
        boot.window.check_language();
        QVERIFY2(boot.dialogs.failures.isEmpty(), qPrintable(boot.dialogs.failures.join("; ")));
        QCOMPARE(boot.dialogs.prompts.size(), 1);
        const auto &q = boot.dialogs.prompts.first();
        QCOMPARE(q.title, it ? QString("File di sistema danneggiati o mancanti") : QString("System files are damaged or missing"));
        QCOMPARE(q.text, it ? QString("ATTENZIONE: file di sistema danneggiati o mancanti, tentare il ripristino?")
                            : QString("WARNING : system files are damaged or missing , attempt recovery ?"));
        QCOMPARE(q.captions(), QStringList({yes, "No"}));
        QCOMPARE(q.defaultButton, 0);
        QCOMPARE(q.parent, &boot.window);
        // "No": handed over at once, the file still missing.
        QVERIFY(!boot.window.isVisible());
        QVERIFY(boot.window.mainWindow->isVisible());
        QVERIFY(!QFile::exists(drive.path(missing)));
        boot.window.mainWindow->hide();
    }

    void stopAndAboutReachTheOperationsWindow()
    {
        QTemporaryDir app;
        Boot boot(app.path());
        boot.window.mainWindow->currentLanguage = 0;
        boot.dialogs.answer("Ok");
        boot.ui().Stop_Button->show();
        QTest::mouseClick(boot.ui().Stop_Button, Qt::LeftButton);
        QCOMPARE(boot.dialogs.prompts.last().title, QString("Operazione Interrotta"));
        QVERIFY(boot.window.mainWindow->stopRequested);
        QVERIFY(boot.window.bootStopRequested);
        QTest::mouseClick(boot.ui().pushButtonAboutQT, Qt::LeftButton);
        QCOMPARE(boot.dialogs.prompts.last().title, QString("About Qt"));
    }

    // The language file is kept beside the program, or in the user's folder when the program's
    // folder cannot be written.
    void languageFileBesideTheProgramOrInTheUsersFolder()
    {
        QStandardPaths::setTestModeEnabled(true);
        QTemporaryDir app;
        const QString dir = app.path() + "/";
        const QString user = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/Corvel.ini";
        QFile::remove(user);
        QCOMPARE(languagefile::writePath(dir), dir + "Corvel.ini");
        QCOMPARE(languagefile::readPath(dir), dir + "Corvel.ini");
        // A folder nobody may write, not even root.
        if (QProcess::execute("chattr", {"+i", app.path()}) != 0)
            QSKIP("chattr +i is not available here");
        QCOMPARE(languagefile::readPath(dir), dir + "Corvel.ini");   // nothing chosen yet
        QCOMPARE(languagefile::writePath(dir), user);
        QFile file(user);
        const bool opened = file.open(QIODevice::WriteOnly);
        file.close();
        QCOMPARE(languagefile::readPath(dir), user);
        QProcess::execute("chattr", {"-i", app.path()});
        QFile::remove(user);
        QVERIFY(opened);
    }

    // Closing the window while the check runs ends the program: the event loop quits and the
    // operations window never appears. (Last: the quit stays recorded for the test process.)
    void closingDuringTheCheckEndsTheProgram()
    {
        QTemporaryDir app;
        writeLanguageFile(app.path(), "english");
        DriveFixture drive;
        drive.addSystemFiles();
        Boot boot(app.path());
        QEventLoop program;
        QTimer::singleShot(0, &boot.window, &MainWindow_boot::check_language);
        QTimer::singleShot(300, &boot.window, [&boot] { boot.window.close(); });
        QTimer::singleShot(30000, &program, [&program] { program.exit(1); });   // a way out if nothing quits
        QCOMPARE(program.exec(), 0);
        QVERIFY(boot.window.closeRequested);
        QVERIFY(!boot.window.isVisible());
        QVERIFY(!boot.window.mainWindow->isVisible());
        QVERIFY(!boot.ui().Push_Button->isVisible());
        QVERIFY(boot.dialogs.prompts.isEmpty());
    }
};

QTEST_MAIN(BootWindowTest)
#include "tst_bootwindow.moc"
