// The library health check on real songs (made by lame, sox and a standard MIDI writer, see
// tests/data/make-data.sh), damaged by cutting and overwriting them, run through the runner.
#include <QtTest>

#include "health/healthnames.h"
#include "operations/operations.h"
#include "optimise/splitjournal.h"
#include "tests/common/drivefixture.h"
#include "tests/transfer/transfertesting.h"   // readBytes, cliEnd

namespace {

QByteArray data(const QString &name) { return readBytes(QStringLiteral(CORVEL3_TEST_DATA "/") + name); }

QByteArray overwritten(QByteArray bytes, int at, const QByteArray &with) { return bytes.replace(at, with.size(), with); }

struct Checked {
    Operations::Result result;
    health::Report report;
    ScriptedDialogs dialogs;
    QStringList actions;   // "rename a -> b", relative to the drive
};

// One run of the check (and the fixes asked for) through the runner, with the answers given.
void runHealth(Checked &c, DriveFixture &drive, int fixGroups = 0, const QStringList &answers = {}, bool dryRun = false)
{
    Operations ops;
    ops.state.currentLanguage = 1;
    ops.frontEnd().dialogs = &c.dialogs;
    ops.frontEnd().onFileAction = [&](const QString &action, const QString &path, const QString &target, bool ok) {
        c.actions << QString("%1 %2%3%4").arg(action, path.mid(drive.root().size()), target.isEmpty() ? "" : " -> ",
                                             target.startsWith(drive.root()) ? target.mid(drive.root().size()) : target)
                         + (ok ? "" : " FAILED");
    };
    c.dialogs.answer(answers + QStringList{"Ok"});   // the closing box last
    c.result = ops.health(fixGroups, dryRun);
    c.report = ops.healthReport;
}

QStringList playlist(DriveFixture &drive, const QString &name)
{
    return QString::fromUtf8(readBytes(drive.path("System/Playlist/" + name))).split("\r\n", Qt::SkipEmptyParts);
}

// The kinds found, each with its items: "damagedMp3: a.mp3 (cutShort)".
QStringList found(const health::Report &report)
{
    QStringList lines;
    for (const health::Finding &f : report.findings)
        if (!f.items.isEmpty())
            lines << health::kindName(f.kind) + ": " + f.items.join(", ");
    return lines;
}

} // namespace

class TestHealth : public QObject {
    Q_OBJECT

