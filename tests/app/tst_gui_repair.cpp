// The start-up window's repair: the plain reinstall run with the start-up window's widgets against
// the demo packages on loopback, then the hand-over.
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/mainwindow_boot.h"
#include "tests/common/drivefixture.h"
#include "tests/common/httptestserver.h"
#include "tests/common/screenshots.h"
#include "tests/common/scripteddialogs.h"
#include "tests/update/updatetestsupport.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"
#include "ui_mainwindow_boot.h"
#include "update/updateserver.h"

class TestGuiRepair : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void repairInstallsAndHandsOver_data();
    void repairInstallsAndHandsOver();
    void stopDuringRepairHandsOverWithoutDone();
    void failedRepairHandsOverWithoutDone();

private:
    QString served;   // folder of the demo packages
    QTemporaryDir packages;
    QTemporaryDir app;
    PrivateTempDir *temp = nullptr;
    HttpTestServer *server = nullptr;
    EnvOverride *serverOverride = nullptr;
};

void TestGuiRepair::initTestCase()
{
    const QString script = QFINDTESTDATA("../../scripts/make-demo-packages.sh");
    QVERIFY2(!script.isEmpty(), "scripts/make-demo-packages.sh not found");
    QProcess make;
    make.start("sh", {script, packages.path()});
    QVERIFY(make.waitForFinished(60000));
    QCOMPARE(make.exitCode(), 0);
    served = packages.path() + "/download/Corvel3/";
}

void TestGuiRepair::init()
{
    temp = new PrivateTempDir;
    server = new HttpTestServer;
    QVERIFY(server->listen());
    serverOverride = new EnvOverride("CORVEL3_UPDATE_SERVER", server->baseUrl());
    server->serveFile(QString::fromLatin1(kUpdatePackagePath), served + "CorvelUpdate.zip");
}

void TestGuiRepair::cleanup()
{
    delete serverOverride;
    delete server;
    delete temp;
}

namespace {
void writeLanguage(const QString &dir, const QByteArray &language)
{
    QFile f(dir + "/Corvel.ini");
    if (f.open(QIODevice::WriteOnly))
        f.write(language);
}

// A start-up window whose language file lives in appDir and whose boxes are scripted.
struct Boot {
    explicit Boot(const QString &appDir)
    {
        window.appDirPath = appDir + "/";
        window.mainWindow->setDialogs(&dialogs);
        window.show();
    }
    ~Boot()
    {
        window.mainWindow->setDialogs(nullptr);
        window.mainWindow->hide();
    }
    ScriptedDialogs dialogs;
    MainWindow_boot window;
};
} // namespace

void TestGuiRepair::repairInstallsAndHandsOver_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("done");
    QTest::addColumn<QString>("doneText");
    QTest::newRow("italian") << QByteArray("italian") << "Sì" << "Fatto"
                             << "Sistema ripristinato correttamente.\nVerrai reindirizzato alla schermata principale";
    QTest::newRow("english") << QByteArray("english") << "Yes" << "Done"
                             << "System successfully restored.\nYou will be redirected to the main window.";
}

