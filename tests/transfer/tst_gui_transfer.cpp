// Backup and restore end to end through the operations window's buttons.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "device/platform.h"
#include "tests/common/drivefixture.h"
#include "tests/common/screenshots.h"
#include "tests/transfer/transfertesting.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

namespace {

void fillDrive(DriveFixture &drive)
{
    drive.addSystemFiles();
    drive.addPlaylist("Hits.pls", {"\\sdmemory\\Rock\\a.mid^A", "\\sdmemory\\Pop\\c.kar^C"});
    platform::setHiddenSystem(drive.writeFile("System/Playlist/Party.pls", "party\r\n"));
    drive.writeMidi("Rock/a.mid", "A");
    drive.writeMp3("Rock/b.mp3", "B", 300000);
    drive.writeFile("Rock/b.cdg", QByteArray(5000, 'g'));
    drive.writeKaraoke("Pop/c.kar", "C");
    drive.writeFixedField("Pop/Old/d.mf3", "D");
    drive.writeFile("EFFECTS/fx.mid", "effect");
    drive.writeFile("Images/cover.png", "png");
}

} // namespace

class TestGuiTransfer : public QObject {
    Q_OBJECT

private slots:
    void backUpEraseRestoreComesBackWhole_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("it") << 0;
        QTest::newRow("en") << 1;
    }
    void backUpEraseRestoreComesBackWhole()
    {
        QFETCH(int, language);
        DriveFixture drive;
        fillDrive(drive);
        QTemporaryDir pc;
        QVERIFY(pc.isValid());
        MainWindow window;
        ScriptedDialogs dialogs;
        window.setDialogs(&dialogs);
        window.currentLanguage = language;
        window.applyLanguage(true, language);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QString done = language == 0 ? "Fatto" : "Done";
        dialogs.answerFolder(pc.path());
        dialogs.answer("Ok");
        dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &p) {
            if (p.title == done) {
                QVERIFY(window.ui->progressBar->isVisible());
                saveScreenshot(&window, QStringLiteral("transfer-backup-done-%1").arg(language));
            }
        };
        QTest::mouseClick(window.ui->pushBtnBackup, Qt::LeftButton);
        QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join('\n')));
        QCOMPARE(dialogs.titles().last(), done);
        QVERIFY(!window.ui->progressBar->isVisible());

        const auto backup = treeContents(pc.path());
        QCOMPARE(backup.keys(), (QStringList{"Images/cover.png", "Pop/Old/d.mf3", "Pop/c.kar", "Rock/a.mid",
                                            "Rock/b.cdg", "Rock/b.mp3", "System/Playlist/Hits.pls",
                                            "System/Playlist/Party.pls"}));

        // Songs erased on the player, one changed, a playlist lost.
        QFile::remove(drive.path("Rock/b.mp3"));
        QFile::remove(drive.path("Rock/b.cdg"));
        QDir(drive.path("Pop")).removeRecursively();
        QFile::remove(drive.path("System/Playlist/Party.pls"));
        writeBytes(drive.path("Rock/a.mid"), "edited on the player");

        dialogs.prompts.clear();
        dialogs.onPrompt = nullptr;
        dialogs.answerFolder(pc.path());
        dialogs.answer(language == 0 ? "Si,Tutti" : "<Yes to All>");
        dialogs.answer("Ok");
        QTest::mouseClick(window.ui->pushBtnRestore, Qt::LeftButton);
        QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join('\n')));
        QCOMPARE(dialogs.titles().last(), done);

        const auto onDrive = treeContents(drive.root());
        for (auto it = backup.cbegin(); it != backup.cend(); ++it)
            QVERIFY2(onDrive.value(it.key()) == it.value(), qPrintable(it.key()));
        QCOMPARE(onDrive.value("EFFECTS/fx.mid"), QByteArray("effect"));
        QVERIFY(onDrive.contains("System/Corvel/Corvel.exe"));
        QVERIFY(dialogs.pendingReplies() == 0);
    }

    void stopButtonDuringTheCopyEndsTheBackupQuietly()
    {
        DriveFixture drive;
        for (int i = 0; i < 20; ++i)
            drive.writeMidi(QStringLiteral("Songs/%1.mid").arg(i, 2, 10, QLatin1Char('0')), "S");
        QTemporaryDir pc;
        MainWindow window;
        ScriptedDialogs dialogs;
        window.setDialogs(&dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        dialogs.answerFolder(pc.path());
        dialogs.answer("Ok");   // the Stop box
        // The Stop button is pressed while the copy runs (the bar counts files then).
        connect(window.ui->progressBar, &QProgressBar::valueChanged, &window, [&](int v) {
            if (v == 3 && window.ui->progressBar->format() == "%v" && !window.stopRequested)
                QTimer::singleShot(0, &window, [&] { QTest::mouseClick(window.ui->pushButtonStop, Qt::LeftButton); });
        });
        QTest::mouseClick(window.ui->pushBtnBackup, Qt::LeftButton);
        QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join('\n')));
        QCOMPARE(dialogs.titles(), (QStringList{"Scegli una cartella per il salvataggio dei files", "Operazione Interrotta"}));
        const int copied = treeContents(pc.path()).size();
        QVERIFY2(copied >= 3 && copied < 20, qPrintable(QString::number(copied)));
        QVERIFY(!window.ui->pushButtonStop->isVisible());
    }
};

QTEST_MAIN(TestGuiTransfer)
#include "tst_gui_transfer.moc"
