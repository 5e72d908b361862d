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
    drive.writeFile("Ballads/three.mf3", "Three");
    drive.addPlaylist("Party.pls", {"\\sdmemory\\Dance\\one.mp3^One"});
    const auto songs = treeContents(drive.root());
    drive.writeFile("System/Corvel/Corvel.exe", "MZ broken");
    drive.writeFile("System/Corvel/old.dll", "from the broken system");
    // The device's names ignore case: a stale "corvelupdate" is the update folder to replace.
    drive.writeFile("corvelupdate/old.bin", "the update the player has");
    return songs;
}

const QString kChooser = "Choose a folder to save your files";

struct Case {
    QString button, fault;   // button "repair": the start-up window finds the system damaged
    int language;
    QStringList answers, titles;   // answers "<pc>", "<drive>", "<save>": a folder there
    QString endText = QString();   // of the last box, when given
    QString result = "untouched";  // what the drive holds afterwards
};
} // namespace
Q_DECLARE_METATYPE(Case)

class TestGuiReinstall : public QObject {
    Q_OBJECT

    QTemporaryDir packages;
    QString served, withoutDisplay;   // withoutDisplay: the system's zip without DispProc.exe, no update folder
    QByteArray scrambled;     // the full package with 4 KB scrambled in the middle
    QMap<QString, QByteArray> systemFiles, updateFiles;