void TestGuiRepair::repairInstallsAndHandsOver()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, yes);
    QFETCH(QString, done);
    QFETCH(QString, doneText);
    server->serveFile(QString::fromLatin1(kFullPackagePath), served + "CorvelAll.zip");
    writeLanguage(app.path(), language);
    DriveFixture drive;
    drive.addSystemFiles();
    QFile::remove(drive.path("AUTOEXEC.BAT"));
    drive.writeMidi("Songs/keep.mid", "Kept");
    const QByteArray song = treeContents(drive.root()).value("Songs/keep.mid");
    Boot boot(app.path());
    boot.dialogs.answer(yes);
    boot.dialogs.answer("Ok");   // the reinstall's end box
    boot.dialogs.answer("Ok");   // "Done"
    bool busyWhileRepairing = false;
    boot.dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &p) {
        if (p.title == done)
            saveScreenshot(&boot.window, "repair-done-" + QString::fromLatin1(language));
        // The end box of the reinstall comes while the start-up window's own widgets still work.
        if (p.text.startsWith("Setup finished") || p.text.startsWith("Installazione terminata"))
            busyWhileRepairing = boot.window.ui->Stop_Button->isVisible();
    };

    boot.window.check_language();

    QVERIFY2(boot.dialogs.failures.isEmpty(), qPrintable(boot.dialogs.failures.join("; ")));
    QCOMPARE(boot.dialogs.prompts.size(), 3);
    QCOMPARE(boot.dialogs.prompts.last().title, done);
    QCOMPARE(boot.dialogs.prompts.last().text, doneText);
    QCOMPARE(boot.dialogs.prompts.last().parent, &boot.window);
    QVERIFY(busyWhileRepairing);
    QVERIFY(QFile::exists(drive.path("AUTOEXEC.BAT")));
    QVERIFY(QFile::exists(drive.path("CorvelUpdate/version.txt")));
    QCOMPARE(treeContents(drive.root()).value("Songs/keep.mid"), song);
    // Handed over, with no busy widget left up on either window.
    QVERIFY(!boot.window.isVisible());
    QVERIFY(boot.window.mainWindow->isVisible());
    QVERIFY(!boot.window.ui->Stop_Button->isVisible());
    QVERIFY(!boot.window.mainWindow->ui->pushButtonStop->isVisible());
    QVERIFY(!boot.window.mainWindow->ui->progressBar->isVisible());
    saveScreenshot(boot.window.mainWindow, "repair-handed-over-" + QString::fromLatin1(language));
}

void TestGuiRepair::stopDuringRepairHandsOverWithoutDone()
{
    QFile all(served + "CorvelAll.zip");
    QVERIFY(all.open(QIODevice::ReadOnly));
    server->serveTrickle(QString::fromLatin1(kFullPackagePath), all.readAll(), 500, 100);
    writeLanguage(app.path(), "english");
    DriveFixture drive;
    drive.addSystemFiles();
    QFile::remove(drive.path("AUTOEXEC.BAT"));
    const auto before = treeContents(drive.root());
    Boot boot(app.path());
    boot.dialogs.answer("Yes");
    boot.dialogs.answer("Ok");   // "Operation Stopped"
    // Stop is pressed once the download is under way.
    QObject::connect(server, &HttpTestServer::requestReceived, &boot.window, [&boot](const QString &) {
        QTimer::singleShot(300, &boot.window, [&boot] {
            QTest::mouseClick(boot.window.ui->Stop_Button, Qt::LeftButton);
        });
    });

    boot.window.check_language();

    QVERIFY2(boot.dialogs.failures.isEmpty(), qPrintable(boot.dialogs.failures.join("; ")));
    QCOMPARE(boot.dialogs.titles(), QStringList({"System files are damaged or missing", "Operation Stopped"}));
    QVERIFY(boot.window.bootStopRequested);
    QVERIFY(!boot.window.mainWindow->operationOk);
    QCOMPARE(treeContents(drive.root()), before);
    QCOMPARE(server->requestCount(QString::fromLatin1(kUpdatePackagePath)), 0);
    QVERIFY(!boot.window.isVisible());
    QVERIFY(boot.window.mainWindow->isVisible());
}

// Without the unpacker nothing can be installed: the repair must not claim success.
void TestGuiRepair::failedRepairHandsOverWithoutDone()
{
    server->serveFile(QString::fromLatin1(kFullPackagePath), served + "CorvelAll.zip");
    EnvOverride unpacker("CORVEL3_UNPACKER", app.path() + "/no-such-unar");
    writeLanguage(app.path(), "english");
    DriveFixture drive;
    drive.addSystemFiles();
    QFile::remove(drive.path("AUTOEXEC.BAT"));
    Boot boot(app.path());
    boot.dialogs.answer("Yes");

    boot.window.check_language();

    QVERIFY2(boot.dialogs.failures.isEmpty(), qPrintable(boot.dialogs.failures.join("; ")));
    QCOMPARE(boot.dialogs.titles(), QStringList{"System files are damaged or missing"});
    QVERIFY(!boot.window.mainWindow->operationOk);
    QVERIFY(!QFile::exists(drive.path("AUTOEXEC.BAT")));
    QVERIFY(!boot.window.isVisible());
    QVERIFY(boot.window.mainWindow->isVisible());
}

QTEST_MAIN(TestGuiRepair)
#include "tst_gui_repair.moc"
