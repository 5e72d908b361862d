// The update, the three reinstalls and the start-up window's repair on a throw-away drive, with
// the demo packages served on loopback, the real unpacker and the attribute helper: the windows
// end to end, every kind of bad package, and the reinstall engine's early ends.
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

// What the backup leaves out and so no erase may take: a hidden file, a name without a dot,
// an effects folder deep in the library.
QMap<QString, QByteArray> addUnsaved(DriveFixture &drive)
{
    drive.writeFile(".hidden.txt", "hidden");
    drive.writeFile("Dance/NOTES", "no dot");
    drive.writeFile("Dance/Effects/echo.fx", "deep effects");
    return {{".hidden.txt", "hidden"}, {"Dance/NOTES", "no dot"}, {"Dance/Effects/echo.fx", "deep effects"}};
}

bool isSuccessBox(const QString &title)
{
    return QStringList{"End operation", "Fine operazioni", "Done", "Fatto"}.contains(title);
}
} // namespace

class TestGuiReinstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void windowsUpdateTheDrive_data();
    void windowsUpdateTheDrive();
    void badPackagesChangeNothing_data();
    void badPackagesChangeNothing();
    void earlyEnds_data();
    void earlyEnds();
    void eraseRefusesOtherPaths();
    void keptPackageServesWhenTheServerFails();

