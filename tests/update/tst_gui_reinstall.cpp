// The update, the three reinstalls and the start-up window's repair on a throw-away drive, with
// the demo packages and every kind of bad answer served on loopback, the real unpacker and the
// attribute helper: the windows end to end, and the reinstalls when the swap fails half-way.
#include <QTimer>
#include <QtTest>

#include "app/mainwindow_boot.h"
#include "tests/common/screenshots.h"
#include "tests/update/updatetestsupport.h"
#include "core/messagetable.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"
#include "ui_mainwindow_boot.h"

using Fault = HttpTestServer::Fault;

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
    // The device's names ignore case: a stale "corvelupdate" is the update folder to replace.
    drive.writeFile("corvelupdate/old.bin", "the update the player has");
    return songs;
}

const QStringList kSuccessTitles{"End operation", "Fine operazioni", "Done", "Fatto"};
const QString kChooser = "Choose a folder to save your files";
} // namespace

class TestGuiReinstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowButtons_data();
    void windowButtons();
    void failedSwaps_data();
    void failedSwaps();
    void eraseRefusesOtherPaths();

private:
    void serve(UpdateBed &bed, const QString &route, const QString &good, const QString &fault);

    QTemporaryDir packages;
    QString served;
    QString withoutDisplay;   // a valid zip of the system without DispProc.exe (and no update folder)
    QByteArray scrambled;     // the full package with 4 KB scrambled in the middle
    QMap<QString, QByteArray> systemFiles, updateFiles;
};

void TestGuiReinstall::initTestCase()
{
    served = makeDemoPackages(packages.path());
    systemFiles = archiveContents(served + "CorvelAll.zip", packages.filePath("all"));
    updateFiles = archiveContents(served + "CorvelUpdate.zip", packages.filePath("update"));
    QVERIFY(systemFiles.contains("AUTOEXEC.BAT") && systemFiles.contains("System/Corvel/SETTINGS"));
    QVERIFY(updateFiles.contains("CorvelUpdate/README"));

    QVERIFY(QFile::remove(packages.filePath("all/System/DispProc/DispProc.exe")));
    withoutDisplay = packages.filePath("nodisplay.zip");
    QProcess zip;
    zip.setWorkingDirectory(packages.filePath("all"));
    zip.start("zip", {"-q", "-r", "-0", withoutDisplay, "."});
    QVERIFY(zip.waitForFinished(30000) && zip.exitCode() == 0);

    QFile full(served + "CorvelAll.zip");
    QVERIFY(full.open(QIODevice::ReadOnly));
    scrambled = full.readAll();
    for (int i = 0; i < 4096; ++i)
        scrambled[scrambled.size() / 2 - 2048 + i] = char(i * 7 + 3);
}

// The good packages, with route answering as fault says.
void TestGuiReinstall::serve(UpdateBed &bed, const QString &route, const QString &good, const QString &fault)
{
    bed.serveFull(served + "CorvelAll.zip");
    bed.serveUpdate(served + "CorvelUpdate.zip");
    QByteArray page = "<html><body>";   // a hotel's sign-in page passes the size check
    for (int i = 0; page.size() < 17000; ++i)
        page += "<p>Please sign in to use the hotel network " + QByteArray::number(i) + "</p>\n";
    HttpTestServer::Route r;
    r.filePath = good;
    if (fault == "cut" || fault == "closed" || fault == "no length") {
        r.fault = fault == "cut" ? Fault::CutOff : fault == "closed" ? Fault::CloseWithoutReply : Fault::NoContentLength;
        r.cutAfter = QFileInfo(good).size() / 2;
        bed.server.setRoute(route, r);
    } else if (fault == "portal" || fault == "404" || fault == "500") {
        bed.server.serveStatus(route, fault == "portal" ? 200 : fault.toInt(), page + "</body></html>");
    } else if (fault.endsWith(" bytes")) {
        bed.server.serveGenerated(route, fault.section(' ', 0, 0).toInt());
    } else if (fault == "scrambled") {
        bed.server.serveStatus(route, 200, scrambled);
    } else if (fault == "no display") {
        bed.server.serveFile(route, withoutDisplay);
    } else if (fault == "redirect loop") {
        bed.server.serveRedirect(route, bed.server.url(route));
    } else if (fault.endsWith(" redirects")) {
        const int hops = fault.section(' ', 0, 0).toInt();
        bed.server.setRoute("/hop0/package.zip", r);
        for (int hop = 1; hop <= hops; ++hop)
            bed.server.serveRedirect(hop == hops ? route : QString("/hop%1/package.zip").arg(hop),
                                     bed.server.url(QString("/hop%1/package.zip").arg(hop - 1)));
    } else if (fault == "kept") {
        bed.server.serveGenerated(route, 15000);
        QDir().mkpath(QFileInfo(Reinstall::cachedPackagePath()).path());
        QFile::copy(good, Reinstall::cachedPackagePath());
    } else if (fault == "stop" || fault == "window closed") {
        bed.server.serveTrickle(route, QByteArray(20000, 'x'), 500, 100);
    }
}

