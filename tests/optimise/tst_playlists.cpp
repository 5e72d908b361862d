// Playlist rewriting: the line rules, and the files rewritten on a player drive.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "optimise/playlists.h"
#include "tests/common/drivefixture.h"

using playlists::LineRule;

class TestPlaylists : public QObject {
    Q_OBJECT

private:
    static QByteArray readAll(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

private slots:
    void relativePath_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("below");
        QTest::newRow("drive") << "E:/" << "E:/Songs/x.mid" << "Songs/x.mid" << true;
        QTest::newRow("drive letter case") << "e:/" << "E:/Songs/x.mid" << "Songs/x.mid" << true;
        QTest::newRow("mount point") << "/media/u/CORVEL3/" << "/media/u/CORVEL3/Songs/a" << "Songs/a" << true;
        QTest::newRow("root without slash") << "/media/u/CORVEL3" << "/media/u/CORVEL3/x.mp3" << "x.mp3" << true;
        QTest::newRow("elsewhere") << "/media/u/CORVEL3/" << "/media/u/OTHER/Songs/x.mid" << "" << false;
        QTest::newRow("sibling with longer name") << "/media/u/C/" << "/media/u/CD/x.mid" << "" << false;
        QTest::newRow("the root itself") << "/media/u/C/" << "/media/u/C/" << "" << false;
        QTest::newRow("no root") << "" << "/media/u/C/x.mid" << "" << false;
    }
    void relativePath()
    {
        QFETCH(QString, root);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QFETCH(bool, below);
        const QString relative = playlists::relativeToRoot(root, path);
        QCOMPARE(relative.isNull(), !below);
        QCOMPARE(relative, expected);
    }

    void lineRules_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("oldRelative");
        QTest::addColumn<QString>("newRelative");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");

        const int song = LineRule::Song;
        const int folder = LineRule::Folder;
        const QString x = QStringLiteral("Songs/x.mid");
        const QString ax = QStringLiteral("Songs/a/x.mid");
        const QByteArray moved = "\\sdmemory\\Songs\\a\\x.mid^0^32767\r\n";

        QTest::newRow("song: fields dropped") << song << x << ax << QByteArray("\\sdmemory\\Songs\\x.mid^5^900\r\n") << moved;
        QTest::newRow("song: other case") << song << x << ax << QByteArray("\\sdmemory\\SONGS\\X.MID^5^900\r\n") << moved;
        QTest::newRow("song: .midi contains .mid") << song << x << ax << QByteArray("\\sdmemory\\Songs\\x.midi^1^2\r\n") << moved;
        QTest::newRow("song: last line without end") << song << x << ax << QByteArray("\\sdmemory\\Songs\\x.mid^5^900") << moved;
        QTest::newRow("song: non-ASCII name in other case")
            << song << QStringLiteral("Songs/été.mid") << QStringLiteral("Songs/e/été.mid")
            << QByteArray("\\sdmemory\\Songs\\ÉTÉ.mid^1^1\r\n") << QByteArray("\\sdmemory\\Songs\\e\\été.mid^0^32767\r\n");
        QTest::newRow("song: Kelvin sign folds like k")
            << song << QStringLiteral("Songs/kiss.mid") << QStringLiteral("Songs/k/kiss.mid")
            << QByteArray("\\sdmemory\\Songs\\\u212Aiss.mid^1^1\r\n") << QByteArray("\\sdmemory\\Songs\\k\\kiss.mid^0^32767\r\n");
        QTest::newRow("song: no match keeps the line, slashes turned")
            << song << x << ax << QByteArray("/sdmemory/Other/y.mid^1^2\r\n") << QByteArray("\\sdmemory\\Other\\y.mid^1^2\r\n");
        QTest::newRow("song: a longer folder name is another folder")
            << song << x << ax << QByteArray("\\sdmemory\\OldSongs\\x.mid^1^2\r\n") << QByteArray("\\sdmemory\\OldSongs\\x.mid^1^2\r\n");
        QTest::newRow("song: every matching line, others kept byte for byte")
            << song << x << ax
            << QByteArray("\\sdmemory\\Songs\\x.mid^1^1\r\n\\sdmemory\\Caf\xe9\\y.mid^2^2\n\r\n\\sdmemory\\songs\\x.mid^3^3\r\n")
            << QByteArray(moved + "\\sdmemory\\Caf\xe9\\y.mid^2^2\n\r\n" + moved);

