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
        QTest::addColumn<QByteArray>("content");   // none: the language choice, answered with the Italian flag
        QTest::addColumn<int>("language");
        QTest::newRow("no file asks, and the flag writes it") << QByteArray() << 0;
        QTest::newRow("a file saying italian is Italian") << QByteArray("italian") << 0;
        QTest::newRow("a line end after italian makes it English") << QByteArray("italian\n") << 1;
        QTest::newRow("a capitalised Italian is English") << QByteArray("Italian") << 1;
        QTest::newRow("a file saying english is English") << QByteArray("english") << 1;
        QTest::newRow("what follows a zero byte is ignored") << QByteArray("italian\0junk", 12) << 0;
    }
    // Without the player: the waiting screen in the file's language, and a timer that looks again;
    // the player plugged in then starts one check, however many ticks follow.
    void languageFileRules()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, language);
        Boot boot(content, false);
        boot.window.check_language();
        if (content.isNull()) {
            QVERIFY(boot.choiceShown() && !boot.window.connectionTimer);   // nothing else happens before a click
            saveScreenshot(&boot.window, "boot-language-choice");
            QTest::mouseClick(boot.ui().pushButton, Qt::LeftButton);   // the Italian flag
            saveScreenshot(&boot.window, "boot-waiting-it");
        }
        QCOMPARE(boot.window.mainWindow->currentLanguage, language);
        QVERIFY(!boot.choiceShown() && boot.ui().graphicsView->isVisible());
        QCOMPARE(boot.ui().label_descr_titolo->text(), language == 0 ? "CORVEL3 NON COLLEGATO" : "CORVEL3 NOT CONNECTED");
        QCOMPARE(treeContents(boot.app.path()), (QMap<QString, QByteArray>{{"Corvel.ini", content.isNull() ? "italian" : content}}));
        QVERIFY(boot.window.connectionTimer && boot.window.connectionTimer->isActive());
        QCOMPARE(boot.window.connectionTimer->interval(), 500);
        boot.dialogs.answer(language == 0 ? "Informazioni su Qt" : "About Qt");
        QTest::mouseClick(boot.ui().pushButtonAboutQT, Qt::LeftButton);   // it answers from the start-up window too
        QCOMPARE(boot.dialogs.titles(), (QStringList{language == 0 ? "Informazioni su Corvel3" : "About Corvel3", "About Qt"}));
        QCOMPARE(boot.dialogs.prompts[0].parent, &boot.window);
        QTest::qWait(700);
        QCOMPARE(boot.window.checksStarted, 0);
        boot.drive.plugIn();
        QTRY_VERIFY_WITH_TIMEOUT(boot.ui().Push_Button->isVisible(), 10000);
        QTest::qWait(1200);
        QCOMPARE(boot.window.checksStarted, 1);
        QVERIFY(!boot.window.connectionTimer->isActive() && !boot.ui().graphicsView->isVisible());
    }

    // The player is there: no waiting screen, no timer, nothing written to the player. A clean
    // check hands over on its button; a missing file asks for a repair, and "No" hands over at once.
    void systemCheck_data()
    {
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QString>("missing");
        QTest::newRow("a clean check in Italian") << QByteArray("italian") << "";
        QTest::newRow("a clean check in English") << QByteArray("english") << "";
        QTest::newRow("no start file, in Italian") << QByteArray("italian") << "AUTOEXEC.BAT";
        QTest::newRow("no main program, in English") << QByteArray("english") << "System/Corvel/Corvel.exe";
        QTest::newRow("no display program, in English") << QByteArray("english") << "System/DispProc/DispProc.exe";
    }
    void systemCheck()
    {
        QFETCH(QByteArray, language);
        QFETCH(QString, missing);
        const bool it = language == "italian";
        Boot boot(language, true);
        QVERIFY(missing.isEmpty() || QFile::remove(boot.drive.path(missing)));
        const auto before = treeContents(boot.drive.root());
        boot.dialogs.answer("No");
        boot.window.check_language();
        QVERIFY(!boot.window.connectionTimer && !boot.ui().graphicsView->isVisible());
        QCOMPARE(boot.dialogs.prompts.size(), missing.isEmpty() ? 0 : 1);
        if (missing.isEmpty()) {
            QCOMPARE(boot.ui().progressBar->value(), 100);
            QCOMPARE(boot.ui().label_descr_titolo->text(), it ? "CONTROLLO SOFTWARE COMPLETATO" : "SOFTWARE CONTROL COMPLETED");
            saveScreenshot(&boot.window, QString("boot-%1").arg(QTest::currentDataTag()));
            QVERIFY(!boot.handedOver());
            QTest::mouseClick(boot.ui().Push_Button, Qt::LeftButton);
        } else {
            const auto &q = boot.dialogs.prompts.first();   // the repair's question, in the file's language
            QCOMPARE(q.captions(), QStringList({it ? "Sì" : "Yes", "No"}));
            QCOMPARE(q.defaultButton, 0);
            QCOMPARE(q.parent, &boot.window);
        }
        QVERIFY(boot.handedOver());
        QCOMPARE(treeContents(boot.drive.root()), before);
        saveScreenshot(boot.window.mainWindow, QString("operations-window-%1").arg(QTest::currentDataTag()));
        boot.window.mainWindow->hide();
    }

    // The language file is kept beside the program when its folder is the user's, and read first
    // there; an installed program (a folder nobody may write, a system folder, another user's
    // folder) keeps the choice in the user's settings, even run as root, and never writes beside.
    void whereTheLanguageIsKept_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("the user's own folder") << "own";
        QTest::newRow("a folder nobody may write") << "immutable";
        QTest::newRow("a system folder") << "system";
        QTest::newRow("another user's folder") << "nobody";
    }
    void whereTheLanguageIsKept()
    {
        QFETCH(QString, folder);
        QStandardPaths::setTestModeEnabled(true);
        const QString user = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/Corvel.ini";
        QTemporaryDir app;
        const QString dir = folder == "system" ? "/usr/bin/" : app.path() + "/";
        if (folder == "nobody" && (QProcess::execute("chown", {"nobody", app.path()}) != 0 || QFileInfo(app.path()).owner() != "nobody"))
            QSKIP("the folder cannot be given to another user here");
        if (folder == "immutable" && QProcess::execute("chattr", {"+i", app.path()}) != 0)   // not even root may write
            QSKIP("chattr +i is not available here");
        const auto release = qScopeGuard([&] { QProcess::execute("chattr", {"-i", app.path()}); QFile::remove(user); });
        QSettings(user, QSettings::IniFormat).setValue("language", "english");   // an earlier choice
        const QStringList before = QDir(dir).entryList(QDir::Files);
        const bool beside = folder == "own";
        QCOMPARE(languagefile::readChoice(dir), beside ? QByteArray() : QByteArray("english"));
        QVERIFY(languagefile::writeChoice(dir, "italian"));
        QCOMPARE(languagefile::readChoice(dir), QByteArray("italian"));
        QCOMPARE(QSettings(user, QSettings::IniFormat).value("language").toString(), beside ? "english" : "italian");
        QCOMPARE(QDir(dir).entryList(QDir::Files), beside ? QStringList{"Corvel.ini"} : before);
    }

    // Closing the window while the check runs ends the program: the event loop quits and the
    // operations window never appears. (Last: the quit stays recorded for the test process.)
    void closingDuringTheCheckEndsTheProgram()
    {
        Boot boot("english", true);
        QTimer::singleShot(0, &boot.window, &MainWindow_boot::check_language);
        QTimer::singleShot(300, &boot.window, [&boot] { boot.window.close(); });
        QTimer wayOut;   // a way out if nothing quits; gone with the test, so it cannot end a later loop
        wayOut.setSingleShot(true);
        connect(&wayOut, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        wayOut.start(30000);
        // The program's own loop, as main() runs it: Qt 6 quits only a running application.
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(boot.window.closeRequested && boot.dialogs.prompts.isEmpty());
        QVERIFY(!boot.window.isVisible() && !boot.window.mainWindow->isVisible() && !boot.ui().Push_Button->isVisible());
    }
};

QTEST_MAIN(BootWindowTest)
#include "tst_bootwindow.moc"