// Each button (or the start-up window finding the system damaged) against a good or a bad
// server. A run that works leaves the new system, the songs, the playlists and every file the
// backup leaves out; any other run leaves the drive byte for byte as it was and shows no success.
void TestGuiReinstall::windowButtons_data()
{
    QTest::addColumn<QString>("button");   // "repair": the start-up window finds the system damaged
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("answers");   // "<pc>", "<drive>", "<save>": a folder there
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("endText");   // of the last box, when given
    QTest::addColumn<QString>("result");    // what the drive holds afterwards
    const QStringList ok{"Ok"}, error{"ERROR"}, cod1{"Download Error , Cod 1"}, cod2{"Download Error , Cod 2"};
    const QString install = "pushBtnInstall", update = "pushBtnUpdate", clean = "pushBtnInstallAndClean",
                  restore = "pushBtnInstallAndRestore", repair = "repair";
    const QStringList repairEn{"System files are damaged or missing"}, formatEn{"Format Corvel3 HD"};
    const QStringList saveEn{kChooser};
    // A whole answer arrives however it is sent; a short, cut or refused one is no download.
    for (const char *fault : {"", "no length", "5 redirects"})
        QTest::addRow("the update replaces the update folder%s%s", *fault ? ": " : "", fault) << update << fault << 1
            << ok << QStringList{"End operation"} << messageText(1, MSG_UPDATE_DOWNLOADED_TEXT) << "update";
    QTest::newRow("a reinstall keeps the songs") << install << "" << 0 << ok << QStringList{"Fine operazioni"}
        << messageText(0, MSG_SETUP_FINISHED_TEXT) << "install";
    QTest::newRow("a reinstall that deletes the songs leaves the bare system") << clean << "" << 0
        << QStringList{"Si", "Si", "Ok"} << QStringList{"Azzeramento HD Corvel3", "Cancellazione Drive", "Fine operazioni"}
        << messageText(0, MSG_SETUP_FINISHED_TEXT) << "clean";
    QTest::newRow("a reinstall that saves the songs brings them back") << restore << "" << 1
        << QStringList{"<pc>", "Si", "Ok"} << saveEn + QStringList{"Cancellazione Drive", "End operation"}
        << messageText(1, MSG_SETUP_FINISHED_TEXT) << "restore";
    // A package kept from an earlier reinstall is offered (default "No") when the server sends garbage.
    QTest::newRow("a reinstall uses the kept package when the server fails") << install << "kept" << 1
        << QStringList{"Yes", "Ok"} << QStringList{"Package not available", "End operation"}
        << messageText(1, MSG_SETUP_FINISHED_TEXT) << "install";
    QTest::newRow("the start-up repair in Italian") << repair << "" << 0 << QStringList{"Sì", "Ok", "Ok"}
        << QStringList{"File di sistema danneggiati o mancanti", "Fine operazioni", "Fatto"}
        << "Sistema ripristinato correttamente.\nVerrai reindirizzato alla schermata principale" << "install";
    QTest::newRow("the start-up repair in English") << repair << "" << 1 << QStringList{"Yes", "Ok", "Ok"}
        << repairEn + QStringList{"End operation", "Done"}
        << "System successfully restored.\nYou will be redirected to the main window." << "install";
    // Closing the start-up window during the repair asks, then stops it like the Stop button.
    QTest::newRow("closing the window stops the repair") << repair << "window closed" << 1
        << QStringList{"Yes", "Yes", "Ok"} << repairEn + QStringList{"Repair in progress", "Operation Stopped"} << ""
        << "untouched";
    QTest::newRow("a Stop during the update's download changes nothing") << update << "stop" << 1 << ok
        << QStringList{"Operation Stopped"} << "" << "untouched";
    QTest::newRow("the update without the player says so") << update << "absent" << 1 << ok
        << QStringList{"I can't find Corvel3 on USB port"} << messageText(1, MSG_DEVICE_NOT_FOUND_TEXT) << "untouched";
    QTest::newRow("a reinstall without the player says so") << install << "absent" << 0 << ok
        << QStringList{"Corvel3 non è stato trovato"} << messageText(0, MSG_DEVICE_NOT_FOUND_TEXT) << "untouched";
    QTest::newRow("declining the warning changes nothing") << clean << "" << 1 << QStringList{"No"} << formatEn << ""
                                                           << "untouched";
    QTest::newRow("declining the erase changes nothing") << clean << "" << 1 << QStringList{"Yes", "No", "Ok"}
        << formatEn + QStringList{"Cancellazione Drive", "Format error"} << "" << "untouched";
    QTest::newRow("choosing no backup folder changes nothing") << restore << "" << 1 << QStringList{""} << saveEn << ""
                                                               << "untouched";
    // A backup on the drive would be erased with it; one in the save folder, emptied by the download.
    const QStringList backupError = saveEn + QStringList{"Error while BackUp"};
    QTest::newRow("a backup folder on the drive is refused") << restore << "" << 1 << QStringList{"<drive>", "Ok"}
                                                             << backupError << "" << "untouched";
    QTest::newRow("a backup folder the download empties is refused") << restore << "" << 1
        << QStringList{"<save>", "Ok"} << backupError << "" << "untouched";
    for (const char *fault : {"cut", "portal", "500", "15000 bytes", "scrambled", "no display", "unar cannot run",
                              "unar fails", "redirect loop"})
        QTest::addRow("a reinstall refuses: %s", fault) << install << fault << 1 << ok << error << "ERROR"
                                                         << "untouched";
    QTest::newRow("the update refuses a missing package") << update << "404" << 1 << ok << cod1
        << messageText(1, MSG_DOWNLOAD_ERROR_TEXT) << "untouched";
    for (const char *fault : {"cut", "closed", "9999 bytes", "6 redirects"})
        QTest::addRow("the update's download fails: %s", fault) << update << fault << 1 << ok << cod1 << ""
                                                                 << "untouched";
    // A whole page is a download that worked: it fails as a package.
    for (const char *fault : {"10000 bytes", "portal", "scrambled", "no display", "unar fails"})
        QTest::addRow("the update refuses: %s", fault) << update << fault << 1 << ok << cod2 << "" << "untouched";
    QTest::newRow("deleting the songs erases nothing for a scrambled zip") << clean << "scrambled" << 1
        << QStringList{"Yes", "Ok"} << formatEn + error << "" << "untouched";
    QTest::newRow("saving the songs erases nothing for a zip without DispProc.exe") << restore << "no display" << 1
        << QStringList{"<pc>", "Ok"} << saveEn + error << "" << "untouched";
    QTest::newRow("the start-up repair refuses a captive portal") << repair << "portal" << 1
        << QStringList{"Yes", "Ok"} << repairEn + error << "" << "untouched";
}