        QTest::newRow("song: a new path with a line break is not written")
            << song << x << QStringLiteral("Songs/a\nb.mid") << QByteArray("/sdmemory/Songs/x.mid^5^900\r\n")
            << QByteArray("\\sdmemory\\Songs\\x.mid^5^900\r\n");

        const QString a = QStringLiteral("Songs/a");
        const QString renamed = QStringLiteral("Songs/Abba - Azzurro");
        QTest::newRow("folder: fields and line end kept")
            << folder << a << renamed << QByteArray("\\sdmemory\\Songs\\a\\x.mid^5^900\r\n")
            << QByteArray("\\sdmemory\\Songs\\Abba - Azzurro\\x.mid^5^900\r\n");
        QTest::newRow("folder: LF line end kept")
            << folder << a << renamed << QByteArray("\\sdmemory\\Songs\\a\\x.mid^5^900\n")
            << QByteArray("\\sdmemory\\Songs\\Abba - Azzurro\\x.mid^5^900\n");
        QTest::newRow("folder: other case kept")
            << folder << a << renamed << QByteArray("\\sdmemory\\songs\\a\\x.mid\r\n") << QByteArray("\\sdmemory\\songs\\a\\x.mid\r\n");
        QTest::newRow("folder: sibling groups untouched")
            << folder << a << renamed << QByteArray("\\sdmemory\\Songs\\a (1)\\x.mid^1^1\r\n\\sdmemory\\Songs\\abba\\y.mid^1^1\r\n")
            << QByteArray("\\sdmemory\\Songs\\a (1)\\x.mid^1^1\r\n\\sdmemory\\Songs\\abba\\y.mid^1^1\r\n");
        QTest::newRow("folder: a slash in the fields keeps the file name")
            << folder << a << renamed << QByteArray("\\sdmemory\\Songs\\a\\x.mid^5^AC/DC\r\n")
            << QByteArray("\\sdmemory\\Songs\\Abba - Azzurro\\x.mid^5^AC\\DC\r\n");
    }
    void lineRules()
    {
        QFETCH(int, kind);
        QFETCH(QString, oldRelative);
        QFETCH(QString, newRelative);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        const LineRule rule{LineRule::Kind(kind), oldRelative, newRelative};
        QCOMPARE(playlists::rewriteText(text, rule), expected);
    }

    // A batch of rules gives the text that one rewrite per rule gives, in the same order: later
    // rules see lines as earlier ones left them (a song moved into "a", then "a" renamed).
    void batchEqualsOneRewritePerRule()
    {
        const QByteArray text = "\\sdmemory\\Songs\\x.mid^5^900\r\n"
                                "\\sdmemory\\Songs\\x.midi^1^1\r\n"
                                "/sdmemory/SONGS/Été.kar^2^2\r\n"
                                "\\sdmemory\\Songs\\a\\old.mid^3^3\n"
                                "\\sdmemory\\Songs\\caf\xe9.mid^4^4\r\n"
                                "\\sdmemory\\Songs\\y.mp3";
        const QVector<LineRule> rules{
            {LineRule::Song, "Songs/x.mid", "Songs/a/x.mid"},
            {LineRule::Song, "Songs/été.kar", "Songs/e/été.kar"},
            {LineRule::Folder, "Songs/a", "Songs/Abba - Azzurro"},
            {LineRule::Song, "Songs/y.mp3", "Songs/y/y.mp3"},
            {LineRule::Song, "Songs/x.midi", "Songs/x/x.midi"},
            {LineRule::Folder, "Songs/e", "Songs/Eco - Ez"},
        };
        QByteArray oneByOne = text;
        for (const LineRule &rule : rules)
            oneByOne = playlists::rewriteText(oneByOne, rule);
        QCOMPARE(playlists::rewriteText(text, rules), oneByOne);
        QCOMPARE(oneByOne, QByteArray("\\sdmemory\\Songs\\Abba - Azzurro\\x.mid^0^32767\r\n"
                                      "\\sdmemory\\Songs\\Abba - Azzurro\\x.mid^0^32767\r\n"
                                      "\\sdmemory\\Songs\\Eco - Ez\\été.kar^0^32767\r\n"
                                      "\\sdmemory\\Songs\\Abba - Azzurro\\old.mid^3^3\n"
                                      "\\sdmemory\\Songs\\caf\xe9.mid^4^4\r\n"
                                      "\\sdmemory\\Songs\\y\\y.mp3^0^32767\r\n"));
    }

    void songMoveRewritesEveryPlaylist()
    {
        DriveFixture drive;
        QVERIFY(drive.isValid());
        drive.addPlaylist(QStringLiteral("Rock.pls"), {"\\sdmemory\\Songs\\x.mid^5^900", "\\sdmemory\\Songs\\y.mid^1^2"});
        drive.addPlaylist(QStringLiteral("Pop.PLS"), {"/sdmemory/Other/z.mp3^0^1"});
        drive.addPlaylist(QStringLiteral("Empty.pls"), {});
        drive.addPlaylist(QStringLiteral("notes.txt"), {"/sdmemory/Songs/x.mid"});

        playlists::updateForSong(drive.root(), drive.path("Songs/x.mid"), drive.path("Songs/a/x.mid"));

        const QString folder = drive.path("System/Playlist/");
        QCOMPARE(readAll(folder + "Rock.pls"),
                 QByteArray("\\sdmemory\\Songs\\a\\x.mid^0^32767\r\n\\sdmemory\\Songs\\y.mid^1^2\r\n"));
        QCOMPARE(readAll(folder + "Pop.PLS"), QByteArray("\\sdmemory\\Other\\z.mp3^0^1\r\n"));
        QCOMPARE(readAll(folder + "Empty.pls"), QByteArray());
        QCOMPARE(readAll(folder + "notes.txt"), QByteArray("/sdmemory/Songs/x.mid\r\n"));
        // Nothing left behind: no temporary file, no byte-order mark.
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
                 QStringList({"Empty.pls", "Pop.PLS", "Rock.pls", "notes.txt"}));
        QVERIFY(!readAll(folder + "Rock.pls").startsWith("\xEF\xBB\xBF"));
    }

    void folderRenameFollowsAndNamesResolveWithoutCase()
    {
        DriveFixture drive;
        drive.writeFile("SYSTEM/PLAYLIST/Live.pls", "\\sdmemory\\Songs\\a\\x.mid^5^900\r\n\\sdmemory\\songs\\a\\y.mid\r\n");
        playlists::updateForFolder(drive.root(), drive.path("Songs/a"), drive.path("Songs/Abba - Azzurro"));
        QCOMPARE(readAll(drive.path("SYSTEM/PLAYLIST/Live.pls")),
                 QByteArray("\\sdmemory\\Songs\\Abba - Azzurro\\x.mid^5^900\r\n\\sdmemory\\songs\\a\\y.mid\r\n"));
    }

    void playlistNamedLikeTheTemporaryFileSurvives()
    {
        DriveFixture drive;
        drive.addPlaylist(QStringLiteral("Rock.pls"), {"\\sdmemory\\Songs\\x.mid^5^900"});
        drive.addPlaylist(QStringLiteral("Rock_(1).pls"), {"\\sdmemory\\Songs\\q.mid^7^7"});
        playlists::updateForSong(drive.root(), drive.path("Songs/x.mid"), drive.path("Songs/a/x.mid"));
        const QString folder = drive.path("System/Playlist/");
        QCOMPARE(readAll(folder + "Rock.pls"), QByteArray("\\sdmemory\\Songs\\a\\x.mid^0^32767\r\n"));
        QCOMPARE(readAll(folder + "Rock_(1).pls"), QByteArray("\\sdmemory\\Songs\\q.mid^7^7\r\n"));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
    }

    void pathsOutsideTheDriveChangeNothing()
    {
        DriveFixture drive;
        drive.addPlaylist(QStringLiteral("Rock.pls"), {"/sdmemory/Songs/x.mid^5^900"});
        QTemporaryDir elsewhere;
        playlists::updateForSong(drive.root(), elsewhere.path() + "/Songs/x.mid", drive.path("Songs/a/x.mid"));
        QCOMPARE(readAll(drive.path("System/Playlist/Rock.pls")), QByteArray("/sdmemory/Songs/x.mid^5^900\r\n"));
    }

    void noPlaylistFolderIsHarmless()
    {
        DriveFixture drive;
        playlists::updateForSong(drive.root(), drive.path("Songs/x.mid"), drive.path("Songs/a/x.mid"));
        QVERIFY(!QFileInfo::exists(drive.path("System")));
    }
};

QTEST_GUILESS_MAIN(TestPlaylists)
#include "tst_playlists.moc"