private:
    QTemporaryDir packages;
    QString served;
    QString withoutDisplay;   // a valid zip of the system without DispProc.exe
    QString scrambled;        // the full package with 4 KB scrambled in the middle
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
    QByteArray bytes = full.readAll();
    for (int i = 0; i < 4096; ++i)
        bytes[bytes.size() / 2 - 2048 + i] = char(i * 7 + 3);
    scrambled = packages.filePath("scrambled.zip");
    QFile out(scrambled);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
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
    // Closing the start-up window during the repair asks, then stops it like the Stop button.
    QTest::newRow("repair closed") << "repair" << 1 << QStringList{"Yes", "Yes", "Ok"}
                                   << QStringList{"System files are damaged or missing", "Repair in progress",
                                                  "Operation Stopped"}
                                   << "" << "untouched";
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
    const auto unsaved = addUnsaved(drive);
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
        // The window is closed once the download is under way.
        QObject::connect(&bed.server, &HttpTestServer::requestReceived, &boot, [&] {
            if (result == "untouched")
                QTimer::singleShot(300, &boot, [&boot] { boot.close(); });
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
        expected = merged(merged(merged(result == "update" ? before : systemFiles, updateFiles), songs), unsaved);
    if (result == "clean")
        expected = merged(systemFiles, updateFiles);
    // The user's playlists survive the replaced system folder (they are in songs), and no
    // staging or old system is left behind.
    QCOMPARE(treeContents(drive.root()), expected);
    QVERIFY(!QFileInfo::exists(bed.saveFolder()) || result == "untouched");
    if (result == "restore")
        QCOMPARE(treeContents(pc.path(), false), songs);
    for (const QString &title : dialogs.titles())
        QVERIFY2(!isSuccessBox(title) || result != "untouched", qPrintable(title));
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

// Every kind of bad package, through the real buttons: the drive stays byte for byte as it was,
// an error box says so, and no success box is ever shown.
void TestGuiReinstall::badPackagesChangeNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("titles");
    const QStringList error{"ERROR"};
    const QStringList cod1{"Download Error , Cod 1"}, cod2{"Download Error , Cod 2"};
    const char *install = "pushBtnInstall";
    QTest::newRow("a download cut half-way is refused") << install << "cut" << QStringList{"Ok"} << error;
    QTest::newRow("a captive portal's page with status 200 is refused") << install << "portal" << QStringList{"Ok"}
                                                                        << error;
    QTest::newRow("a 500 error page is refused") << install << "500" << QStringList{"Ok"} << error;
    QTest::newRow("15 KB of garbage are refused") << install << "garbage" << QStringList{"Ok"} << error;
    QTest::newRow("a zip scrambled in the middle is refused") << install << "scrambled" << QStringList{"Ok"} << error;
    QTest::newRow("a zip without DispProc.exe is refused") << install << "no display" << QStringList{"Ok"} << error;
    QTest::newRow("an unpacker that cannot run is a failure") << install << "unar cannot run" << QStringList{"Ok"}
                                                              << error;
    QTest::newRow("an unpacker that fails is a failure") << install << "unar fails" << QStringList{"Ok"} << error;
    QTest::newRow("endless redirects are refused") << install << "redirect loop" << QStringList{"Ok"} << error;
    QTest::newRow("the update refuses a cut download") << "pushBtnUpdate" << "cut" << QStringList{"Ok"} << cod1;
    // A whole page is a download that worked: it fails as a package.
    QTest::newRow("the update refuses a captive portal") << "pushBtnUpdate" << "portal" << QStringList{"Ok"} << cod2;
    QTest::newRow("the update refuses a scrambled zip") << "pushBtnUpdate" << "scrambled" << QStringList{"Ok"} << cod2;
    QTest::newRow("the update refuses a zip without its folder") << "pushBtnUpdate" << "no display"
                                                                 << QStringList{"Ok"} << cod2;
    QTest::newRow("the update fails with a failing unpacker") << "pushBtnUpdate" << "unar fails" << QStringList{"Ok"}
                                                              << cod2;
    QTest::newRow("delete songs erases nothing for a scrambled zip")
        << "pushBtnInstallAndClean" << "scrambled" << QStringList{"Yes", "Ok"} << QStringList{"Format Corvel3 HD", "ERROR"};
    QTest::newRow("restore songs erases nothing for a zip without DispProc.exe")
        << "pushBtnInstallAndRestore" << "no display" << QStringList{"<pc>", "Ok"}
        << QStringList{"Choose a folder to save your files", "ERROR"};
    QTest::newRow("the start-up repair refuses a captive portal")
        << "repair" << "portal" << QStringList{"Yes", "Ok"} << QStringList{"System files are damaged or missing", "ERROR"};
}

void TestGuiReinstall::badPackagesChangeNothing()
{
    QFETCH(QString, button);
    QFETCH(QString, fault);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, titles);
    UpdateBed bed;
    const QString route = button == "pushBtnUpdate" ? kUpdatePackagePath : kFullPackagePath;
    const QString good = served + (button == "pushBtnUpdate" ? "CorvelUpdate.zip" : "CorvelAll.zip");
    bed.serveFull(served + "CorvelAll.zip");
    bed.serveUpdate(served + "CorvelUpdate.zip");
    QByteArray page;
    for (int i = 0; page.size() < 17000; ++i)
        page += "<p>Please sign in to use the hotel network " + QByteArray::number(i) + "</p>\n";
    HttpTestServer::Route r;
    if (fault == "cut") {
        r.filePath = good;
        r.fault = HttpTestServer::Fault::CutOff;
        r.cutAfter = QFileInfo(good).size() / 2;
        bed.server.setRoute(route, r);
    } else if (fault == "portal") {
        r.body = "<html><body>" + page + "</body></html>";
        r.contentType = "text/html";
        bed.server.setRoute(route, r);
    } else if (fault == "500") {
        bed.server.serveStatus(route, 500, "<html><body>" + page + "</body></html>");
    } else if (fault == "garbage") {
        bed.server.serveGenerated(route, 15000);
    } else if (fault == "scrambled") {
        bed.server.serveFile(route, scrambled);
    } else if (fault == "no display") {
        bed.server.serveFile(route, withoutDisplay);
    } else if (fault == "redirect loop") {
        bed.server.serveRedirect(route, bed.server.url(route));
    }
    QTemporaryDir pc;
    const QString notProgram = pc.filePath("unar");
    QFile text(notProgram);
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a program") > 0);
    text.close();
    if (fault == "unar cannot run")
        qputenv("CORVEL3_UNPACKER", QFile::encodeName(notProgram));
    if (fault == "unar fails")
        qputenv("CORVEL3_UNPACKER", "/bin/false");
    const auto unpacker = qScopeGuard([] { qunsetenv("CORVEL3_UNPACKER"); });

    DriveFixture drive;
    fillDrive(drive);
    addUnsaved(drive);
    if (button == "repair")
        QFile::remove(drive.path("System/Corvel/Corvel.exe"));
    drive.writeFile("CorvelUpdate/old.bin", "the update the player has");
    const auto before = treeContents(drive.root());
    QTemporaryDir backup;
    ScriptedDialogs dialogs;
    for (const QString &answer : answers)
        dialogs.answer(answer == "<pc>" ? backup.path() : answer);
    MainWindow_boot boot;
    MainWindow *window = boot.mainWindow;
    window->setDialogs(&dialogs);
    window->currentLanguage = 1;
    if (button == "repair") {
        QFile ini(pc.filePath("Corvel.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("english") > 0);
        ini.close();
        boot.appDirPath = pc.path() + "/";
        boot.show();
        boot.check_language();
    } else {
        window->show();
        QTest::mouseClick(window->findChild<QPushButton *>(button), Qt::LeftButton);
    }

    QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join("; ")));
    QCOMPARE(dialogs.titles(), titles);
    for (const QString &title : dialogs.titles())
        QVERIFY2(!isSuccessBox(title), qPrintable(title));
    QCOMPARE(treeContents(drive.root()), before);
    if (button == "pushBtnInstall" || button == "repair")
        QVERIFY(!window->operationOk);
    QVERIFY(!window->busy);
}

