// The update button end to end: the real window, the loopback server, the real unpacker.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "tests/common/drivefixture.h"
#include "tests/common/httptestserver.h"
#include "tests/common/screenshots.h"
#include "tests/update/updatetestsupport.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"
#include "update/updateserver.h"

class TestGuiUpdate : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clickUpdatesTheDrive();
    void stopButtonEndsDownload();
    void absentDeviceAsksForConnection();

private:
    PrivateTempDir *temp = nullptr;
    HttpTestServer *server = nullptr;
    EnvOverride *serverOverride = nullptr;
    QTemporaryDir *work = nullptr;
    QByteArray zip;
};

void TestGuiUpdate::init()
{
    temp = new PrivateTempDir;
    server = new HttpTestServer;
    QVERIFY(server->listen());
    serverOverride = new EnvOverride("CORVEL3_UPDATE_SERVER", server->baseUrl());
    work = new QTemporaryDir;
    writeTree(work->path(), {{"CorvelUpdate/update.bin", noise(40000, 3)}, {"CorvelUpdate/Lang/it.txt", "ciao"}});
    zip = makeZip(work->path(), work->filePath(QStringLiteral("CorvelUpdate.zip")), {QStringLiteral("CorvelUpdate")});
    QVERIFY(zip.size() > 10000);
}

void TestGuiUpdate::cleanup()
{
    delete work;
    delete serverOverride;
    delete server;
    delete temp;
}

void TestGuiUpdate::clickUpdatesTheDrive()
{
    server->serveBytes(QString::fromLatin1(kUpdatePackagePath), zip);
    DriveFixture drive;
    drive.addSystemFiles();
    drive.writeFile(QStringLiteral("CorvelUpdate/stale.bin"), "old");

    MainWindow w;
    ScriptedDialogs dialogs;
    w.setDialogs(&dialogs);
    w.show();
    QTest::mouseClick(w.ui->pushBtnENG, Qt::LeftButton);
    dialogs.answer(QStringLiteral("Ok"));
    bool barSeen = false;
    dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &) {
        barSeen = w.ui->pushButtonStop->isVisible();
        saveScreenshot(&w, QStringLiteral("update-end-message"));
    };
    CapturedOutput output;
    QTest::mouseClick(w.ui->pushBtnUpdate, Qt::LeftButton);
    output.restore();

    QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join('\n')));
    QCOMPARE(dialogs.titles(), QStringList{"End operation"});
    QCOMPARE(dialogs.prompts[0].parent, &w);
    QVERIFY(barSeen);
    QCOMPARE(treeContents(drive.path(QStringLiteral("CorvelUpdate"))),
             (QMap<QString, QByteArray>{{"update.bin", noise(40000, 3)}, {"Lang/it.txt", "ciao"}}));
    QVERIFY(!QFile::exists(temp->saveFolder()));
    QVERIFY(!w.ui->progressBar->isVisible());
    QVERIFY(!w.ui->labelAction->isVisible());
    QVERIFY(!w.ui->pushButtonStop->isVisible());
    QVERIFY(!w.busy);
}

void TestGuiUpdate::stopButtonEndsDownload()
{
    server->serveTrickle(QString::fromLatin1(kUpdatePackagePath), zip, 500, 100);
    DriveFixture drive;
    MainWindow w;
    ScriptedDialogs dialogs;
    w.setDialogs(&dialogs);
    w.show();
    QTest::mouseClick(w.ui->pushBtnENG, Qt::LeftButton);
    dialogs.answer(QStringLiteral("Ok"));   // the Stop button's own box
    QTimer::singleShot(700, w.ui->pushButtonStop, [&w] {
        QTest::mouseClick(w.ui->pushButtonStop, Qt::LeftButton);
    });
    CapturedOutput output;
    QTest::mouseClick(w.ui->pushBtnUpdate, Qt::LeftButton);
    output.restore();

    QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join('\n')));
    QCOMPARE(dialogs.titles(), QStringList{"Operation Stopped"});
    QVERIFY(!QFile::exists(drive.path(QStringLiteral("CorvelUpdate"))));
    QVERIFY(!w.ui->progressBar->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(server->openConnections(), 0, 5000);
}

void TestGuiUpdate::absentDeviceAsksForConnection()
{
    server->serveBytes(QString::fromLatin1(kUpdatePackagePath), zip);
    DriveFixture drive;
    drive.unplug();
    MainWindow w;
    ScriptedDialogs dialogs;
    w.setDialogs(&dialogs);
    w.currentLanguage = 0;
    w.show();
    dialogs.answer(QStringLiteral("Ok"));
    QTest::mouseClick(w.ui->pushBtnUpdate, Qt::LeftButton);
    QCOMPARE(dialogs.titles(), QStringList{QString::fromUtf8("Corvel3 non è stato trovato")});
    QCOMPARE(dialogs.prompts[0].captions(), QStringList{"Ok"});
    QVERIFY(server->requests().isEmpty());
    QVERIFY(!w.ui->progressBar->isVisible());
}

QTEST_MAIN(TestGuiUpdate)
#include "tst_gui_update.moc"
