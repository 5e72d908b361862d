// Through the window's buttons: back up (library and playlists only, into a dated folder), erase
// songs, restore from the folder that holds the backup, compare.
#include <QtTest>

#include "core/operationlog.h"
#include "device/platform.h"
#include "tests/common/drivefixture.h"
#include "tests/transfer/transfertesting.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

class TestGuiTransfer : public QObject {
    Q_OBJECT

    QTemporaryDir data;

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(data.path())); }   // the operation log

    void backUpEraseRestoreComesBackWhole_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("playlists");
        QTest::newRow("it") << 0 << "System/Playlist";
        QTest::newRow("en, another case") << 1 << "SYSTEM/playlist";
    }
    void backUpEraseRestoreComesBackWhole()
    {
        QFETCH(int, language);
        QFETCH(QString, playlists);
        // A user's folders named like the player's, deeper down, are the user's.
        const QStringList taken{"Images/cover.jpg", "Old/AutoExec.bat", "Old/autoexec.BAT.mid", "Pop/Deep/c.kar",
                                "Pop/EFFECTS/Deep/fx2.mid", "Pop/system/s.mid", "Rock/a.cdg", "Rock/a.mid",
                                "Rock/bridges/b2.mid", playlists + "/.dot.pls", playlists + "/Hits.pls",
                                playlists + "/marked.pls"};
        // Left out: the player's own entries at the root in any case, dotless names, hidden entries.
        const QStringList left{"AUTOEXEC.BAT", playlists.section('/', 0, 0) + "/Corvel/settings.ini",
                               "BRIDGES/br.mid", "Effects/fx.wav", "CorvelUpdate/up.bin", "Rock/README",
                               "Rock/.dot.mid", "Rock/marked.mid", ".Dot Folder/h.mid", "Marked Folder/m.mid"};
        DriveFixture drive;
        for (const QString &path : taken + left)
            drive.writeFile(path, path.toUtf8());
        for (const QString &marked : {playlists + "/marked.pls", QString("Rock/marked.mid"), QString("Marked Folder")})
            QVERIFY(platform::setHiddenSystem(drive.path(marked)));
        const auto before = treeContents(drive.root());
        QTemporaryDir pc;
        MainWindow window;
        ScriptedDialogs dialogs;
        window.setDialogs(&dialogs);
        window.currentLanguage = language;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        dialogs.answer({pc.path(), "Ok"});
        QTest::mouseClick(window.ui->pushBtnBackup, Qt::LeftButton);
        const QStringList made = QDir(pc.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(made.size(), 1);
        QCOMPARE(treeContents(pc.path() + "/" + made.first()).keys(), QStringList{".corvel3-manifest.json"} + taken);

        // Songs erased on the player, one changed, a hidden playlist lost.
        QDir(drive.path("Pop/Deep")).removeRecursively();
        QFile::remove(drive.path("Rock/a.cdg"));
        QFile::remove(drive.path(playlists + "/.dot.pls"));
        writeBytes(drive.path("Rock/a.mid"), "ROCK/A.MID");   // the same size, another date: asked about
        // The newest backup it holds; replacing is asked once, for the first file still there.
        dialogs.answer({pc.path(), "Ok", language == 0 ? "Si,Tutti" : "<Yes to All>", "Ok"});
        QTest::mouseClick(window.ui->pushBtnRestore, Qt::LeftButton);
        QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join('\n')));
        QCOMPARE(dialogs.prompts.size(), 6);   // each reply taken: two choosers, the list, replace, two ends
        QCOMPARE(treeContents(drive.root()), before);
        // Each button's run is framed once in the log, whatever its engines did in between.
        const QString log = QString::fromUtf8(readBytes(oplog::path()));
        for (const QString operation : {"backup", "restore"})
            QCOMPARE((QList<qsizetype>{log.count("\t" + operation + "\tstart"), log.count("\t" + operation + "\tend")}),
                     (QList<qsizetype>{language + 1, language + 1}));
    }
};

QTEST_MAIN(TestGuiTransfer)
#include "tst_gui_transfer.moc"
