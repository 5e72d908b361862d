// The reinstall engine on a throw-away drive, with the loopback server, the real unpacker, the
// transfer engines and the attribute helper.
#include <QTimer>
#include <QtTest>

#include "device/platform.h"
#include "tests/common/drivefixture.h"
#include "tests/common/httptestserver.h"
#include "tests/update/updatetestsupport.h"
#include "transfer/backup.h"
#include "transfer/restore.h"
#include "ui/core/messagetable.h"
#include "update/reinstall.h"
#include "update/updateserver.h"

namespace {
const QString kFullPath = QString::fromLatin1(kFullPackagePath);
const QString kUpdatePath = QString::fromLatin1(kUpdatePackagePath);

// The full package: the start file, the system with a hidden file and an empty playlist
// folder, bridges and effects.
const QMap<QString, QByteArray> kSystemFiles{
    {"AUTOEXEC.BAT", "@ECHO OFF\r\nSystem\\Corvel\\Corvel.exe\r\n"},
    {"System/Corvel/Corvel.exe", noise(30000, 11)},
    {"System/Corvel/.settings.cfg", "volume=7\r\n"},
    {"System/DispProc/DispProc.exe", "MZ display"},
    {"BRIDGES/BRIDGE01.MID", "bridge"},
    {"EFFECTS/REVERB.FX", "reverb"},
};
const QMap<QString, QByteArray> kUpdateFiles{
    {"CorvelUpdate/update.bin", noise(12000, 5)},
    {"CorvelUpdate/version.txt", "2.1\r\n"},
};

QMap<QString, QByteArray> merged(QMap<QString, QByteArray> a, const QMap<QString, QByteArray> &b)
{
    for (auto it = b.cbegin(); it != b.cend(); ++it)
        a.insert(it.key(), it.value());
    return a;
}

// Songs and playlists, written on the drive and expected back after a keeping reinstall.
QMap<QString, QByteArray> writeSongs(DriveFixture &drive)
{
    drive.writeMidi("Songs/a.mid", "Alpha");
    drive.writeMp3("Songs/b.mp3", "Beta");
    drive.writeKaraoke("Pop Hits/c.kar", "Gamma");
    QMap<QString, QByteArray> songs = treeContents(drive.root());
    return songs;
}

// An old system with the names in other cases, which the install must replace all the same.
void writeOldSystem(DriveFixture &drive)
{
    drive.writeFile("autoexec.bat", "old boot");
    drive.writeFile("system/Old.exe", "old program");
    drive.writeFile("Bridges/OLD.MID", "old bridge");
    drive.writeFile("effects/OLD.FX", "old effect");
    drive.writeFile("CorvelUpdate/stale.bin", "stale");
}

// Hidden and system as the tool's own layer reads them, once the folder is no longer a volume
// root (where the player's names count as marked whatever the disk says).
platform::Attributes marksOutsideVolume(DriveFixture &drive, const QString &relative)
{
    drive.unplug();
    const platform::Attributes a = platform::attributes(drive.path(relative));
    drive.plugIn();
    return a;
}

enum class Fault { None, NoDevice, DownloadFails, UnpackerMissing, InstallFails, CopyStops, UpdateFails, Stop };
} // namespace
Q_DECLARE_METATYPE(Fault)

class TestReinstall : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void plainReinstallKeepsSongs_data();
    void plainReinstallKeepsSongs();
    void plainReinstallFailures_data();
    void plainReinstallFailures();

    void cleanDeclinedDoesNothing_data();
    void cleanDeclinedDoesNothing();
    void cleanErasesThenInstalls();
    void cleanEraseRefusedAfterUnpacking();

    void restoreBringsSongsBack();
    void restoreCancelledChooser();
    void restoreRefusesUnsafeFolder_data();
    void restoreRefusesUnsafeFolder();
    void restoreIncompleteBackupErasesNothing();
    void restoreAfterFailedInstall();

    void eraseRefusals_data();
    void eraseRefusals();

    void attributeHelper_data();
    void attributeHelper();

private:
    ReinstallOps opsFor(EngineHarness &h);
    void serveUpdate() { server->serveBytes(kUpdatePath, updateZip); }

    PrivateTempDir *temp = nullptr;
    HttpTestServer *server = nullptr;
    EnvOverride *serverOverride = nullptr;
    QTemporaryDir *work = nullptr;
    QByteArray fullZip, updateZip;
    std::function<bool(const QString &)> failRemoval;   // makes chosen removals fail
};

