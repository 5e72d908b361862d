// The three reinstall buttons end to end: the real window, the demo packages served on loopback,
// the real unpacker and the attribute helper.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "device/platform.h"
#include "tests/common/drivefixture.h"
#include "tests/common/httptestserver.h"
#include "tests/common/screenshots.h"
#include "tests/update/updatetestsupport.h"
#include "ui/core/messagetable.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"
#include "update/updateserver.h"

namespace {
QMap<QString, QByteArray> merged(QMap<QString, QByteArray> a, const QMap<QString, QByteArray> &b)
{
    for (auto it = b.cbegin(); it != b.cend(); ++it)
        a.insert(it.key(), it.value());
    return a;
}

// What an archive holds, unpacked by the real unpacker into a folder of its own.
QMap<QString, QByteArray> archiveContents(const QString &zip, const QString &folder)
{
    QProcess unar;
    unar.start(platform::unpackerProgram(), {zip, "-o", folder, "-no-directory"});
    if (!unar.waitForFinished(30000))
        return {};
    return treeContents(folder);
}
} // namespace

class TestGuiReinstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void buttonsReinstallTheDrive_data();
    void buttonsReinstallTheDrive();

private:
    QTemporaryDir packages;
    QMap<QString, QByteArray> systemFiles, updateFiles;
    PrivateTempDir *temp = nullptr;
    HttpTestServer *server = nullptr;
    EnvOverride *serverOverride = nullptr;
};

void TestGuiReinstall::initTestCase()
{
    // The same packages the demo serves.
    const QString script = QFINDTESTDATA("../../scripts/make-demo-packages.sh");
    QVERIFY2(!script.isEmpty(), "scripts/make-demo-packages.sh not found");
    QProcess make;
    make.start("sh", {script, packages.path()});
    QVERIFY(make.waitForFinished(60000));
    QCOMPARE(make.exitCode(), 0);
    const QString served = packages.path() + "/download/Corvel3/";
    systemFiles = archiveContents(served + "CorvelAll.zip", packages.path() + "/all");
    updateFiles = archiveContents(served + "CorvelUpdate.zip", packages.path() + "/update");
    QVERIFY(systemFiles.contains("AUTOEXEC.BAT") && systemFiles.contains("System/Corvel/Corvel.exe"));
    QVERIFY(!updateFiles.isEmpty());
}

void TestGuiReinstall::init()
{
    temp = new PrivateTempDir;
    server = new HttpTestServer;
    QVERIFY(server->listen());
    serverOverride = new EnvOverride("CORVEL3_UPDATE_SERVER", server->baseUrl());
    const QString served = packages.path() + "/download/Corvel3/";
    server->serveFile(QString::fromLatin1(kFullPackagePath), served + "CorvelAll.zip");
    server->serveFile(QString::fromLatin1(kUpdatePackagePath), served + "CorvelUpdate.zip");
}

void TestGuiReinstall::cleanup()
{
    delete serverOverride;
    delete server;
    delete temp;
}

void TestGuiReinstall::buttonsReinstallTheDrive_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("songsKept");
    QTest::newRow("install, italian") << "pushBtnInstall" << 0 << true;
    QTest::newRow("install and clean, english") << "pushBtnInstallAndClean" << 1 << false;
    QTest::newRow("install and clean, italian") << "pushBtnInstallAndClean" << 0 << false;
    QTest::newRow("install and restore, english") << "pushBtnInstallAndRestore" << 1 << true;
}

void TestGuiReinstall::buttonsReinstallTheDrive()
{
    QFETCH(QString, button);
    QFETCH(int, language);
    QFETCH(bool, songsKept);
    DriveFixture drive;
    drive.addSystemFiles();
    drive.writeFile("System/Corvel/old.dll", "from the broken system");
    drive.addPlaylist("Party.pls", {"\\sdmemory\\Dance\\one.mp3^One"});
    drive.writeMp3("Dance/one.mp3", "One");
    drive.writeMidi("Dance/two.mid", "Two");
    drive.writeFixedField("Ballads/three.mf3", "Three");
    QMap<QString, QByteArray> songs = treeContents(drive.root());
    for (const QString &system : {"AUTOEXEC.BAT", "System/Corvel/Corvel.exe", "System/DispProc/DispProc.exe",
                                  "System/Corvel/old.dll"})
        songs.remove(system);
    QTemporaryDir pc;

    MainWindow window;
    ScriptedDialogs dialogs;
    window.setDialogs(&dialogs);
    window.currentLanguage = language;
    window.applyLanguage(true, language);
    window.show();
    QStringList expectedTitles;
    if (button == "pushBtnInstallAndClean") {
        dialogs.answer(language == 0 ? "Si" : "Yes");
        expectedTitles << messageText(language, MSG_FORMAT_TITLE);
    }
    if (button == "pushBtnInstallAndRestore") {
        dialogs.answerFolder(pc.path());
        expectedTitles << "Choose a folder to save your files";
    }
    if (button != "pushBtnInstall") {
        dialogs.answer("Si");
        expectedTitles << "Cancellazione Drive";
    }
    dialogs.answer("Ok");
    expectedTitles << messageText(language, MSG_END_OPERATION_TITLE);
    // While the end box is open the operation is still in hand: a look at the window then.
    dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &p) {
        if (p.title == messageText(language, MSG_END_OPERATION_TITLE))
            saveScreenshot(&window, "reinstall-end-" + button + "-" + QString::number(language));
        if (p.title == "Cancellazione Drive") {
            QVERIFY(window.ui->labelAction->isVisible());
            QCOMPARE(window.ui->labelAction->text(), messageText(language, MSG_FORMATTING));
        }
    };

    QTest::mouseClick(window.findChild<QPushButton *>(button), Qt::LeftButton);

    QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join("; ")));
    QCOMPARE(dialogs.titles(), expectedTitles);
    QCOMPARE(dialogs.prompts.last().text, messageText(language, MSG_SETUP_FINISHED_TEXT));
    QMap<QString, QByteArray> expected = merged(systemFiles, updateFiles);
    if (songsKept) {
        QMap<QString, QByteArray> kept = songs;
        // The plain reinstall replaces the whole system folder, playlists included.
        if (button == "pushBtnInstall")
            kept.remove("System/Playlist/Party.pls");
        expected = merged(expected, kept);
    }
    QCOMPARE(treeContents(drive.root()), expected);
    QVERIFY(!QFileInfo::exists(temp->saveFolder()));
    if (button == "pushBtnInstallAndRestore")
        QCOMPARE(treeContents(pc.path()), songs);
    QVERIFY(!window.ui->progressBar->isVisible());
    QVERIFY(!window.ui->labelAction->isVisible());
    QVERIFY(!window.ui->pushButtonStop->isVisible());
    QVERIFY(!window.busy);
    if (button == "pushBtnInstall")
        QVERIFY(window.operationOk);
    // The tool's own listings leave the marked system out.
    drive.unplug();
    QVERIFY(platform::attributes(drive.path("System")).system);
    QVERIFY(platform::attributes(drive.path("AUTOEXEC.BAT")).hidden);
}

QTEST_MAIN(TestGuiReinstall)
#include "tst_gui_reinstall.moc"