void TestGuiReinstall::earlyEnds_data()
{
    QTest::addColumn<int>("variant");   // 0 system only, 1 clean, 2 restore
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("requests");   // made to the server, in order
    QTest::addColumn<QString>("result");         // "before", "system only": what the drive holds
    const QString all = kFullPackagePath;
    const QString chooser = "Choose a folder to save your files";
    QTest::newRow("no device, it") << 0 << "absent" << 0 << QStringList{"Ok"}
                                   << QStringList{"Corvel3 non è stato trovato"} << QStringList() << "before";
    QTest::newRow("no device, en") << 0 << "absent" << 1 << QStringList{"Ok"}
                                   << QStringList{"I can't find Corvel3 on USB port"} << QStringList() << "before";
    QTest::newRow("clean, no") << 1 << "" << 1 << QStringList{"No"} << QStringList{"Format Corvel3 HD"}
                               << QStringList() << "before";
    QTest::newRow("clean, no erase") << 1 << "" << 1 << QStringList{"Yes", "No", "Ok"}
                                     << QStringList{"Format Corvel3 HD", "Cancellazione Drive", "Format error"}
                                     << QStringList{all} << "before";
    QTest::newRow("restore, no folder") << 2 << "" << 1 << QStringList{""} << QStringList{chooser} << QStringList()
                                        << "before";
    // A backup kept on the drive itself would be erased with it.
    QTest::newRow("restore, folder on drive") << 2 << "" << 1 << QStringList{"<drive>", "Ok"}
                                              << QStringList{chooser, "Error while BackUp"} << QStringList() << "before";
    // A rename fails half-way through the swap: the old system comes back whole.
    QTest::newRow("a failed swap keeps the old system") << 0 << "swap" << 1 << QStringList{"Ok"}
                                                        << QStringList{"ERROR"} << QStringList{all} << "before";
    QTest::newRow("a failed swap after deleting the songs keeps the old system")
        << 1 << "swap" << 1 << QStringList{"Yes", "Si", "Ok"}
        << QStringList{"Format Corvel3 HD", "Cancellazione Drive", "ERROR"} << QStringList{all} << "system only";
    // The songs come back whatever the install did, and the box says what the player holds.
    QTest::newRow("a failed swap after saving the songs brings them back")
        << 2 << "swap" << 1 << QStringList{"<pc>", "Si", "Ok"} << QStringList{chooser, "Cancellazione Drive", "ERROR"}
        << QStringList{all} << "before";
}