ReinstallOps TestReinstall::opsFor(EngineHarness &h)
{
    ReinstallOps o;
    o.files = h.ops();
    auto remove = o.files.removeFolderTree;
    o.files.removeFolderTree = [this, remove](const QString &folder) {
        return (failRemoval && failRemoval(folder)) ? false : remove(folder);
    };
    o.backupToFolder = [&h](const QString &root, const QString &folder) {
        return transfer::backupToFolder(h.ctx, root, folder);
    };
    o.restoreFromFolder = [&h](const QString &folder, const QString &root) {
        return transfer::restoreFromFolder(h.ctx, folder, root);
    };
    o.updateSystem = [&h] { return SystemUpdate(h.ctx, h.ops()).updateSystem(false); };
    return o;
}

void TestReinstall::init()
{
    temp = new PrivateTempDir;
    server = new HttpTestServer;
    QVERIFY(server->listen());
    serverOverride = new EnvOverride("CORVEL3_UPDATE_SERVER", server->baseUrl());
    work = new QTemporaryDir;
    writeTree(work->path() + "/all", kSystemFiles);
    QVERIFY(QDir().mkpath(work->path() + "/all/System/Playlist"));
    fullZip = makeZip(work->path() + "/all", work->filePath("CorvelAll.zip"),
                      {"AUTOEXEC.BAT", "System", "BRIDGES", "EFFECTS"});
    writeTree(work->path() + "/update", kUpdateFiles);
    updateZip = makeZip(work->path() + "/update", work->filePath("CorvelUpdate.zip"), {"CorvelUpdate"});
    QVERIFY(fullZip.size() > 10000 && updateZip.size() > 10000);
    failRemoval = nullptr;
}

void TestReinstall::cleanup()
{
    delete work;
    delete serverOverride;
    delete server;
    delete temp;
}

void TestReinstall::plainReinstallKeepsSongs_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("endTitle");
    QTest::newRow("italian") << 0 << "Fine operazioni";
    QTest::newRow("english") << 1 << "End operation";
}

void TestReinstall::plainReinstallKeepsSongs()
{
    QFETCH(int, language);
    QFETCH(QString, endTitle);
    server->serveBytes(kFullPath, fullZip);
    serveUpdate();
    DriveFixture drive;
    const auto songs = writeSongs(drive);
    writeOldSystem(drive);
    EngineHarness h;
    h.state.currentLanguage = language;
    h.state.operationOk = true;
    h.drive = drive.root();
    h.dialogs.answer("Ok");

    QString packagePath;
    Reinstall(h.ctx, opsFor(h)).reinstallSystem(packagePath);

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles(), QStringList{endTitle});
    QCOMPARE(h.dialogs.prompts.first().text, messageText(language, MSG_SETUP_FINISHED_TEXT));
    QVERIFY(h.state.operationOk);
    QCOMPARE(packagePath, temp->saveFolder() + "/CorvelAll.zip");
    // Old system entries gone whatever their case, package and update in, songs untouched.
    QCOMPARE(treeContents(drive.root()), merged(merged(kSystemFiles, kUpdateFiles), songs));
    QVERIFY(QFileInfo(drive.path("System/Playlist")).isDir());
    QVERIFY(!QFileInfo::exists(temp->saveFolder()));
    QCOMPARE(h.progress.statusHistory.mid(0, 4),
             QStringList({messageText(language, MSG_SEARCHING_DEVICE), messageText(language, MSG_DOWNLOADING_RELEASE),
                          messageText(language, MSG_CREATING_SYSTEM_COPY),
                          messageText(language, MSG_TRANSFERRING_SYSTEM)}));
    QVERIFY(!h.progress.busyVisible);

    // The attribute batch marked the two entries and went away.
    for (const QString &entry : {QStringLiteral("System"), QStringLiteral("AUTOEXEC.BAT")}) {
        const platform::Attributes marks = marksOutsideVolume(drive, entry);
        QVERIFY2(marks.hidden && marks.system, qPrintable(entry));
    }
    QVERIFY(!marksOutsideVolume(drive, "Songs").hidden);
    QVERIFY(!QFileInfo::exists(temp->saveFolder() + "/MATTRB.BAT"));
}

