// Backup and restore engines and their button flows, on a throw-away player drive.
#include <QtTest>

#include "device/platform.h"
#include "tests/common/drivefixture.h"
#include "tests/transfer/transfertesting.h"
#include "transfer/backup.h"
#include "transfer/restore.h"
#include "ui/core/messagetable.h"

using transfer::backupToFolder;
using transfer::restoreFromFolder;

namespace {

// A library with every kind of entry the backup must take or leave.
void fillLibrary(DriveFixture &drive)
{
    drive.addSystemFiles();
    drive.addPlaylist("Hits.pls", {"\\sdmemory\\Rock\\a.mid^A"});
    drive.writeFile("System/Playlist/.secret.pls", "hidden by name\r\n");
    platform::setHiddenSystem(drive.writeFile("System/Playlist/marked.pls", "hidden by attribute\r\n"));
    drive.writeFile("System/Corvel/settings.ini", "player settings");
    drive.writeMidi("Rock/a.mid", "A");
    drive.writeFile("Rock/a.cdg", "graphics");
    drive.writeMp3("Rock/b.mp3", "B");
    drive.writeKaraoke("Pop/Deep/c.kar", "C");
    drive.writeFile("Images/cover.jpg", "jpeg");
    drive.writeFile("Rock/README", "no dot, not taken");
    // Left out at any depth, in any case.
    drive.writeFile("BRIDGES/br.mid", "x");
    drive.writeFile("Effects/fx.wav", "x");
    drive.writeFile("Rock/bridges/b2.mid", "x");
    drive.writeFile("Pop/EFFECTS/Deep/fx2.mid", "x");
    drive.writeFile("Pop/system/s.mid", "x");
    drive.writeFile("Old/AutoExec.bat", "x");
    drive.writeFile("Old/autoexec.BAT.mid", "x");
    // Hidden entries stay on the drive.
    drive.writeFile("Rock/.hidden.mid", "x");
    platform::setHiddenSystem(drive.writeFile("Rock/marked.mid", "x"));
    drive.writeFile(".Hidden Folder/h.mid", "x");
    drive.writeFile("Marked Folder/m.mid", "x");
    platform::setHiddenSystem(drive.path("Marked Folder"));
}

const QStringList kTaken{"Rock/a.mid", "Rock/a.cdg", "Rock/b.mp3", "Pop/Deep/c.kar", "Images/cover.jpg",
                         "System/Playlist/Hits.pls", "System/Playlist/.secret.pls", "System/Playlist/marked.pls"};

QMap<QString, QByteArray> takenFrom(const DriveFixture &drive)
{
    QMap<QString, QByteArray> out;
    for (const QString &relative : kTaken)
        out.insert(relative, readBytes(drive.path(relative)));
    return out;
}

QString msg(int language, int code) { return messageText(language, code); }

} // namespace