void TestGuiReinstall::windowButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, fault);
    QFETCH(int, language);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, titles);
    QFETCH(QString, endText);
    QFETCH(QString, result);
    UpdateBed bed;
    const bool isUpdate = button == "pushBtnUpdate";
    serve(bed, isUpdate ? kUpdatePackagePath : kFullPackagePath,
          served + (isUpdate ? "CorvelUpdate.zip" : "CorvelAll.zip"), fault);
    QTemporaryDir pc;
    if (fault.startsWith("unar")) {
        QFile notProgram(pc.filePath("unar"));
        QVERIFY(notProgram.open(QIODevice::WriteOnly) && notProgram.write("not a program") > 0);
        qputenv("CORVEL3_UNPACKER", fault == "unar fails" ? "/bin/false" : QFile::encodeName(notProgram.fileName()));
    }
    const auto unpacker = qScopeGuard([] { qunsetenv("CORVEL3_UNPACKER"); });
    DriveFixture drive;
    const auto songs = fillDrive(drive);
    // What the backup leaves out and so no erase may take: a hidden file, a name without a dot,
    // an effects folder deep in the library.
    const QMap<QString, QByteArray> unsaved{
        {".hidden.txt", "hidden"}, {"Dance/NOTES", "no dot"}, {"Dance/Effects/echo.fx", "deep effects"}};
    for (auto it = unsaved.cbegin(); it != unsaved.cend(); ++it)
        drive.writeFile(it.key(), it.value());
    const auto before = treeContents(drive.root());
    if (fault == "absent")
        drive.unplug();
    QDir().mkpath(bed.saveFolder());
    const QMap<QString, QString> folders{{"<pc>", pc.path()}, {"<drive>", drive.path("Backup")}, {"<save>", bed.saveFolder()}};
    ScriptedDialogs dialogs;
    for (const QString &answer : answers)
        dialogs.answer(folders.value(answer, answer));
    MainWindow_boot boot;
    MainWindow *window = boot.mainWindow;   // the operations window, as the program makes it
    window->setDialogs(&dialogs);
    QPushButton *stop = button == "repair" ? boot.ui->Stop_Button : window->ui->pushButtonStop;
    bool busySeen = false;
    // While the end box is open the operation is still in hand, on the window that runs it.
    dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &p) {
        if (p.title == "End operation" || p.title == "Fine operazioni")
            busySeen = stop->isVisible();
        if (p.title == "Package not available")
            QCOMPARE(p.defaultButton, 1);
        if (p.title == "Cancellazione Drive")
            QCOMPARE(window->ui->labelAction->text(), messageText(language, MSG_FORMATTING));
        if (p.title == titles.last() && fault.isEmpty())
            saveScreenshot(button == "repair" ? static_cast<QWidget *>(&boot) : window,
                           QStringLiteral("end-%1").arg(QTest::currentDataTag()));
    };
    // Once the download is under way, the user stops it or closes the start-up window.
    QObject::connect(&bed.server, &HttpTestServer::requestReceived, &boot, [&] {
        if (fault == "window closed")
            QTimer::singleShot(300, &boot, [&boot] { boot.close(); });
        if (fault == "stop")
            QTimer::singleShot(300, stop, [stop] { QTest::mouseClick(stop, Qt::LeftButton); });
    });

    if (button == "repair") {
        QFile ini(pc.filePath("Corvel.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write(language == 0 ? "italian" : "english") > 0);
        ini.close();
        boot.appDirPath = pc.path() + "/";
        boot.show();
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
    const bool worked = result != "untouched";
    QCOMPARE(busySeen, worked);
    for (const QString &title : dialogs.titles())
        QVERIFY2(worked || !kSuccessTitles.contains(title), qPrintable(title));
    QMap<QString, QByteArray> expected = before;
    if (worked) {
        expected = merged(merged(merged(result == "update" ? before : systemFiles, updateFiles), songs), unsaved);
        expected.remove("corvelupdate/old.bin");
    }
    if (result == "clean")
        expected = merged(systemFiles, updateFiles);
    // The user's playlists survive the replaced system folder (they are in songs), and no
    // staging or old system is left behind.
    QCOMPARE(treeContents(drive.root()), expected);
    QVERIFY(!QFileInfo::exists(bed.saveFolder()) || !worked);   // no package or unpacked file is left
    // A system package that installed is kept for a day the server fails.
    QCOMPARE(QFileInfo(Reinstall::cachedPackagePath()).isFile(), worked && result != "update");
    if (result == "restore")
        QCOMPARE(treeContents(pc.path(), false), songs);
    // What ends before the download asks the server nothing.
    if (fault == "absent" || answers == QStringList{"No"} || answers == QStringList{""}
        || titles.contains("Error while BackUp"))
        QVERIFY(bed.server.requests().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(bed.server.openConnections(), 0, 5000);
    // Handed over (or never left), with no busy widget up on either window.
    QVERIFY(!boot.isVisible() && window->isVisible() && !window->busy);
    for (QWidget *busy : std::initializer_list<QWidget *>{stop, window->ui->progressBar, window->ui->labelAction})
        QVERIFY2(!busy->isVisible(), qPrintable(busy->objectName()));
    if (button == "pushBtnInstall" || button == "repair")
        QCOMPARE(window->operationOk, worked);
    // Marked on the disk itself: the tool's own listings leave the system out.
    drive.unplug();
    const bool marked = worked && result != "update";
    QCOMPARE(platform::attributes(drive.path("System")).system, marked);
    QCOMPARE(platform::attributes(drive.path("AUTOEXEC.BAT")).hidden, marked);
}

// A rename fails half-way through the swap of each reinstall: the old system comes back whole.
void TestGuiReinstall::failedSwaps_data()
{
    QTest::addColumn<int>("variant");   // 0 system only, 1 delete songs, 2 save and restore songs
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("endText");   // part of the last box
    QTest::newRow("a failed swap keeps the old system") << 0 << QStringList{"Ok"} << QStringList{"ERROR"} << "ERROR";
    QTest::newRow("a failed swap after deleting the songs keeps the old system") << 1
        << QStringList{"Yes", "Si", "Ok"} << QStringList{"Format Corvel3 HD", "Cancellazione Drive", "ERROR"}
        << "still has its previous one and starts.\nThe songs have been deleted.";
    // The songs come back whatever the install did, and the box says what the player holds.
    QTest::newRow("a failed swap after saving the songs brings them back") << 2 << QStringList{"<pc>", "Si", "Ok"}
        << QStringList{kChooser, "Cancellazione Drive", "ERROR"} << "still has its previous one.\nThe songs have been restored.";
}

void TestGuiReinstall::failedSwaps()
{
    QFETCH(int, variant);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, titles);
    QFETCH(QString, endText);
    UpdateBed bed;
    serve(bed, QString(), QString(), QString());
    DriveFixture drive;
    const auto songs = fillDrive(drive);
    const auto before = treeContents(drive.root());
    QTemporaryDir pc;
    EngineHarness h;
    h.state.operationOk = true;
    h.drive = drive.root();
    for (const QString &answer : answers)
        h.dialogs.answer(answer == "<pc>" ? pc.path() : answer);

    Reinstall reinstall(h.ctx);
    reinstall.beforePlacing = [](const QString &name) { return name != "System"; };
    QString packagePath;
    if (variant == 0)
        reinstall.reinstallSystem(packagePath);
    else if (variant == 1)
        reinstall.reinstallAndClean();
    else
        reinstall.reinstallAndRestore();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles(), titles);
    QVERIFY2(h.dialogs.prompts.last().text.contains(endText), qPrintable(h.dialogs.prompts.last().text));
    QVERIFY(!h.progress.busy());
    // The start-up window reads this flag: no repair may be claimed that did not happen.
    if (variant == 0)
        QVERIFY(!h.state.operationOk);
    QMap<QString, QByteArray> expected = before;
    for (const QString &path : before.keys())
        if (variant == 1 && !path.startsWith("System/") && !path.startsWith("corvelupdate/"))
            expected.remove(path);
    QCOMPARE(treeContents(drive.root()), expected);
    if (variant == 2)
        QCOMPARE(treeContents(pc.path(), false), songs);
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
    Reinstall reinstall(h.ctx);
    for (const QString &path : {QString("/"), QDir::homePath(), other.path() + "/", drive.path("Dance/")})
        QVERIFY2(!reinstall.eraseDrive(path), qPrintable(path));
    QVERIFY(h.dialogs.prompts.isEmpty());
    QCOMPARE(treeContents(drive.root()), before);
}

QTEST_MAIN(TestGuiReinstall)
#include "tst_gui_reinstall.moc"