void TestReinstall::plainReinstallFailures_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<bool>("driveUntouched");
    QTest::addColumn<bool>("saveFolderLeft");

    QTest::newRow("device absent") << Fault::NoDevice << 1 << QStringList{"I can't find Corvel3 on USB port"} << true
                                   << false;
    QTest::newRow("device absent, italian") << Fault::NoDevice << 0 << QStringList{"Corvel3 non è stato trovato"}
                                            << true << false;
    QTest::newRow("download fails") << Fault::DownloadFails << 1 << QStringList{"ERROR"} << true << true;
    QTest::newRow("unpacker missing") << Fault::UnpackerMissing << 1 << QStringList{} << true << true;
    QTest::newRow("install fails") << Fault::InstallFails << 1 << QStringList{"ERROR"} << true << false;
    QTest::newRow("copy engine stops") << Fault::CopyStops << 1 << QStringList{"ERROR", "ERROR"} << false << true;
    QTest::newRow("copy engine stops, italian") << Fault::CopyStops << 0 << QStringList{"ERRORE", "ERRORE"} << false
                                                << true;
    QTest::newRow("update fails") << Fault::UpdateFails << 1 << QStringList{"Download Error , Cod 1"} << false
                                  << true;
    QTest::newRow("stop during download") << Fault::Stop << 1 << QStringList{} << true << true;
}

// Every early end shows at most its one box, runs no update after a failed install, and clears
// operationOk so that the start-up window never reports a repair that did not happen.
void TestReinstall::plainReinstallFailures()
{
    QFETCH(Fault, fault);
    QFETCH(int, language);
    QFETCH(QStringList, titles);
    QFETCH(bool, driveUntouched);
    QFETCH(bool, saveFolderLeft);

    DriveFixture drive;
    writeSongs(drive);
    writeOldSystem(drive);
    if (fault == Fault::CopyStops)
        drive.writeFile("EFFECTS", "a file where the package needs a folder");
    const auto before = treeContents(drive.root());

    if (fault == Fault::DownloadFails)
        server->serveStatus(kFullPath, 404, "not here");
    else if (fault == Fault::Stop)
        server->serveTrickle(kFullPath, fullZip, 500, 100);
    else
        server->serveBytes(kFullPath, fullZip);
    if (fault != Fault::UpdateFails)
        serveUpdate();
    std::unique_ptr<EnvOverride> unpacker;
    if (fault == Fault::UnpackerMissing)
        unpacker = std::make_unique<EnvOverride>("CORVEL3_UNPACKER", work->filePath("no-such-unar"));
    if (fault == Fault::InstallFails)
        failRemoval = [](const QString &folder) { return QFileInfo(folder).fileName() == "system"; };

    EngineHarness h;
    h.state.currentLanguage = language;
    h.state.operationOk = true;
    h.drive = fault == Fault::NoDevice ? QString() : drive.root();
    for (int i = 0; i < titles.size(); ++i)
        h.dialogs.answer("Ok");
    if (fault == Fault::Stop)
        QTimer::singleShot(400, [&h] { h.state.stopRequested = true; });

    QString packagePath;
    Reinstall(h.ctx, opsFor(h)).reinstallSystem(packagePath);

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles(), titles);
    QVERIFY(!h.state.operationOk);
    QVERIFY(!h.progress.busyVisible);
    if (driveUntouched)
        QCOMPARE(treeContents(drive.root()), before);
    QCOMPARE(QFileInfo::exists(temp->saveFolder()), saveFolderLeft);
    if (fault == Fault::NoDevice)
        QVERIFY(server->requests().isEmpty());
    if (fault != Fault::UpdateFails)
        QCOMPARE(server->requestCount(kUpdatePath), 0);
    if (fault == Fault::CopyStops) {
        const auto &unexpected = h.dialogs.prompts.last();
        QCOMPARE(unexpected.icon, BoxIcon::Critical);
        QCOMPARE(unexpected.text, language == 0 ? QString("Procedura terminata in modo inaspettato.\nProvare a "
                                                          "reinstallare il sistema operativo.")
                                                : QString("Procedure ended in an unexpected way\nTry to reinstall "
                                                          "the Operating System"));
        QCOMPARE(h.dialogs.prompts.first().icon, BoxIcon::Information);
    }
    if (fault == Fault::UnpackerMissing)
        QVERIFY(QFileInfo::exists(temp->saveFolder() + "/CorvelAll.zip"));
}

