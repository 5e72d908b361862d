// The update, the three reinstalls and the start-up window's repair on a throw-away drive, with
// the demo packages served on loopback, the real unpacker and the attribute helper: the windows
// end to end, and the reinstall engine's early ends.
#include <QTimer>
#include <QtTest>

#include "app/mainwindow_boot.h"
#include "tests/common/screenshots.h"
#include "tests/update/updatetestsupport.h"
#include "core/messagetable.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"
#include "ui_mainwindow_boot.h"

namespace {
// Songs with a playlist, then a broken system that lacks its start file; returns the songs.
QMap<QString, QByteArray> fillDrive(DriveFixture &drive)
{
    drive.writeMp3("Dance/one.mp3", "One");
    drive.writeMidi("Dance/two.mid", "Two");
    drive.writeFixedField("Ballads/three.mf3", "Three");
    drive.addPlaylist("Party.pls", {"\\sdmemory\\Dance\\one.mp3^One"});
    const auto songs = treeContents(drive.root());
    drive.writeFile("System/Corvel/Corvel.exe", "MZ broken");
    drive.writeFile("System/Corvel/old.dll", "from the broken system");
    return songs;
}
} // namespace

class TestGuiReinstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowsUpdateTheDrive_data();
    void windowsUpdateTheDrive();
    void earlyEnds_data();
    void earlyEnds();
    void eraseRefusesOtherPaths();

private:
    QTemporaryDir packages;
    QString served;
    QMap<QString, QByteArray> systemFiles, updateFiles;
};

void TestGuiReinstall::initTestCase()
{
    served = makeDemoPackages(packages.path());
    systemFiles = archiveContents(served + "CorvelAll.zip", packages.filePath("all"));
    updateFiles = archiveContents(served + "CorvelUpdate.zip", packages.filePath("update"));
    QVERIFY(systemFiles.contains("AUTOEXEC.BAT") && systemFiles.contains("System/Corvel/Corvel.exe"));
    QVERIFY(!updateFiles.isEmpty());
}

void TestGuiReinstall::windowsUpdateTheDrive_data()
{
    QTest::addColumn<QString>("button");   // "repair": the start-up window finds the system damaged
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("answers");   // "<pc>": the backup folder
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("endText");
    QTest::addColumn<QString>("result");   // what the drive holds afterwards
    const QString chooser = "Choose a folder to save your files";
    QTest::newRow("update") << "pushBtnUpdate" << 1 << QStringList{"Ok"} << QStringList{"End operation"}
                            << messageText(1, MSG_UPDATE_DOWNLOADED_TEXT) << "update";
    QTest::newRow("install") << "pushBtnInstall" << 0 << QStringList{"Ok"} << QStringList{"Fine operazioni"}
                             << messageText(0, MSG_SETUP_FINISHED_TEXT) << "install";
    QTest::newRow("clean") << "pushBtnInstallAndClean" << 0 << QStringList{"Si", "Si", "Ok"}
                           << QStringList{"Azzeramento HD Corvel3", "Cancellazione Drive", "Fine operazioni"}
                           << messageText(0, MSG_SETUP_FINISHED_TEXT) << "clean";
    QTest::newRow("restore") << "pushBtnInstallAndRestore" << 1 << QStringList{"<pc>", "Si", "Ok"}
                             << QStringList{chooser, "Cancellazione Drive", "End operation"}
                             << messageText(1, MSG_SETUP_FINISHED_TEXT) << "restore";
    QTest::newRow("repair, it") << "repair" << 0 << QStringList{"Sì", "Ok", "Ok"}
                                << QStringList{"File di sistema danneggiati o mancanti", "Fine operazioni", "Fatto"}
                                << "Sistema ripristinato correttamente.\nVerrai reindirizzato alla schermata principale"
                                << "install";
    QTest::newRow("repair, en") << "repair" << 1 << QStringList{"Yes", "Ok", "Ok"}
                                << QStringList{"System files are damaged or missing", "End operation", "Done"}
                                << "System successfully restored.\nYou will be redirected to the main window."
                                << "install";
    QTest::newRow("repair stopped") << "repair" << 1 << QStringList{"Yes", "Ok"}
                                    << QStringList{"System files are damaged or missing", "Operation Stopped"} << ""
                                    << "untouched";
}

