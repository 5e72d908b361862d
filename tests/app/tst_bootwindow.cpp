// The start-up sequence: the language file and where it is kept, waiting for the player, the
// system-file check, the hand-over.
#include <QEventLoop>
#include <QTimer>
#include <QtTest>

#include "core/languagefile.h"
#include "app/mainwindow_boot.h"
#include "tests/common/drivefixture.h"
#include "tests/common/screenshots.h"
#include "tests/common/scripteddialogs.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow_boot.h"

namespace {
// A start-up window with its language file (none for a null content) in a folder of its own, and
// a player drive with its system files, attached or not.
struct Boot {
    Boot(const QByteArray &language, bool attached)
    {
        QFile file(app.filePath("Corvel.ini"));
        if (!language.isNull() && (!file.open(QIODevice::WriteOnly) || file.write(language) != language.size()))
            qFatal("cannot write the language file");
        drive.addSystemFiles();
        if (!attached)
            drive.unplug();
        window.appDirPath = app.path() + "/";
        window.mainWindow->setDialogs(&dialogs);
        window.show();
    }
    Ui::MainWindow_boot &ui() { return *window.ui; }
    bool choiceShown() { return ui().label->isVisible() && ui().pushButton->isVisible() && ui().pushButton_2->isVisible(); }
    bool handedOver() { return !window.isVisible() && window.mainWindow->isVisible(); }

    QTemporaryDir app;
    DriveFixture drive;
    ScriptedDialogs dialogs;
    MainWindow_boot window;
};
} // namespace