void TestReinstall::cleanDeclinedDoesNothing_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("italian") << 0 << "Azzeramento HD Corvel3" << QStringList{"Si", "No"};
    QTest::newRow("english") << 1 << "Format Corvel3 HD" << QStringList{"Yes", "No"};
}

void TestReinstall::cleanDeclinedDoesNothing()
{
    QFETCH(int, language);
    QFETCH(QString, title);
    QFETCH(QStringList, captions);
    server->serveBytes(kFullPath, fullZip);
    DriveFixture drive;
    writeSongs(drive);
    const auto before = treeContents(drive.root());
    EngineHarness h;
    h.state.currentLanguage = language;
    h.drive = drive.root();
    h.dialogs.answer("No");

    Reinstall(h.ctx, opsFor(h)).reinstallAndClean();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.prompts.size(), 1);
    const auto &q = h.dialogs.prompts.first();
    QCOMPARE(q.title, title);
    QCOMPARE(q.text, messageText(language, MSG_FORMAT_WARNING));
    QCOMPARE(q.captions(), captions);
    QCOMPARE(q.icon, BoxIcon::Question);
    QCOMPARE(q.defaultButton, 0);
    QCOMPARE(q.parent, nullptr);
    QVERIFY(!h.progress.busyVisible);
    QVERIFY(h.progress.statusHistory.isEmpty());
    QVERIFY(server->requests().isEmpty());
    QCOMPARE(treeContents(drive.root()), before);
}

void TestReinstall::cleanErasesThenInstalls()
{
    server->serveBytes(kFullPath, fullZip);
    serveUpdate();
    DriveFixture drive;
    writeSongs(drive);
    writeOldSystem(drive);
    drive.writeFile(".hidden/secret.txt", "hidden too");
    EngineHarness h;
    h.drive = drive.root();
    h.dialogs.answer("Yes");
    h.dialogs.answer("Si");
    h.dialogs.answer("Ok");

    Reinstall(h.ctx, opsFor(h)).reinstallAndClean();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles(), QStringList({"Format Corvel3 HD", "Cancellazione Drive", "End operation"}));
    const auto &erase = h.dialogs.prompts.at(1);
    QCOMPARE(erase.text, "ATTENZIONE: Il drive " + drive.root() + " verrà cancellato.\nVuoi continuare? ");
    QCOMPARE(erase.captions(), QStringList({"Si", "No"}));
    QCOMPARE(erase.icon, BoxIcon::Question);
    QCOMPARE(erase.parent, nullptr);
    QCOMPARE(treeContents(drive.root()), merged(kSystemFiles, kUpdateFiles));
    QVERIFY(QFileInfo(drive.root()).isDir());
    QVERIFY(!QFileInfo::exists(temp->saveFolder()));
    QVERIFY(h.progress.statusHistory.contains(messageText(1, MSG_FORMATTING)));
    QVERIFY(!h.progress.busyVisible);
}

void TestReinstall::cleanEraseRefusedAfterUnpacking()
{
    server->serveBytes(kFullPath, fullZip);
    serveUpdate();
    DriveFixture drive;
    writeSongs(drive);
    writeOldSystem(drive);
    const auto before = treeContents(drive.root());
    EngineHarness h;
    h.state.operationOk = true;
    h.drive = drive.root();
    h.dialogs.answer("Yes");
    h.dialogs.answer("No");
    h.dialogs.answer("Ok");

    Reinstall(h.ctx, opsFor(h)).reinstallAndClean();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles(), QStringList({"Format Corvel3 HD", "Cancellazione Drive", "Format error"}));
    QCOMPARE(h.dialogs.prompts.last().text, messageText(1, MSG_FORMAT_ERROR_TEXT));
    QCOMPARE(treeContents(drive.root()), before);
    // Downloaded and unpacked before the question; the save folder keeps the package.
    QCOMPARE(server->requestCount(kFullPath), 1);
    QCOMPARE(server->requestCount(kUpdatePath), 0);
    QVERIFY(QFileInfo::exists(temp->saveFolder() + "/System/Corvel/Corvel.exe"));
    QVERIFY(!QFileInfo::exists(temp->saveFolder() + "/CorvelAll.zip"));
}