void TestGuiReinstall::windowsUpdateTheDrive()
{
    QFETCH(QString, button);
    QFETCH(int, language);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, titles);
    QFETCH(QString, endText);
    QFETCH(QString, result);
    UpdateBed bed;
    if (result == "untouched")
        bed.server.serveTrickle(QString::fromLatin1(kFullPackagePath), QByteArray(20000, 'x'), 500, 100);
    else
        bed.serveFull(served + "CorvelAll.zip");
    bed.serveUpdate(served + "CorvelUpdate.zip");
    DriveFixture drive;
    const auto songs = fillDrive(drive);
    const auto before = treeContents(drive.root());
    QTemporaryDir pc;
    ScriptedDialogs dialogs;
    for (const QString &answer : answers)
        dialogs.answer(answer == "<pc>" ? pc.path() : answer);
    MainWindow_boot boot;
    MainWindow *window = boot.mainWindow;   // the operations window, as the program makes it
    window->setDialogs(&dialogs);
    QPushButton *stop = button == "repair" ? boot.ui->Stop_Button : window->ui->pushButtonStop;
    bool busySeen = false;
    // While the end box is open the operation is still in hand, on the window that runs it.
    dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &p) {
        if (p.title == "End operation" || p.title == "Fine operazioni")
            busySeen = stop->isVisible();
        if (p.title == "Cancellazione Drive")
            QCOMPARE(window->ui->labelAction->text(), messageText(language, MSG_FORMATTING));
        if (p.title == titles.last())
            saveScreenshot(button == "repair" ? static_cast<QWidget *>(&boot) : window,
                           QStringLiteral("end-%1").arg(QTest::currentDataTag()));
    };

    if (button == "repair") {
        QFile ini(pc.filePath("Corvel.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(language == 0 ? "italian" : "english");
        ini.close();
        boot.appDirPath = pc.path() + "/";
        boot.show();
        // Stop is pressed once the download is under way.
        QObject::connect(&bed.server, &HttpTestServer::requestReceived, &boot, [&] {
            if (result == "untouched")
                QTimer::singleShot(300, &boot, [stop] { QTest::mouseClick(stop, Qt::LeftButton); });
        });
        boot.check_language();
    } else {
        window->currentLanguage = language;
        window->applyLanguage(true, language);
        window->show();
        QTest::mouseClick(window->findChild<QPushButton *>(button), Qt::LeftButton);
    }

    QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join("; ")));
    QCOMPARE(dialogs.titles(), titles);
    if (!endText.isEmpty()) {
        QCOMPARE(dialogs.prompts.last().text, endText);
        QCOMPARE(dialogs.prompts.last().parent, button == "repair" ? static_cast<QObject *>(&boot) : window);
    }
    QCOMPARE(busySeen, result != "untouched");
    QMap<QString, QByteArray> expected = before;
    if (result != "untouched")
        expected = merged(merged(result == "update" ? before : systemFiles, updateFiles), songs);
    if (result == "clean")
        expected = merged(systemFiles, updateFiles);
    // The user's playlists survive the replaced system folder (they are in songs).
    QCOMPARE(treeContents(drive.root()), expected);
    QVERIFY(!QFileInfo::exists(bed.saveFolder()) || result == "untouched");
    if (result == "restore")
        QCOMPARE(treeContents(pc.path(), false), songs);   // beside its hidden manifest
    // Handed over (or never left), with no busy widget up on either window.
    QVERIFY(!boot.isVisible());
    QVERIFY(window->isVisible());
    QVERIFY(!stop->isVisible());
    QVERIFY(!window->ui->progressBar->isVisible());
    QVERIFY(!window->ui->labelAction->isVisible());
    QVERIFY(!window->ui->pushButtonStop->isVisible());
    QVERIFY(!window->busy);
    if (button == "pushBtnInstall" || button == "repair")
        QCOMPARE(window->operationOk, result != "untouched");
    // Marked on the disk itself: the tool's own listings leave the system out.
    drive.unplug();
    const bool marked = result != "update" && result != "untouched";
    QCOMPARE(platform::attributes(drive.path("System")).system, marked);
    QCOMPARE(platform::attributes(drive.path("AUTOEXEC.BAT")).hidden, marked);
}

