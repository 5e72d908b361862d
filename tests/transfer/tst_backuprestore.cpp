// Backup and restore engines: questions, faults, reports (what a backup takes: tst_gui_transfer).
#include <QtTest>

#include "tests/common/drivefixture.h"
#include "tests/transfer/transfertesting.h"
#include "transfer/backup.h"
#include "transfer/restore.h"
#include "core/messagetable.h"

using transfer::backupToFolder;

class TestBackupRestore : public QObject {
    Q_OBJECT

private slots:
    // The two questions before a copy: emptying a folder that holds something, and a count above 1000.
    void questions_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("held");          // in the chosen folder; "" nothing
        QTest::addColumn<int>("songs");             // on the drive, besides one playlist
        QTest::addColumn<QStringList>("replies");   // one per question
        QTest::newRow("dotless folders, 1000 paths: not asked") << 0 << "Old/Older/" << 999 << QStringList{};
        QTest::newRow("hidden file: emptied unasked") << 1 << ".old.mid" << 0 << QStringList{};
        QTest::newRow("it emptying: Ok") << 0 << "old.mid" << 0 << QStringList{"Ok"};
        QTest::newRow("en emptying: No keeps it") << 1 << "old.mid" << 0 << QStringList{"No"};
        QTest::newRow("it 1001 paths: No") << 0 << "" << 1000 << QStringList{"No"};
        QTest::newRow("en 1001 paths: Ok") << 1 << "" << 1000 << QStringList{"Ok"};
    }
    void questions()
    {
        QFETCH(int, language);
        QFETCH(QString, held);
        QFETCH(int, songs);
        QFETCH(QStringList, replies);
        DriveFixture drive;
        drive.addPlaylist("All.pls", {"x"});
        for (int i = 0; i < songs; ++i)
            drive.writeFile(QString("Songs/%1.mid").arg(i), "m");
        const QTemporaryDir pc;
        if (held.endsWith('/'))
            QDir().mkpath(pc.path() + "/" + held);
        else if (!held.isEmpty())
            writeBytes(pc.path() + "/" + held, "old");
        EngineRig rig(language, replies);
        const bool declined = replies.contains("No");
        QCOMPARE(backupToFolder(rig.ctx, drive.root(), pc.path()), !declined);
        QVERIFY2(rig.dialogs.failures.isEmpty(), qPrintable(rig.dialogs.failures.join('\n')));
        QCOMPARE(rig.dialogs.prompts.size(), replies.size());
        const bool keptOld = declined && held == "old.mid";
        QCOMPARE(treeContents(pc.path()).size(), keptOld ? 1 : declined ? 0 : songs + 1);
        if (!held.isEmpty())
            QCOMPARE(QFileInfo::exists(pc.path() + "/" + held), keptOld);
        if (replies.isEmpty())
            return;
        const ScriptedDialogs::Prompt &p = rig.dialogs.prompts.first();
        const bool it = language == 0;
        if (songs == 0) {
            QCOMPARE(p.title, QString(it ? "Trovati alcuni files" : "Found some files"));
            QCOMPARE(p.text, QString(it ? "ATTENZIONE! Il contenuto della cartella di destinazione verrà cancellato.\nVuoi continuare ?"
                                        : "WARNING! The contents of the destination folder will be deleted.\nDo you want to continue ?"));
        } else {
            QCOMPARE(p.title, QString("BackUp"));
            QCOMPARE(p.text, QString(it ? "Saranno copiati 1001 files\nVuoi continuare ?"
                                        : "1001 files will be copied.\nDo you want to continue ?"));
        }
        QCOMPARE(p.captions(), (QStringList{"Ok", "No"}));
        QCOMPARE(p.parent, &rig.window);
    }

    // Backing up into the drive, or into a folder that holds it, would empty the library first.
    void driveOrAboveIsNoDestination()
    {
        DriveFixture drive;
        drive.writeMidi("Rock/a.mid", "A");
        const auto before = treeContents(drive.root());
        for (const QString &destination : {drive.root(), QFileInfo(drive.dir.path()).absolutePath()}) {
            EngineRig rig(0, {"Ok"});
            QVERIFY(!backupToFolder(rig.ctx, drive.root(), destination));
            QCOMPARE(rig.dialogs.titles(), QStringList{"ERRORE"});
            QCOMPARE(treeContents(drive.root()), before);
        }
    }

    void driveDisappearingMidBackupLosesNothing()
    {
        DriveFixture drive;
        for (const QString &song : {"A/1.mid", "A/2.mid", "A/3.mid"})
            drive.writeMidi(song, song);
        const QTemporaryDir pc;
        const QString away = drive.dir.path() + "-away";
        EngineRig rig(0, {"No"});
        rig.progress.onValue = [&](int value) {
            if (value == 1) {   // the first file is copied
                QDir().rename(drive.dir.path(), away);
                drive.unplug();
            }
        };
        QVERIFY(backupToFolder(rig.ctx, drive.root(), pc.path()));   // the copy's own result does not count
        QDir().rename(away, drive.dir.path());
        QCOMPARE(rig.dialogs.titles(), QStringList{"Errore sulla copia"});
        QCOMPARE(treeContents(pc.path()).keys(), QStringList{"A/1.mid"});   // no partial file either
        QCOMPARE(treeContents(pc.path()).value("A/1.mid"), readBytes(drive.path("A/1.mid")));
    }

    // A restore whose last copy fails (a folder with a dot is no file) is reported as failed.
    void failedRestoreIsReported()
    {
        DriveFixture drive;
        const QTemporaryDir pc;
        QDir().mkpath(pc.path() + "/x.d");
        EngineRig rig(1, {pc.path(), "Si", "Ok"});
        transfer::runRestore(rig.ctx);
        QCOMPARE(rig.dialogs.titles().last(), messageText(1, MSG_BACKUP_ERROR_TITLE));
    }
};

QTEST_GUILESS_MAIN(TestBackupRestore)
#include "tst_backuprestore.moc"