class BootWindowTest : public QObject {
    Q_OBJECT

private slots:
    void languageFileRules_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("language");
        QTest::newRow("a file saying italian is Italian") << QByteArray("italian") << 0;
        QTest::newRow("a line end after italian makes it English") << QByteArray("italian\n") << 1;
        QTest::newRow("a capitalised Italian is English") << QByteArray("Italian") << 1;
        QTest::newRow("a file saying english is English") << QByteArray("english") << 1;
        QTest::newRow("what follows a zero byte is ignored") << QByteArray("italian\0junk", 12) << 0;
    }
    // Without the player: the waiting screen in the file's language, and a timer that looks again.
    void languageFileRules()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, language);
        Boot boot(content, false);
        boot.window.check_language();
        QCOMPARE(boot.window.mainWindow->currentLanguage, language);
        QVERIFY(!boot.choiceShown());
        QVERIFY(boot.ui().graphicsView->isVisible());
        QCOMPARE(boot.ui().label_descr_titolo->text(), language == 0 ? "CORVEL3 NON COLLEGATO" : "CORVEL3 NOT CONNECTED");
        QVERIFY(boot.window.connectionTimer && boot.window.connectionTimer->isActive());
        QCOMPARE(boot.window.connectionTimer->interval(), 500);
    }

    void missingLanguageFileShowsChoiceAndFlagWritesIt()
    {
        Boot boot(QByteArray(), false);
        boot.window.check_language();
        QVERIFY(boot.choiceShown());
        QVERIFY(!boot.window.connectionTimer);   // nothing else happens before a click
        saveScreenshot(&boot.window, "boot-language-choice");
        QTest::mouseClick(boot.ui().pushButton, Qt::LeftButton);   // the Italian flag
        QCOMPARE(boot.window.mainWindow->currentLanguage, 0);
        QVERIFY(!boot.choiceShown());
        QVERIFY(boot.ui().graphicsView->isVisible());
        QCOMPARE(boot.ui().label_descr->text(), "Spegnere Corvel3 e connetterlo alla porta USB del PC (come in "
                                                "figura).\nQuindi, accendere nuovamente Corvel3.");
        saveScreenshot(&boot.window, "boot-waiting-it");
        QFile file(boot.app.filePath("Corvel.ini"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("italian"));
        // The About button answers from the start-up window too.
        QTest::mouseClick(boot.ui().pushButtonAboutQT, Qt::LeftButton);
        QCOMPARE(boot.dialogs.titles(), QStringList{"About Qt"});
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
        Boot boot(language, true);
        const auto before = treeContents(boot.drive.root());
        boot.window.check_language();   // the player is there: no waiting screen, no timer
        QVERIFY(!boot.window.connectionTimer);
        QVERIFY(!boot.ui().graphicsView->isVisible());
        QCOMPARE(boot.ui().progressBar->value(), 100);
        QCOMPARE(boot.ui().label_4->text(), it ? "OPERAZIONE COMPLETATA" : "OPERATION COMPLETED");
        QCOMPARE(boot.ui().label_descr_titolo->text(), it ? "CONTROLLO SOFTWARE COMPLETATO" : "SOFTWARE CONTROL COMPLETED");
        QVERIFY(boot.ui().label_descr->text().startsWith(it ? "Neussun problema" : "No problem detected"));
        QVERIFY(boot.dialogs.prompts.isEmpty());
        QCOMPARE(treeContents(boot.drive.root()), before);   // nothing written to the player
        saveScreenshot(&boot.window, it ? "boot-clean-check-it" : "boot-clean-check-en");
        QVERIFY(!boot.handedOver());
        QTest::mouseClick(boot.ui().Push_Button, Qt::LeftButton);
        QVERIFY(boot.handedOver());
        saveScreenshot(boot.window.mainWindow, it ? "operations-window-it" : "operations-window-en");
        boot.window.mainWindow->hide();
    }

    void deviceAppearingWhileWaitingRunsOneCheck()
    {
        Boot boot("english", false);
        boot.window.check_language();
        QVERIFY(boot.window.connectionTimer->isActive());
        QTest::qWait(700);
        QCOMPARE(boot.window.checksStarted, 0);
        boot.drive.plugIn();
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
        QTest::newRow("no start file, in Italian") << QByteArray("italian") << "AUTOEXEC.BAT";
        QTest::newRow("no main program, in English") << QByteArray("english") << "System/Corvel/Corvel.exe";
        QTest::newRow("no display program, in English") << QByteArray("english") << "System/DispProc/DispProc.exe";
    }
    // "No": handed over at once, the file still missing.
    void missingSystemFileAsksForRepair()
    {
        QFETCH(QByteArray, language);
        QFETCH(QString, missing);
        const bool it = language == "italian";
        Boot boot(language, true);
        QVERIFY(QFile::remove(boot.drive.path(missing)));
        boot.dialogs.answer("No");
        boot.window.check_language();
        QVERIFY2(boot.dialogs.failures.isEmpty(), qPrintable(boot.dialogs.failures.join("; ")));
        QCOMPARE(boot.dialogs.prompts.size(), 1);
        const auto &q = boot.dialogs.prompts.first();
        QCOMPARE(q.title, it ? "File di sistema danneggiati o mancanti" : "System files are damaged or missing");
        QCOMPARE(q.text, it ? "ATTENZIONE: file di sistema danneggiati o mancanti, tentare il ripristino?"
                            : "WARNING : system files are damaged or missing , attempt recovery ?");
        QCOMPARE(q.captions(), QStringList({it ? "Sì" : "Yes", "No"}));
        QCOMPARE(q.defaultButton, 0);
        QCOMPARE(q.parent, &boot.window);
        QVERIFY(boot.handedOver());
        QVERIFY(!QFile::exists(boot.drive.path(missing)));
        boot.window.mainWindow->hide();
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
        QCOMPARE(languagefile::readPath(dir), dir + "Corvel.ini");   // writable again: beside the program
        QFile::remove(user);
        QVERIFY(opened);
    }

    // Closing the window while the check runs ends the program: the event loop quits and the
    // operations window never appears. (Last: the quit stays recorded for the test process.)
    void closingDuringTheCheckEndsTheProgram()
    {
        Boot boot("english", true);
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