void TestGuiReinstall::earlyEnds_data()
{
    QTest::addColumn<int>("variant");   // 0 system only, 1 clean, 2 restore
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("requests");   // made to the server, in order
    const QString all = kFullPackagePath;
    const QString chooser = "Choose a folder to save your files";
    QTest::newRow("no device, it") << 0 << "absent" << 0 << QStringList{"Ok"}
                                   << QStringList{"Corvel3 non è stato trovato"} << QStringList();
    QTest::newRow("no device, en") << 0 << "absent" << 1 << QStringList{"Ok"}
                                   << QStringList{"I can't find Corvel3 on USB port"} << QStringList();
    QTest::newRow("clean, no") << 1 << "" << 1 << QStringList{"No"} << QStringList{"Format Corvel3 HD"}
                               << QStringList();
    QTest::newRow("clean, no erase") << 1 << "" << 1 << QStringList{"Yes", "No", "Ok"}
                                     << QStringList{"Format Corvel3 HD", "Cancellazione Drive", "Format error"}
                                     << QStringList{all};
    QTest::newRow("restore, no folder") << 2 << "" << 1 << QStringList{""} << QStringList{chooser} << QStringList();
    // A backup kept on the drive itself would be erased with it.
    QTest::newRow("restore, folder on drive") << 2 << "" << 1 << QStringList{"<drive>", "Ok"}
                                              << QStringList{chooser, "Error while BackUp"} << QStringList();
    // A file where the package needs a folder: the copy engine stops, and no update follows.
    QTest::newRow("copy stops") << 0 << "copy" << 0 << QStringList{"Ok", "Ok"} << QStringList{"ERRORE", "ERRORE"}
                                << QStringList{all};
    // The songs come back whatever the install did.
    QTest::newRow("restore, install fails") << 2 << "install" << 1 << QStringList{"<pc>", "Si", "Ok", "Ok"}
                                            << QStringList{chooser, "Cancellazione Drive", "ERROR", "End operation"}
                                            << QStringList{all, kUpdatePackagePath};
}

void TestGuiReinstall::earlyEnds()
{
    QFETCH(int, variant);
    QFETCH(QString, fault);
    QFETCH(int, language);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, requests);
    UpdateBed bed;
    bed.serveFull(served + "CorvelAll.zip");
    bed.serveUpdate(served + "CorvelUpdate.zip");
    DriveFixture drive;
    const auto songs = fillDrive(drive);
    if (fault == "copy")
        drive.writeFile("EFFECTS", "a file");
    const auto before = treeContents(drive.root());
    QTemporaryDir pc;
    EngineHarness h;
    h.state.currentLanguage = language;
    h.state.operationOk = true;
    h.drive = fault == "absent" ? QString() : drive.root();
    for (const QString &answer : answers)
        h.dialogs.answer(answer == "<pc>" ? pc.path() : answer == "<drive>" ? drive.path("Backup") : answer);
    ReinstallOps ops = h.reinstallOps();
    if (fault == "install") {
        ops.files.removeFolderTree = [remove = ops.files.removeFolderTree](const QString &folder) {
            return QFileInfo(folder).fileName() != "system" && remove(folder);
        };
    }

    Reinstall reinstall(h.ctx, ops);
    QString packagePath;
    if (variant == 0)
        reinstall.reinstallSystem(packagePath);
    else if (variant == 1)
        reinstall.reinstallAndClean();
    else
        reinstall.reinstallAndRestore();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles(), titles);
    QCOMPARE(bed.server.requests(), requests);
    QVERIFY(!h.progress.busy());
    // The start-up window reads this flag: no repair may be claimed that did not happen.
    if (variant == 0)
        QVERIFY(!h.state.operationOk);
    if (fault == "install") {
        QCOMPARE(treeContents(pc.path(), false), songs);   // beside its hidden manifest
        QCOMPARE(treeContents(drive.root()), merged(songs, updateFiles));
    } else if (fault != "copy") {
        QCOMPARE(treeContents(drive.root()), before);
    }
    if (fault == "absent")
        QCOMPARE(h.dialogs.prompts[0].text, messageText(language, MSG_DEVICE_NOT_FOUND_TEXT));
    if (fault == "copy") {
        QCOMPARE(h.dialogs.prompts.last().icon, BoxIcon::Critical);
        QCOMPARE(h.dialogs.prompts.last().text,
                 "Procedura terminata in modo inaspettato.\nProvare a reinstallare il sistema operativo.");
    }
}

// The erase runs only on the player's drive: any other path is refused before anything is asked.
void TestGuiReinstall::eraseRefusesOtherPaths()
{
    DriveFixture drive;
    fillDrive(drive);
    const auto before = treeContents(drive.root());
    QTemporaryDir other;
    EngineHarness h;
    h.drive = drive.root();
    Reinstall reinstall(h.ctx, h.reinstallOps());
    for (const QString &path : {QString("/"), QDir::homePath(), other.path() + "/", drive.path("Dance/")})
        QVERIFY2(!reinstall.eraseDrive(path), qPrintable(path));
    QVERIFY(h.dialogs.prompts.isEmpty());
    QCOMPARE(treeContents(drive.root()), before);
}

QTEST_MAIN(TestGuiReinstall)
#include "tst_gui_reinstall.moc"