void TestGuiReinstall::earlyEnds()
{
    QFETCH(int, variant);
    QFETCH(QString, fault);
    QFETCH(int, language);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, requests);
    QFETCH(QString, result);
    UpdateBed bed;
    bed.serveFull(served + "CorvelAll.zip");
    bed.serveUpdate(served + "CorvelUpdate.zip");
    DriveFixture drive;
    const auto songs = fillDrive(drive);
    const auto before = treeContents(drive.root());
    QTemporaryDir pc;
    EngineHarness h;
    h.state.currentLanguage = language;
    h.state.operationOk = true;
    h.drive = fault == "absent" ? QString() : drive.root();
    for (const QString &answer : answers)
        h.dialogs.answer(answer == "<pc>" ? pc.path() : answer == "<drive>" ? drive.path("Backup") : answer);

    Reinstall reinstall(h.ctx);
    if (fault == "swap")
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
    QCOMPARE(bed.server.requests(), requests);
    QVERIFY(!h.progress.busy());
    // The start-up window reads this flag: no repair may be claimed that did not happen.
    if (variant == 0)
        QVERIFY(!h.state.operationOk);
    QMap<QString, QByteArray> expected = before;
    if (result == "system only") {
        for (const QString &path : before.keys())
            if (!path.startsWith("System/"))
                expected.remove(path);
    }
    QCOMPARE(treeContents(drive.root()), expected);
    if (fault == "absent")
        QCOMPARE(h.dialogs.prompts[0].text, messageText(language, MSG_DEVICE_NOT_FOUND_TEXT));
    if (fault == "swap" && variant == 1)
        QVERIFY(h.dialogs.prompts.last().text.contains("still has its previous one and starts.\nThe songs have been deleted."));
    if (fault == "swap" && variant == 2) {
        QVERIFY(h.dialogs.prompts.last().text.contains("The songs have been restored."));
        QCOMPARE(treeContents(pc.path(), false), songs);
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
    Reinstall reinstall(h.ctx);
    for (const QString &path : {QString("/"), QDir::homePath(), other.path() + "/", drive.path("Dance/")})
        QVERIFY2(!reinstall.eraseDrive(path), qPrintable(path));
    QVERIFY(h.dialogs.prompts.isEmpty());
    QCOMPARE(treeContents(drive.root()), before);
}

// A reinstall that worked keeps its package; when the server later sends garbage, the user is
// offered the kept one (default "No") and it installs.
void TestGuiReinstall::keptPackageServesWhenTheServerFails()
{
    UpdateBed bed;
    bed.serveFull(served + "CorvelAll.zip");
    bed.serveUpdate(served + "CorvelUpdate.zip");
    DriveFixture drive;
    const auto songs = fillDrive(drive);
    EngineHarness h;
    h.drive = drive.root();
    h.dialogs.answer("Ok");
    QString package;
    h.state.operationOk = true;
    Reinstall(h.ctx).reinstallSystem(package);
    QVERIFY(h.state.operationOk);
    QVERIFY(QFileInfo(Reinstall::cachedPackagePath()).isFile());

    bed.server.serveGenerated(kFullPackagePath, 15000);
    drive.writeFile("System/Corvel/Corvel.exe", "MZ broken again");
    h.dialogs.answer("Yes");
    h.dialogs.answer("Ok");
    Reinstall(h.ctx).reinstallSystem(package);

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles(), (QStringList{"End operation", "Package not available", "End operation"}));
    const auto &question = h.dialogs.prompts[1];
    QCOMPARE(question.captions(), (QStringList{"Yes", "No"}));
    QCOMPARE(question.defaultButton, 1);
    QVERIFY(h.state.operationOk);
    QCOMPARE(treeContents(drive.root()), merged(merged(systemFiles, updateFiles), songs));
}

QTEST_MAIN(TestGuiReinstall)
#include "tst_gui_reinstall.moc"