    QTemporaryDir home;

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
        qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8());
        QCoreApplication::setApplicationName("corvel3");
        QVERIFY(!data("tagged.mp3").isEmpty() && !data("bare.mp3").isEmpty() && !data("tune.mid").isEmpty());
    }

    // Each song alone on a player: what the check says of it. Whole songs say nothing; cut or
    // overwritten ones are found by what is wrong with them.
    void songs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QByteArray tagged = data("tagged.mp3"), bare = data("bare.mp3"), tune = data("tune.mid");
        QTest::newRow("whole mp3 with a title") << "a.mp3" << tagged << "";
        QTest::newRow("whole mp3 behind an ID3v2 tag")
            << "a.mp3" << QByteArray("ID3\3\0\0\0\0\0\x14TIT2\0\0\0\x05\0\0\0Sine", 25) + QByteArray(10, '\0') + tagged << "";
        QTest::newRow("whole midi") << "a.mid" << tune << "";
        QTest::newRow("mp3 without a title") << "a.mp3" << bare << "unreadableTitle: a.mp3";
        QTest::newRow("mp3 cut, its Info header says") << "a.mp3" << tagged.left(tagged.size() * 2 / 3) << "damagedMp3: a.mp3 (cutShort), unreadableTitle: a.mp3";
        for (int cut : {37, 101, 1500})
            QTest::addRow("mp3 without Info cut %d bytes short", cut) << "a.mp3" << bare.chopped(cut) << "unreadableTitle: a.mp3, damagedMp3: a.mp3 (cutShort)";
        QTest::newRow("mp3 with its first frame overwritten") << "a.mp3" << overwritten(tagged, 0, "JUNKJUNK") << "damagedMp3: a.mp3 (noFrameSync)";
        QTest::newRow("midi cut in its last track") << "a.mid" << tune.left(70) << "damagedMidi: a.mid (trackPastEnd)";
        QTest::newRow("midi cut before its last track") << "a.mid" << tune.left(0x2e) << "damagedMidi: a.mid (trackPastEnd)";
        QTest::newRow("midi header overwritten") << "a.mid" << overwritten(tune, 0, "RIFX") << "damagedMidi: a.mid (badMidiHeader)";
        QTest::newRow("midi track length past the end") << "a.mid" << overwritten(tune, 0x12, QByteArray("\x7f\0", 2)) << "damagedMidi: a.mid (trackPastEnd)";
        QTest::newRow("empty song") << "a.mp3" << QByteArray() << "emptySong: a.mp3";
    }
    void songs()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        DriveFixture drive;
        drive.addSystemFiles();
        drive.writeFile(name, bytes);   // at the root: the findings name it as given
        Checked c;
        runHealth(c, drive);
        QStringList want = expected.split(", ", Qt::SkipEmptyParts), got = found(c.report);
        want.sort();
        got.sort();
        QCOMPARE(got, want);
        QCOMPARE(c.result, want.isEmpty() ? Operations::Result::Done : Operations::Result::Failed);
        QCOMPARE(c.report.songs, 1);
    }

    // Everything else a library can hold that the player trips over, all on one drive.
    void libraryFindings()
    {
        DriveFixture drive;
        drive.addSystemFiles();
        const QByteArray song = data("tagged.mp3");
        drive.writeFile("Rock/a.mp3", song);
        drive.writeFile("Pop/a copy.mp3", song);            // a duplicate
        drive.writeFile("Rock/moved.mid", data("tune.mid"));
        drive.writeFile("Rock/Song.MP3", song + "x");      // clashes with "song.mp3" ignoring case
        drive.writeFile("Rock/song.mp3", song + "y");
        drive.writeFile("Rock/lost.cdg", "graphics");      // its lost.mp3 is not there
        drive.writeFile("Rock/gone.mid.bak", "backup");
        drive.writeFile("Rock/a.mp3.dat", "data");         // its song is there: fine
        drive.writeFile("Rock/why?.mp3", song + "z");
        drive.writeFile("Rock/" + QString(200, 'x') + ".mp3", song + "w");
        for (int i = 0; i < 1001; ++i)
            drive.writeFile(QString("Big/%1.mid").arg(i), data("tune.mid") + QByteArray::number(i));
        drive.addPlaylist("P.pls", {"\\sdmemory\\Rock\\a.mp3^0^1", "\\sdmemory\\Old\\moved.mid^0^1", "\\sdmemory\\Rock\\gone.mp3^0^1",
                                    "\\sdmemory\\Rock\\A.MP3^x^y"});
        // The kept system package, sparse, larger than any free space here.
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
        QFile package(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/CorvelAll.zip");
        QVERIFY(package.open(QIODevice::WriteOnly) && package.resize(qint64(1) << 40));
        package.close();
        Checked c;
        runHealth(c, drive);
        package.remove();
        QCOMPARE(c.result, Operations::Result::Failed);
        const auto items = [&](health::Kind kind) { return c.report.finding(kind).items; };
        QCOMPARE(items(health::Kind::LowSpace).size(), 1);
        QCOMPARE(c.report.packageBytes, qint64(1) << 40);
        QCOMPARE(items(health::Kind::DeadLine), QStringList({"P.pls:2: Old/moved.mid -> Rock/moved.mid", "P.pls:3: Rock/gone.mp3"}));
        QCOMPARE(items(health::Kind::OrphanCompanion).size(), 2);
        QCOMPARE(items(health::Kind::BadName), QStringList{"Rock/why?.mp3"});
        QCOMPARE(items(health::Kind::LongName), QStringList{"Rock/" + QString(200, 'x') + ".mp3"});
        QCOMPARE(items(health::Kind::NameClash), QStringList{"Rock/Song.MP3 | Rock/song.mp3"});
        QCOMPARE(items(health::Kind::OversizedFolder), QStringList{"Big (1001)"});
        QCOMPARE(items(health::Kind::Duplicate), QStringList{"Pop/a copy.mp3 = Rock/a.mp3"});
        QCOMPARE(c.report.finding(health::Kind::Duplicate).bytes, qint64(song.size()));
        QCOMPARE(c.report.byFolder.first().name, QString("Big"));
        QCOMPARE(c.report.byFolder.first().songs, 1001);
    }

    // Each fix after its question: the answer decides, the playlists follow, nothing else moves.
    void fixes_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("files");      // below Basi/, after the run
        QTest::addColumn<QStringList>("lines");      // of P.pls, after the run
        const QStringList before{"a.mp3", "dup/a.mp3", "moved/m.mid", "what?.mid"};
        const QStringList lines{"\\sdmemory\\Basi\\a.mp3^0^1", "\\sdmemory\\Basi\\m.mid^0^1", "\\sdmemory\\Basi\\gone.mp3^0^1",
                                "\\sdmemory\\Basi\\what?.mid^0^1", "\\sdmemory\\Basi\\dup\\a.mp3^0^1"};
        QTest::newRow("relink and remove dead lines") << int(health::Playlists) << QStringList{"Yes", "Yes"} << before
            << QStringList{lines[0], "\\sdmemory\\Basi\\moved\\m.mid^0^32767", lines[3], lines[4]};
        QTest::newRow("relink only") << int(health::Playlists) << QStringList{"Yes", "No"} << before
            << QStringList{lines[0], "\\sdmemory\\Basi\\moved\\m.mid^0^32767", lines[2], lines[3], lines[4]};
        QTest::newRow("playlists declined") << int(health::Playlists) << QStringList{"No", "No"} << before << lines;
        QTest::newRow("rename, the playlists follow") << int(health::Names) << QStringList{"Yes"}
            << QStringList{"a.mp3", "dup/a.mp3", "moved/m.mid", "what_.mid"}
            << QStringList{lines[0], lines[1], lines[2], "\\sdmemory\\Basi\\what_.mid^0^32767", lines[4]};
        QTest::newRow("delete a duplicate, the first named kept") << int(health::Duplicates) << QStringList{"Delete the copies"}
            << QStringList{"a.mp3", "moved/m.mid", "what?.mid"}
            << QStringList{lines[0], lines[1], lines[2], lines[3], "\\sdmemory\\Basi\\a.mp3^0^32767"};
        QTest::newRow("duplicates kept") << int(health::Duplicates) << QStringList{"Keep them"} << before << lines;
        QTest::newRow("every group, safe answers") << int(health::AllGroups) << QStringList{"No", "No", "Keep all the rest", "No"}
            << before << lines;
    }
    void fixes()
    {
        QFETCH(int, group);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, files);
        QFETCH(QStringList, lines);
        DriveFixture drive;
        drive.addSystemFiles();
        drive.writeFile("Basi/a.mp3", data("tagged.mp3"));
        drive.writeFile("Basi/dup/a.mp3", data("tagged.mp3"));
        drive.writeFile("Basi/moved/m.mid", data("tune.mid"));
        drive.writeFile("Basi/what?.mid", data("tune.mid") + "2");
        drive.addPlaylist("P.pls", {"\\sdmemory\\Basi\\a.mp3^0^1", "\\sdmemory\\Basi\\m.mid^0^1", "\\sdmemory\\Basi\\gone.mp3^0^1",
                                    "\\sdmemory\\Basi\\what?.mid^0^1", "\\sdmemory\\Basi\\dup\\a.mp3^0^1"});
        const auto songs = [&] { return QStringList(treeContents(drive.path("Basi")).keys()); };
        const QMap<QString, QByteArray> before = treeContents(drive.root());

        Checked rehearsal;   // a dry run first: it asks nothing and changes nothing
        runHealth(rehearsal, drive, group, {}, true);
        QCOMPARE(treeContents(drive.root()), before);
        QVERIFY(rehearsal.actions.size() >= answers.size() - 1);

        Checked c;
        drive.plugIn();
        runHealth(c, drive, group, answers);
        QVERIFY2(c.dialogs.failures.isEmpty(), qPrintable(c.dialogs.failures.join('\n')));
        QCOMPARE(songs(), files);
        QCOMPARE(playlist(drive, "P.pls"), lines);
        QVERIFY(!QFileInfo::exists(SplitJournal::pathFor(drive.root())));
        // What the dry run listed is what a yes to everything does.
        if (!answers.contains("No") && !answers.contains("Keep them"))
            for (const QString &action : c.actions)
                QVERIFY2(rehearsal.actions.contains(action) || action.startsWith("rewrite"), qPrintable(action));
    }

    // The command line: the findings in the end event, and what --fix does without a person to
    // answer: on a pipe nothing; with --yes the fixes, but never a deletion.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files");   // below Basi/ after the run
        const QStringList before{"a.mp3", "dup/a.mp3", "what?.mid"};
        QTest::newRow("findings") << QStringList{"health"} << before;
        QTest::newRow("fix on a pipe") << QStringList{"health", "--fix"} << before;
        QTest::newRow("fix with --yes") << QStringList{"--yes", "health", "--fix"} << QStringList{"a.mp3", "dup/a.mp3", "what_.mid"};
        QTest::newRow("dry run") << QStringList{"--yes", "health", "--dry-run"} << before;
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, files);
        DriveFixture drive;
        drive.addSystemFiles();
        drive.writeFile("Basi/a.mp3", data("tagged.mp3"));
        drive.writeFile("Basi/dup/a.mp3", data("tagged.mp3"));
        drive.writeFile("Basi/what?.mid", data("tune.mid"));
        QJsonObject end;
        QCOMPARE(cliEnd(arguments, &end), 1);
        QCOMPARE(QStringList(treeContents(drive.path("Basi")).keys()), files);
        QStringList kinds;
        for (const QVariant &finding : end.toVariantMap().value("findings").toList())
            kinds << finding.toMap().value("kind").toString();
        QCOMPARE(kinds, (files.contains("what_.mid") ? QStringList() : QStringList{"badName"}) + QStringList{"duplicate"});
    }

    // A run cut short after its renames but before the playlists followed: the next run with
    // fixes brings them in line from the journal and removes the copy a torn rewrite left.
    void renamesCutShortAreCompleted()
    {
        DriveFixture drive;
        drive.addSystemFiles();
        drive.writeFile("Basi/x_.mid", data("tune.mid"));   // already renamed from "x?.mid"
        drive.addPlaylist("P.pls", {"\\sdmemory\\Basi\\x?.mid^0^1"});
        drive.writeFile("System/Playlist/P.pls.corvel3-new", "\\sdmemory\\Basi\\x_");   // torn
        SplitJournal journal;
        QVERIFY(journal.start(drive.root()));
        QVERIFY(journal.plan({{playlists::LineRule::Song, drive.path("Basi/x?.mid"), drive.path("Basi/x_.mid")}}));
        journal.finish();
        Checked c;
        runHealth(c, drive, health::Names, {"Ok"});
        QCOMPARE(playlist(drive, "P.pls"), QStringList{"\\sdmemory\\Basi\\x_.mid^0^32767"});
        QVERIFY(!QFileInfo::exists(drive.path("System/Playlist/P.pls.corvel3-new")));
        QVERIFY(!QFileInfo::exists(SplitJournal::pathFor(drive.root())));
        QCOMPARE(c.result, Operations::Result::Done);
    }

    // The names a folder's fix gives: refused characters become "_", long names are cut as the
    // optimisation cuts them, clashes and taken names get a number.
    void names_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("renames");
        const QString longBase(200, 'x');
        QTest::newRow("refused") << QStringList{"a:b.mp3", "c|d*.mid", "e.mp3."} << QStringList{"a:b.mp3>a_b.mp3", "c|d*.mid>c_d_.mid", "e.mp3.>e.mp3"};
        QTest::newRow("taken") << QStringList{"a?.mp3", "a_.mp3"} << QStringList{"a?.mp3>a_ (1).mp3"};
        QTest::newRow("clash") << QStringList{"Song.mp3", "SONG.mp3", "song.mp3"} << QStringList{"Song.mp3>Song (1).mp3", "song.mp3>song (2).mp3"};
        QTest::newRow("long") << QStringList{longBase + ".mp3"} << QStringList{longBase + ".mp3>" + QString(170, 'x') + ".mp3"};
        QTest::newRow("fine") << QStringList{"a.mp3", "b c.mid", "ok (1).kar"} << QStringList{};
    }
    void names()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, renames);
        QVector<::names::Entry> list;
        for (const QString &name : entries)
            list << ::names::Entry{name, false, {}};
        QStringList got;
        for (const ::names::Entry &e : ::names::checkFolder(list).renames)
            got << e.name + ">" + e.newName;
        QCOMPARE(got, renames);
    }
};

QTEST_MAIN(TestHealth)
#include "tst_health.moc"