class TestBackupRestore : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp;
    int serial = 0;
    QString freshFolder()
    {
        const QString path = tmp.path() + QStringLiteral("/pc%1").arg(++serial);
        QDir().mkpath(path);
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(tmp.isValid()); }

    void backupTakesTheLibraryAndEveryPlaylist()
    {
        DriveFixture drive;
        fillLibrary(drive);
        const QString pc = freshFolder();
        EngineRig rig;
        QVERIFY(backupToFolder(rig.ctx, drive.root(), pc));
        QVERIFY2(rig.dialogs.failures.isEmpty(), qPrintable(rig.dialogs.failures.join('\n')));
        QVERIFY(rig.dialogs.prompts.isEmpty());
        const auto saved = treeContents(pc), expected = takenFrom(drive);
        QCOMPARE(saved.keys(), expected.keys());
        for (const QString &k : expected.keys())
            QVERIFY2(saved[k] == expected[k], qPrintable(k));
        QCOMPARE(rig.progress.statusHistory,
                 (QStringList{msg(0, MSG_SEARCHING_DEVICE), msg(0, MSG_SCANNING_STORAGE), msg(0, MSG_BACKUP_TO_PC)}));
        QCOMPARE(rig.progress.format(), QStringLiteral("%p%"));
    }

    void playlistsAreFoundWhateverTheirFolderIsCalled()
    {
        DriveFixture drive;
        drive.writeFile("SYSTEM/playlist/Live.pls", "live\r\n");
        drive.writeMidi("Rock/a.mid", "A");
        const QString pc = freshFolder();
        EngineRig rig;
        QVERIFY(backupToFolder(rig.ctx, drive.root(), pc));
        QCOMPARE(treeContents(pc).keys(), (QStringList{"Rock/a.mid", "SYSTEM/playlist/Live.pls"}));
    }

    void folderWithADotIsAFailedCopyButItsSongsAreTaken()
    {
        DriveFixture drive;
        drive.writeMidi("Vol.1/song.mid", "S");
        const QString pc = freshFolder();
        EngineRig rig;
        rig.dialogs.answer("Si");
        QVERIFY(backupToFolder(rig.ctx, drive.root(), pc));
        QCOMPARE(rig.dialogs.titles(), QStringList{"Errore sulla copia"});
        QVERIFY(rig.dialogs.prompts[0].text.contains(pc + "/Vol.1\n"));
        QCOMPARE(treeContents(pc).keys(), QStringList{"Vol.1/song.mid"});
    }

    void emptyingQuestion_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("content");   // what the chosen folder holds
        QTest::addColumn<QString>("reply");     // "" when no question is expected
        QTest::newRow("only folders without a dot: not asked, emptied") << 0 << "folders" << "";
        QTest::newRow("only hidden files: not asked, emptied") << 1 << "hidden" << "";
        QTest::newRow("a file, it: Ok empties it") << 0 << "file" << "Ok";
        QTest::newRow("a file, en: No keeps it") << 1 << "file" << "No";
    }
    void emptyingQuestion()
    {
        QFETCH(int, language);
        QFETCH(QString, content);
        QFETCH(QString, reply);
        DriveFixture drive;
        drive.writeMidi("Rock/a.mid", "A");
        const QString pc = freshFolder();
        if (content == "folders")
            QDir().mkpath(pc + "/Old/Older");
        else if (content == "hidden")
            writeBytes(pc + "/.old.mid", "old");
        else
            writeBytes(pc + "/old.mid", "old");
        const auto before = treeContents(pc);
        EngineRig rig;
        rig.state.currentLanguage = language;
        if (!reply.isEmpty())
            rig.dialogs.answer(reply);

        const bool declined = reply == "No";
        QCOMPARE(backupToFolder(rig.ctx, drive.root(), pc), !declined);
        QVERIFY(rig.dialogs.failures.isEmpty());
        QCOMPARE(rig.dialogs.prompts.size(), reply.isEmpty() ? 0 : 1);
        if (declined) {
            QCOMPARE(treeContents(pc), before);
            QVERIFY(QFileInfo(pc + "/old.mid").exists());
        } else {
            QCOMPARE(QDir(pc).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"Rock"});
        }
        if (!reply.isEmpty()) {
            const ScriptedDialogs::Prompt &p = rig.dialogs.prompts.first();
            if (language == 0) {
                QCOMPARE(p.title, QStringLiteral("Trovati alcuni files"));
                QCOMPARE(p.text, QString::fromUtf8("ATTENZIONE! Il contenuto della cartella di destinazione verrà "
                                                   "cancellato.\nVuoi continuare ?"));
            } else {
                QCOMPARE(p.title, QStringLiteral("Found some files"));
                QCOMPARE(p.text, QStringLiteral("WARNING! The contents of the destination folder will be deleted.\n"
                                                "Do you want to continue ?"));
            }
            QCOMPARE(p.captions(), (QStringList{"Ok", "No"}));
            QCOMPARE(p.defaultButton, 0);
            QCOMPARE(p.parent, &rig.window);
        }
    }

    void countQuestionAbove1000_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("songs");      // plus one playlist
        QTest::addColumn<QString>("reply");
        QTest::newRow("1000 paths: not asked") << 0 << 999 << "";
        QTest::newRow("1001 paths, it: No") << 0 << 1000 << "No";
        QTest::newRow("1001 paths, en: Ok") << 1 << 1000 << "Ok";
    }
    void countQuestionAbove1000()
    {
        QFETCH(int, language);
        QFETCH(int, songs);
        QFETCH(QString, reply);
        DriveFixture drive;
        drive.addPlaylist("All.pls", {"x"});
        for (int i = 0; i < songs; ++i)
            drive.writeFile(QStringLiteral("Songs/%1.mid").arg(i, 4, 10, QLatin1Char('0')), "m");
        const QString pc = freshFolder();
        EngineRig rig;
        rig.state.currentLanguage = language;
        if (!reply.isEmpty())
            rig.dialogs.answer(reply);
        QCOMPARE(backupToFolder(rig.ctx, drive.root(), pc), reply != "No");
        QVERIFY(rig.dialogs.failures.isEmpty());
        QCOMPARE(treeContents(pc).size(), reply == "No" ? 0 : songs + 1);
        if (reply.isEmpty()) {
            QVERIFY(rig.dialogs.prompts.isEmpty());
            return;
        }
        const ScriptedDialogs::Prompt &p = rig.dialogs.prompts.first();
        QCOMPARE(p.title, QStringLiteral("BackUp"));
        QCOMPARE(p.text, language == 0 ? QStringLiteral("Saranno copiati 1001 files\nVuoi continuare ?")
                                       : QStringLiteral("1001 files will be copied.\nDo you want to continue ?"));
        QCOMPARE(p.captions(), (QStringList{"Ok", "No"}));
        QCOMPARE(p.parent, &rig.window);
    }

    void stopWhileListingEndsBeforeTheCopy()
    {
        DriveFixture drive;
        fillLibrary(drive);
        const QString pc = freshFolder();
        EngineRig rig;
        atNextEvents([&rig] { rig.state.stopRequested = true; });
        QVERIFY(!backupToFolder(rig.ctx, drive.root(), pc));
        QVERIFY(treeContents(pc).isEmpty());
        QVERIFY(QFileInfo(pc).isDir());
    }

    void drivesRootOrAboveIsNoDestination_data()
    {
        QTest::addColumn<QString>("which");
        QTest::newRow("the drive's root") << "root";
        QTest::newRow("the folder holding the drive") << "above";
    }
    void drivesRootOrAboveIsNoDestination()
    {
        QFETCH(QString, which);
        DriveFixture drive;
        fillLibrary(drive);
        const auto before = treeContents(drive.root());
        EngineRig rig;
        rig.state.operationOk = true;
        rig.dialogs.answer("Ok");
        const QString destination = which == "root" ? drive.root() : QFileInfo(drive.dir.path()).absolutePath();
        QVERIFY(!backupToFolder(rig.ctx, drive.root(), destination));
        QCOMPARE(rig.dialogs.titles(), QStringList{"ERRORE"});
        QCOMPARE(rig.dialogs.prompts[0].parent, &rig.window);
        QVERIFY(!rig.state.operationOk);
        QCOMPARE(treeContents(drive.root()), before);
    }

    void driveDisappearingMidBackupLosesNothing()
    {
        DriveFixture drive;
        drive.writeMidi("A/1.mid", "1");
        drive.writeMidi("A/2.mid", "2");
        drive.writeMidi("A/3.mid", "3");
        const QString pc = freshFolder();
        const QString away = drive.dir.path() + "-away";
        EngineRig rig;
        rig.progress.onValue = [&](int value) {
            if (value == 1 && rig.progress.status() == msg(0, MSG_BACKUP_TO_PC)) {
                QDir().rename(drive.dir.path(), away);
                drive.unplug();
            }
        };
        rig.dialogs.answer("No");
        QVERIFY(backupToFolder(rig.ctx, drive.root(), pc));   // the copy's own result does not count
        QDir().rename(away, drive.dir.path());
        QCOMPARE(rig.dialogs.titles(), QStringList{"Errore sulla copia"});
        QCOMPARE(treeContents(pc).keys(), QStringList{"A/1.mid"});
        QCOMPARE(treeContents(pc).value("A/1.mid"), readBytes(drive.path("A/1.mid")));
        QVERIFY(QDir(pc + "/A").entryList(QDir::Files | QDir::Hidden).size() == 1);   // no partial file
    }

    void restoreBringsBackEverythingTheBackupTook_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("reply");
        QTest::newRow("it Si,Tutti replaces every file already there") << 0 << "Si,Tutti";
        QTest::newRow("en Yes to All") << 1 << "<Yes to All>";
    }
    void restoreBringsBackEverythingTheBackupTook()
    {
        QFETCH(int, language);
        QFETCH(QString, reply);
        DriveFixture drive;
        fillLibrary(drive);
        const auto taken = takenFrom(drive);
        const QString pc = freshFolder();
        EngineRig rig;
        rig.state.currentLanguage = language;
        QVERIFY(backupToFolder(rig.ctx, drive.root(), pc));

        // The drive loses some songs and playlists and has one changed.
        QFile::remove(drive.path("Rock/b.mp3"));
        QFile::remove(drive.path("System/Playlist/.secret.pls"));
        QDir(drive.path("Pop")).removeRecursively();
        writeBytes(drive.path("Rock/a.mid"), "changed");
        rig.dialogs.answer(reply);
        QVERIFY(restoreFromFolder(rig.ctx, pc, drive.root()));
        QVERIFY(rig.dialogs.failures.isEmpty());
        QCOMPARE(rig.dialogs.prompts.size(), 1);   // asked for the first existing file only
        // The destination is named as the engine built it: the root, then "/" and the path.
        QVERIFY(rig.dialogs.prompts[0].text.contains(drive.root() + "/"));
        QCOMPARE(takenFrom(drive), taken);
        QVERIFY(QFileInfo::exists(drive.path("System/Corvel/Corvel.exe")));
    }

    // The buttons' flows, without the window.

    void backupButtonFlow_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QStringList>("expectedTitles");
        QTest::newRow("it no drive") << 0 << "unplugged" << QStringList{msg(0, MSG_DEVICE_NOT_FOUND_TITLE)};
        QTest::newRow("en no drive") << 1 << "unplugged" << QStringList{msg(1, MSG_DEVICE_NOT_FOUND_TITLE)};
        QTest::newRow("it chooser cancelled") << 0 << "cancel" << QStringList{"Scegli una cartella per il salvataggio dei files"};
        QTest::newRow("en done") << 1 << "done" << QStringList{"Choose a folder where save your files", "Done"};
        QTest::newRow("it done") << 0 << "done" << QStringList{"Scegli una cartella per il salvataggio dei files", "Fatto"};
        QTest::newRow("en declined") << 1 << "declined"
            << QStringList{"Choose a folder where save your files", "Found some files", msg(1, MSG_BACKUP_ERROR_TITLE)};
        QTest::newRow("it stopped during the copy") << 0 << "stopped" << QStringList{"Scegli una cartella per il salvataggio dei files"};
    }
    void backupButtonFlow()
    {
        QFETCH(int, language);
        QFETCH(QString, scenario);
        QFETCH(QStringList, expectedTitles);
        DriveFixture drive;
        drive.writeMidi("Rock/a.mid", "A");
        drive.writeMidi("Rock/b.mid", "B");
        const QString pc = freshFolder();
        EngineRig rig;
        rig.state.currentLanguage = language;
        rig.state.stopRequested = true;   // left over from an earlier operation
        if (scenario == "unplugged")
            drive.unplug();
        else
            rig.dialogs.answerFolder(scenario == "cancel" ? QString() : pc);
        if (scenario == "declined") {
            writeBytes(pc + "/old.mid", "old");
            rig.dialogs.answer("No");
        }
        if (scenario == "stopped")
            rig.progress.onValue = [&](int v) { if (v == 1) rig.state.stopRequested = true; };
        if (scenario != "cancel" && scenario != "stopped")
            rig.dialogs.answer("Ok");
        transfer::runBackup(rig.ctx);
        QVERIFY2(rig.dialogs.failures.isEmpty(), qPrintable(rig.dialogs.failures.join('\n')));
        QCOMPARE(rig.dialogs.titles(), expectedTitles);
        for (const ScriptedDialogs::Prompt &p : rig.dialogs.prompts)
            QCOMPARE(p.parent, &rig.window);
        const ScriptedDialogs::Prompt &last = rig.dialogs.prompts.last();
        if (scenario == "unplugged")
            QCOMPARE(last.text, msg(language, MSG_DEVICE_NOT_FOUND_TEXT));
        if (scenario == "declined")
            QCOMPARE(last.text, msg(language, MSG_BACKUP_ERROR_TEXT));
        if (scenario == "done")
            QCOMPARE(last.text, last.title);
        QVERIFY(!rig.progress.busyVisible);
    }

    void restoreButtonFlow_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QStringList>("expectedTitles");
        const QString itChooser = "Scegli cartella da cui prendere i files salvati";
        const QString enChooser = "Choose a folder where to get your saved files";
        QTest::newRow("en no drive") << 1 << "unplugged" << QStringList{msg(1, MSG_DEVICE_NOT_FOUND_TITLE)};
        QTest::newRow("it chooser cancelled") << 0 << "cancel" << QStringList{itChooser};
        QTest::newRow("it nothing to restore") << 0 << "empty" << QStringList{itChooser, "Fatto"};
        QTest::newRow("en restored") << 1 << "done" << QStringList{enChooser, "Done"};
        QTest::newRow("it last copy failed") << 0 << "failed"
            << QStringList{itChooser, "File Esistente", "Errore sulla copia", msg(0, MSG_BACKUP_ERROR_TITLE)};
    }
    void restoreButtonFlow()
    {
        QFETCH(int, language);
        QFETCH(QString, scenario);
        QFETCH(QStringList, expectedTitles);
        DriveFixture drive;
        const QString pc = freshFolder();
        if (scenario != "empty")
            writeBytes(pc + "/Rock/a.mid", "backup");
        writeBytes(pc + "/Rock/README", "no dot: stays behind");
        EngineRig rig;
        rig.state.currentLanguage = language;
        if (scenario == "unplugged") {
            drive.unplug();
        } else {
            rig.dialogs.answerFolder(scenario == "cancel" ? QString() : pc);
        }
        if (scenario == "failed") {
            QDir().mkpath(drive.path("Rock/a.mid"));   // a folder stands where the file goes
            rig.dialogs.answer("Si");
            rig.dialogs.answer("Si");
        }
        if (scenario != "cancel")
            rig.dialogs.answer("Ok");
        transfer::runRestore(rig.ctx);
        QVERIFY2(rig.dialogs.failures.isEmpty(), qPrintable(rig.dialogs.failures.join('\n')));
        QCOMPARE(rig.dialogs.titles(), expectedTitles);
        if (scenario == "done")
            QCOMPARE(readBytes(drive.path("Rock/a.mid")), QByteArray("backup"));
        if (scenario == "failed")
            QCOMPARE(rig.dialogs.prompts.last().text, msg(0, MSG_BACKUP_ERROR_TEXT));
        QVERIFY(!QFileInfo::exists(drive.path("Rock/README")));
        QVERIFY(!rig.progress.busyVisible);
        if (scenario != "unplugged")
            QVERIFY(rig.progress.statusHistory.contains(msg(language, MSG_RESTORING_BACKUP)));
    }
};

QTEST_GUILESS_MAIN(TestBackupRestore)
#include "tst_backuprestore.moc"