void TestReinstall::restoreBringsSongsBack()
{
    server->serveBytes(kFullPath, fullZip);
    serveUpdate();
    DriveFixture drive;
    drive.addSystemFiles();
    drive.addPlaylist("Rock.pls", {"\\sdmemory\\Songs\\a.mid^Alpha"});
    drive.writeFile("Junk/notes.txt", "a note");
    writeSongs(drive);
    QMap<QString, QByteArray> songs = treeContents(drive.root());
    for (const QString &system : {"AUTOEXEC.BAT", "System/Corvel/Corvel.exe", "System/DispProc/DispProc.exe"})
        songs.remove(system);
    QTemporaryDir pc;
    const QString backup = pc.path() + "/Saved songs";
    QVERIFY(QDir().mkpath(backup));
    EngineHarness h;
    h.state.currentLanguage = 0;
    h.drive = drive.root();
    h.dialogs.answerFolder(backup);
    h.dialogs.answer("Si");
    h.dialogs.answer("Ok");

    Reinstall(h.ctx, opsFor(h)).reinstallAndRestore();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles(),
             QStringList({"Scegli una cartella per il salvataggio dei files", "Cancellazione Drive", "Fine operazioni"}));
    QVERIFY(h.dialogs.prompts.first().folderChooser);
    // Old system gone, new one in, every song and playlist back byte for byte.
    QCOMPARE(treeContents(drive.root()), merged(merged(kSystemFiles, kUpdateFiles), songs));
    QCOMPARE(treeContents(backup), songs);
    QVERIFY(!QFileInfo::exists(temp->saveFolder()));
    QVERIFY(h.progress.statusHistory.contains(messageText(0, MSG_RESTORING_BACKUP)));
    QVERIFY(!h.progress.busyVisible);
}

void TestReinstall::restoreCancelledChooser()
{
    server->serveBytes(kFullPath, fullZip);
    DriveFixture drive;
    writeSongs(drive);
    const auto before = treeContents(drive.root());
    EngineHarness h;
    h.drive = drive.root();
    h.dialogs.answerFolder(QString());

    Reinstall(h.ctx, opsFor(h)).reinstallAndRestore();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles(), QStringList{"Choose a folder to save your files"});
    QVERIFY(server->requests().isEmpty());
    QCOMPARE(treeContents(drive.root()), before);
    QVERIFY(!h.progress.busyVisible);
}

void TestReinstall::restoreRefusesUnsafeFolder_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("on the drive") << "drive";
    QTest::newRow("the drive itself") << "root";
    QTest::newRow("inside the save folder") << "save";
    QTest::newRow("holding the save folder") << "temp";
}

// A backup that the erase or the download would wipe must never be the songs' only copy.
void TestReinstall::restoreRefusesUnsafeFolder()
{
    QFETCH(QString, where);
    server->serveBytes(kFullPath, fullZip);
    DriveFixture drive;
    writeSongs(drive);
    QDir().mkpath(drive.path("Backup"));
    QDir().mkpath(temp->saveFolder() + "/Backup");
    const auto before = treeContents(drive.root());
    const QString folder = where == "drive"  ? drive.path("Backup")
                           : where == "root" ? drive.root()
                           : where == "save" ? temp->saveFolder() + "/Backup"
                                             : temp->path();
    EngineHarness h;
    h.drive = drive.root();
    h.dialogs.answerFolder(folder);
    h.dialogs.answer("Ok");

    Reinstall(h.ctx, opsFor(h)).reinstallAndRestore();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles().last(), QString("Error while BackUp"));
    QVERIFY(server->requests().isEmpty());
    QCOMPARE(treeContents(drive.root()), before);
}