    // The good packages, with route answering as fault says.
    void serve(UpdateBed &bed, const QString &route, const QString &good, const QString &fault)
    {
        bed.serveFull(served + "CorvelAll.zip");
        bed.serveUpdate(served + "CorvelUpdate.zip");
        // A hotel's sign-in page passes the size check.
        const QByteArray page = "<html><body>" + QByteArray("<p>Please sign in to use the hotel network</p>\n").repeated(400)
            + "</body></html>";
        HttpTestServer::Route r;
        r.filePath = good;
        if (fault == "cut" || fault == "closed" || fault == "no length") {
            r.fault = fault == "cut" ? Fault::CutOff : fault == "closed" ? Fault::CloseWithoutReply : Fault::NoContentLength;
            r.cutAfter = QFileInfo(good).size() / 2;
            bed.server.setRoute(route, r);
        } else if (fault == "portal" || fault == "404" || fault == "500") {
            bed.server.serveStatus(route, fault == "portal" ? 200 : fault.toInt(), page);
        } else if (fault.endsWith(" bytes")) {
            bed.server.serveGenerated(route, fault.section(' ', 0, 0).toInt());
        } else if (fault == "scrambled") {
            bed.server.serveStatus(route, 200, scrambled);
        } else if (fault == "no display") {
            bed.server.serveFile(route, withoutDisplay);
        } else if (fault.startsWith("empty ")) {
            bed.server.serveFile(route, packages.filePath(fault + ".zip"));
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

private slots:
    void initTestCase()
    {
        served = makeDemoPackages(packages.path());
        systemFiles = archiveContents(served + "CorvelAll.zip", packages.filePath("all"));
        updateFiles = archiveContents(served + "CorvelUpdate.zip", packages.filePath("update"));
        QVERIFY(systemFiles.contains("AUTOEXEC.BAT") && systemFiles.contains("System/Corvel/SETTINGS")
                && updateFiles.contains("CorvelUpdate/README"));

        QVERIFY(QFile::remove(packages.filePath("all/System/DispProc/DispProc.exe")));
        withoutDisplay = packages.filePath("nodisplay.zip");
        QVERIFY(runTool("zip", {"-q", "-r", "-0", withoutDisplay, "."}, packages.filePath("all")));
        // Every file there, the main program or the update's files empty: no package.
        for (const QString name : {"empty program", "empty update"}) {
            const QString folder = packages.filePath(name);
            for (const QString &file : archiveContents(served + (name == "empty program" ? "CorvelAll.zip" : "CorvelUpdate.zip"), folder).keys())
                if (name == "empty update" || file.endsWith("Corvel.exe"))
                    QVERIFY(QFile::resize(folder + "/" + file, 0));
            QFile beside(folder + "/beside.bin");   // big enough to be a package
            QVERIFY(beside.open(QIODevice::WriteOnly) && beside.write(QByteArray(12000, 'p')) == 12000);
            beside.close();
            QVERIFY(runTool("zip", {"-q", "-r", "-0", folder + ".zip", "."}, folder));
        }
        scrambled = treeContents(served).value("CorvelAll.zip");
        for (int i = 0; i < 4096; ++i)
            scrambled[scrambled.size() / 2 - 2048 + i] = char(i * 7 + 3);
    }


    // Each button (or the start-up window finding the system damaged) against a good or a bad
    // server. A run that works leaves the new system, the songs, the playlists and every file the
    // backup leaves out; any other run leaves the drive byte for byte as it was and shows no success.
    void windowButtons_data()
    {
        QTest::addColumn<Case>("c");
        const auto row = [](const QString &name, const Case &c) { QTest::newRow(qPrintable(name)) << c; };
        const QStringList ok{"Ok"}, error{"ERROR"}, repairEn{"System files are damaged or missing"},
            formatEn{"Format Corvel3 HD"}, saveEn{kChooser}, backupError{kChooser, "Error while BackUp"},
            cod1{"Download Error , Cod 1"};
        const QString install = "pushBtnInstall", update = "pushBtnUpdate", clean = "pushBtnInstallAndClean",
                      restore = "pushBtnInstallAndRestore", repair = "repair", doneEn = messageText(1, MSG_SETUP_FINISHED_TEXT),
                      doneIt = messageText(0, MSG_SETUP_FINISHED_TEXT);
        // A whole answer arrives however it is sent; a short, cut or refused one is no download.
        for (const QString fault : {"", "no length", "5 redirects"})
            row("the update replaces the update folder" + (fault.isEmpty() ? "" : ": " + fault), {update, fault, 1, ok,
                {"End operation"}, messageText(1, MSG_UPDATE_DOWNLOADED_TEXT), "update"});
        row("a reinstall keeps the songs", {install, "", 0, ok, {"Fine operazioni"}, doneIt, "install"});
        row("a reinstall that deletes the songs leaves the bare system", {clean, "", 0, {"Si", "Si", "Ok"},
            {"Azzeramento HD Corvel3", "Cancellazione Drive", "Fine operazioni"}, doneIt, "clean"});
        row("a reinstall that saves the songs brings them back", {restore, "", 1, {"<pc>", "Si", "Ok"},
            saveEn + QStringList{"Cancellazione Drive", "End operation"}, doneEn, "restore"});
        // A package kept from an earlier reinstall is offered (default "No") when the server sends garbage.
        row("a reinstall uses the kept package when the server fails", {install, "kept", 1, {"Yes", "Ok"},
            {"Package not available", "End operation"}, doneEn, "install"});
        row("the start-up repair in Italian", {repair, "", 0, {"Sì", "Ok", "Ok"},
            {"File di sistema danneggiati o mancanti", "Fine operazioni", "Fatto"},
            "Sistema ripristinato correttamente.\nVerrai reindirizzato alla schermata principale", "install"});
        // Closing the start-up window during the repair asks, then stops it like the Stop button.
        row("closing the window stops the repair", {repair, "window closed", 1, {"Yes", "Yes", "Ok"},
            repairEn + QStringList{"Repair in progress", "Operation Stopped"}});
        row("a Stop during the update's download changes nothing", {update, "stop", 1, ok, {"Operation Stopped"}});
        row("a reinstall without the player says so", {install, "absent", 0, ok, {"Corvel3 non è stato trovato"},
            messageText(0, MSG_DEVICE_NOT_FOUND_TEXT)});
        row("declining the warning changes nothing", {clean, "", 1, {"Enter"}, formatEn});
        row("declining the erase changes nothing", {clean, "", 1, {"Yes", "Escape", "Ok"},
            formatEn + QStringList{"Cancellazione Drive", "Format error"}});
        row("choosing no backup folder changes nothing", {restore, "", 1, {""}, saveEn});
        // A backup on the drive would be erased with it; one among the runs' own folders, removed after the run.
        row("a backup folder on the drive is refused", {restore, "", 1, {"<drive>", "Ok"}, backupError});
        row("a backup folder among the runs' own is refused", {restore, "", 1, {"<save>", "Ok"}, backupError});
        for (const QString fault : {"cut", "portal", "500", "15000 bytes", "scrambled", "no display", "unar cannot run",
                                    "unar fails", "redirect loop", "empty program"})
            row("a reinstall refuses: " + fault, {install, fault, 1, ok, error, "ERROR"});
        row("the update refuses a missing package", {update, "404", 1, ok, cod1, messageText(1, MSG_DOWNLOAD_ERROR_TEXT)});
        for (const QString fault : {"cut", "closed", "9999 bytes", "6 redirects"})
            row("the update's download fails: " + fault, {update, fault, 1, ok, cod1});
        // A whole page is a download that worked: it fails as a package.
        for (const QString fault : {"10000 bytes", "portal", "scrambled", "no display", "unar fails", "empty update"})
            row("the update refuses: " + fault, {update, fault, 1, ok, {"Download Error , Cod 2"}});
        row("deleting the songs erases nothing for a scrambled zip", {clean, "scrambled", 1, {"Yes", "Ok"}, formatEn + error});
        row("saving the songs erases nothing for a zip without DispProc.exe", {restore, "no display", 1, {"<pc>", "Ok"}, saveEn + error});
        row("the start-up repair refuses a captive portal", {repair, "portal", 1, {"Yes", "Ok"}, repairEn + error});
    }

    void windowButtons()
    {
        QFETCH(Case, c);
        UpdateBed bed;
        const bool isUpdate = c.button == "pushBtnUpdate";
        serve(bed, isUpdate ? kUpdatePackagePath : kFullPackagePath,
              served + (isUpdate ? "CorvelUpdate.zip" : "CorvelAll.zip"), c.fault);
        QTemporaryDir pc;
        if (c.fault.startsWith("unar"))   // a program that fails, or a file that is no program
            qputenv("CORVEL3_UNPACKER", QFile::encodeName(c.fault == "unar fails" ? "/bin/false" : served + "CorvelAll.zip"));
        const auto unpacker = qScopeGuard([] { qunsetenv("CORVEL3_UNPACKER"); });
        DriveFixture drive;
        const auto songs = fillDrive(drive);
        // What the backup leaves out and so no erase may take: a hidden file, a name without a dot;
        // and a user's folder named like the player's deep in the library, which it takes.
        const QMap<QString, QByteArray> unsaved{{".hidden.txt", "hidden"}, {"Dance/NOTES", "no dot"}},
            userEffects{{"Dance/Effects/echo.fx", "deep effects"}};
        const auto userFiles = merged(unsaved, userEffects);
        for (auto it = userFiles.cbegin(); it != userFiles.cend(); ++it)
            drive.writeFile(it.key(), it.value());
        const auto before = treeContents(drive.root());
        if (c.fault == "absent")
            drive.unplug();
        QDir().mkpath(bed.saveFolder());
        const QMap<QString, QString> folders{{"<pc>", pc.path()}, {"<drive>", drive.path("Backup")}, {"<save>", bed.saveFolder()}};
        ScriptedDialogs dialogs;
        for (const QString &answer : c.answers)
            dialogs.answer(folders.value(answer, answer));
        MainWindow_boot boot;
        MainWindow *window = boot.mainWindow;   // the operations window, as the program makes it
        window->setDialogs(&dialogs);
        QPushButton *stop = c.button == "repair" ? boot.ui->Stop_Button : window->ui->pushButtonStop;
        bool busySeen = false;
        // While the end box is open the operation is still in hand, on the window that runs it.
        dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &p) {
            if (p.title == "End operation" || p.title == "Fine operazioni")
                busySeen = stop->isVisible();
            // Enter never erases, nor takes a package the user did not choose: "No" is the default.
            if (QStringList{"Package not available", "Cancellazione Drive", "Format Corvel3 HD", "Azzeramento HD Corvel3"}
                    .contains(p.title))
                QCOMPARE(p.defaultButton, 1);
            if (p.title == "Cancellazione Drive")
                QCOMPARE(window->ui->labelAction->text(), messageText(c.language, MSG_FORMATTING));
            if (p.title == c.titles.last() && c.fault.isEmpty())
                saveScreenshot(c.button == "repair" ? static_cast<QWidget *>(&boot) : window,
                               QStringLiteral("end-%1").arg(QTest::currentDataTag()));
        };
        // Once the download is under way, the user stops it or closes the start-up window.
        QObject::connect(&bed.server, &HttpTestServer::requestReceived, &boot, [&] {
            if (c.fault == "window closed")
                QTimer::singleShot(300, &boot, [&boot] { boot.close(); });
            if (c.fault == "stop")
                QTimer::singleShot(300, stop, [stop] { QTest::mouseClick(stop, Qt::LeftButton); });
        });

        if (c.button == "repair") {
            QFile ini(pc.filePath("Corvel.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write(c.language == 0 ? "italian" : "english") > 0 && ini.flush());
            boot.appDirPath = pc.path() + "/";
            boot.show();
            boot.check_language();
        } else {
            window->currentLanguage = c.language;
            window->applyLanguage(true, c.language);
            window->show();
            QTest::mouseClick(window->findChild<QPushButton *>(c.button), Qt::LeftButton);
        }

        QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join("; ")));
        QCOMPARE(dialogs.titles(), c.titles);
        if (!c.endText.isEmpty()) {
            QCOMPARE(dialogs.prompts.last().text, c.endText);
            QCOMPARE(dialogs.prompts.last().parent, c.button == "repair" ? static_cast<QObject *>(&boot) : window);
        }
        const bool worked = c.result != "untouched";
        QCOMPARE(busySeen, worked);
        auto expected = !worked ? before : c.result == "clean" ? merged(systemFiles, updateFiles)
            : merged(merged(merged(c.result == "update" ? before : systemFiles, updateFiles), songs), userFiles);
        expected.remove(worked ? "corvelupdate/old.bin" : "");
        // The user's playlists survive the replaced system folder (they are in songs), and no
        // staging or old system is left behind.
        QCOMPARE(treeContents(drive.root()), expected);
        // No package or unpacked file is left, whatever the run did.
        QCOMPARE(QDir(bed.saveFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
        // A system package that installed is kept for a day the server fails.
        QCOMPARE(QFileInfo(Reinstall::cachedPackagePath()).isFile(), worked && c.result != "update");
        if (c.result == "restore")
            QCOMPARE(treeContents(pc.path(), false), merged(songs, userEffects));
        // What ends before the download asks the server nothing.
        if (c.fault == "absent" || c.answers == QStringList{"Enter"} || c.answers == QStringList{""}
            || c.titles.contains("Error while BackUp"))
            QVERIFY(bed.server.requests().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(bed.server.openConnections(), 0, 5000);
        // Handed over (or never left), with no busy widget up on either window.
        QVERIFY(!boot.isVisible() && window->isVisible() && !window->busy);
        for (QWidget *busy : std::initializer_list<QWidget *>{stop, window->ui->progressBar, window->ui->labelAction})
            QVERIFY2(!busy->isVisible(), qPrintable(busy->objectName()));
        if (c.button == "pushBtnInstall" || c.button == "repair")
            QCOMPARE(window->operations.state.operationOk, worked);
        // Marked on the disk itself: the tool's own listings leave the system out.
        drive.unplug();
        QCOMPARE(platform::attributes(drive.path("System")).system, worked && c.result != "update");
        QCOMPARE(platform::attributes(drive.path("AUTOEXEC.BAT")).hidden, worked && c.result != "update");
    }

    // A rename fails half-way through the swap of each reinstall: the old system comes back whole.
    // The erase runs only on the player's drive: any other path is refused before anything is asked.
    void failedSwaps_data()
    {
        QTest::addColumn<Case>("c");   // endText: part of the last box
        QTest::newRow("a failed swap keeps the old system") << Case{"pushBtnInstall", "", 1, {"Ok"}, {"ERROR"}, "ERROR"};
        QTest::newRow("a failed swap after deleting the songs keeps the old system") << Case{"pushBtnInstallAndClean", "", 1,
            {"Yes", "Si", "Ok"}, {"Format Corvel3 HD", "Cancellazione Drive", "ERROR"},
            "still has its previous one and starts.\nThe songs have been deleted."};
        // The staged system is checked again just before the swap: a file cut short since is no system.
        QTest::newRow("a staged file cut short before the swap keeps the old system") << Case{"pushBtnInstallAndClean",
            "cut", 1, {"Yes", "Si", "Ok"}, {"Format Corvel3 HD", "Cancellazione Drive", "ERROR"},
            "still has its previous one and starts.\nThe songs have been deleted."};
        // The songs come back whatever the install did, and the box says what the player holds.
        QTest::newRow("a failed swap after saving the songs brings them back") << Case{"pushBtnInstallAndRestore", "", 1,
            {"Si", "Ok"}, {"Cancellazione Drive", "ERROR"}, "still has its previous one.\nThe songs have been restored."};
        // Nothing is erased before every saved song is checked: one changed once saved stops the run.
        QTest::newRow("a saved song changed before its check erases nothing") << Case{"pushBtnInstallAndRestore",
            "backup changed", 1, {"Ok", "Si", "Ok"}, {"Error while BackUp"}, "changed: Dance/one.mp3"};
    }

    void failedSwaps()
    {
        QFETCH(Case, c);
        const int variant = c.button == "pushBtnInstall" ? 0 : c.button == "pushBtnInstallAndClean" ? 1 : 2;
        UpdateBed bed;
        serve(bed, QString(), QString(), QString());
        DriveFixture drive;
        const auto songs = fillDrive(drive);
        const auto before = treeContents(drive.root());
        QTemporaryDir pc;
        EngineRig h(1, c.answers);
        h.ctx.driveRoot = drive.root();
        Reinstall reinstall(h.ctx);
        for (const QString &path : {QString("/"), QDir::homePath(), pc.path() + "/", drive.path("Dance/")})
            QVERIFY2(!reinstall.eraseDrive(path), qPrintable(path));
        if (c.fault == "cut")
            h.dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &p) {
                if (p.title == "Cancellazione Drive")
                    QVERIFY(QFile::resize(drive.path(".corvel3-staging/System/Corvel/Corvel.exe"), 10));
            };
        else
            reinstall.beforePlacing = [](const QString &name) { return name != "System"; };
        if (c.fault == "backup changed")
            h.ctx.onFileAction = [&](const QString &action, const QString &path, const QString &, bool) {
                if (action == "create" && path.endsWith(".corvel3-manifest.json"))
                    QVERIFY(QFile::resize(QFileInfo(path).path() + "/Dance/one.mp3", 5));
            };
        QString packagePath;
        const Outcome outcome = variant == 0 ? reinstall.keepSongs(packagePath)
                                : variant == 1 ? reinstall.eraseSongs() : reinstall.saveAndRestore(pc.path());

        QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
        QCOMPARE(h.dialogs.titles(), c.titles);
        QVERIFY2(h.dialogs.prompts.last().text.contains(c.endText), qPrintable(h.dialogs.prompts.last().text));
        // No repair may be claimed that did not happen, and the boxes have said why.
        QVERIFY(outcome.status == Outcome::Status::Failed && outcome.told);
        QMap<QString, QByteArray> expected = before;
        for (const QString &path : before.keys())
            if (variant == 1 && !path.startsWith("System/") && !path.startsWith("corvelupdate/"))
                expected.remove(path);
        QCOMPARE(treeContents(drive.root()), expected);
        if (variant == 2 && c.fault.isEmpty())
            QCOMPARE(treeContents(pc.path(), false), songs);
    }
};

QTEST_MAIN(TestGuiReinstall)
#include "tst_gui_reinstall.moc"