void TestReinstall::restoreIncompleteBackupErasesNothing()
{
    server->serveBytes(kFullPath, fullZip);
    DriveFixture drive;
    writeSongs(drive);
    const auto before = treeContents(drive.root());
    QTemporaryDir pc;
    EngineHarness h;
    h.drive = drive.root();
    h.dialogs.answerFolder(pc.path());
    h.dialogs.answer("Ok");
    ReinstallOps ops = opsFor(h);
    // A copy that lost a song on the way, as after "Continua sempre" on a failed copy.
    ops.backupToFolder = [&h](const QString &root, const QString &folder) {
        const bool done = transfer::backupToFolder(h.ctx, root, folder);
        QFile::remove(folder + "/Songs/b.mp3");
        return done;
    };

    Reinstall(h.ctx, ops).reinstallAndRestore();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles().last(), QString("Error while BackUp"));
    QCOMPARE(h.dialogs.prompts.last().text, messageText(1, MSG_BACKUP_ERROR_TEXT));
    QVERIFY(server->requests().isEmpty());
    QCOMPARE(treeContents(drive.root()), before);
}

void TestReinstall::restoreAfterFailedInstall()
{
    server->serveBytes(kFullPath, fullZip);
    serveUpdate();
    DriveFixture drive;
    const auto songs = writeSongs(drive);
    QTemporaryDir pc;
    EngineHarness h;
    h.drive = drive.root();
    h.dialogs.answerFolder(pc.path());
    h.dialogs.answer("Si");
    h.dialogs.answer("Ok");   // the install's error
    h.dialogs.answer("Ok");   // the end
    failRemoval = [](const QString &folder) { return QFileInfo(folder).fileName() == "system"; };

    Reinstall(h.ctx, opsFor(h)).reinstallAndRestore();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles(), QStringList({"Choose a folder to save your files", "Cancellazione Drive", "ERROR", "End operation"}));
    QCOMPARE(treeContents(drive.root()), merged(songs, kUpdateFiles));
    QCOMPARE(treeContents(pc.path()), songs);
    QVERIFY(!QFileInfo::exists(temp->saveFolder()));
}

void TestReinstall::eraseRefusals_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("target");
    QTest::newRow("another folder") << "fixture" << "other";
    QTest::newRow("no device") << "" << "fixture";
    QTest::newRow("device is the home folder") << "home" << "home";
    QTest::newRow("device is the system root") << "/" << "/";
    QTest::newRow("a folder above the device") << "fixture" << "parent";
}

// Refused paths are never even asked about; a "No" stands queued in case one were.
void TestReinstall::eraseRefusals()
{
    QFETCH(QString, device);
    QFETCH(QString, target);
    DriveFixture drive;
    writeSongs(drive);
    QTemporaryDir other;
    QFile marker(other.filePath("keep.txt"));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();
    auto resolve = [&](const QString &name) {
        if (name == "fixture")
            return drive.root();
        if (name == "other")
            return other.path() + "/";
        if (name == "home")
            return QDir::homePath() + "/";
        if (name == "parent")
            return QFileInfo(drive.dir.path()).absolutePath() + "/";
        return name;
    };
    const auto before = treeContents(drive.root());
    EngineHarness h;
    h.drive = resolve(device);
    h.dialogs.answer("No");

    QVERIFY(!Reinstall(h.ctx, opsFor(h)).eraseDrive(resolve(target)));

    QVERIFY(h.dialogs.prompts.isEmpty());
    QCOMPARE(treeContents(drive.root()), before);
    QVERIFY(marker.exists());
}

void TestReinstall::attributeHelper_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("a file and a folder") << QStringList{"START.BAT", "Folder"} << 0;
    QTest::newRow("one path missing") << QStringList{"START.BAT", "missing", "Folder"} << 1;
    QTest::newRow("nothing named") << QStringList{} << 2;
}

void TestReinstall::attributeHelper()
{
    QFETCH(QStringList, names);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    QFile file(dir.filePath("START.BAT"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(QDir(dir.path()).mkdir("Folder"));
    QStringList paths;
    for (const QString &name : names)
        paths << dir.filePath(name);

    QProcess helper;
    helper.start(platform::helperProgram("corvel3-attrib"), paths);
    QVERIFY2(helper.waitForFinished(10000), qPrintable(helper.errorString()));
    QCOMPARE(helper.exitCode(), exitCode);
    for (const QString &path : paths) {
        if (!QFileInfo::exists(path))
            continue;
        const platform::Attributes marks = platform::attributes(path);
        QVERIFY2(marks.hidden && marks.system, qPrintable(path));
    }
    if (names.isEmpty())
        QVERIFY(!platform::isHiddenOrSystem(dir.filePath("START.BAT")));
}

QTEST_GUILESS_MAIN(TestReinstall)
#include "tst_reinstall.moc"
