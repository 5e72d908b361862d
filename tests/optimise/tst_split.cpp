// Folder split by title: full groups, companions, the digits groups, a second split, awkward
// titles and Stop, checked by an inventory of every file and playlist line.
#include <algorithm>
#include <QtTest>

#include "device/entries.h"
#include "optimise/foldersplit.h"
#include "tests/common/drivefixture.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"

namespace {

// A drive whose folder "Songs" the scan found oversized.
struct Harness {
    DriveFixture drive;
    LibraryScanState scan;
    SongTitleReader titles;
    SplitState state;
    OperationState opState;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    OperationContext ctx{opState, dialogs, progress, nullptr, {}};
    QString folder = drive.path("Songs");
    int defrags = 0;

    Harness()
    {
        scan.libraryDevicePath = drive.root();
        scan.songExtensions = SongTitleReader::standardSongExtensions();
        scan.oversizedFolders = {QFileInfo(folder)};
        scan.oversizedFoldersText = folder + "\n";
    }
    void run()
    {
        for (int i = 0; i < 3; ++i)
            dialogs.answer("Ok");
        FolderSplit split(ctx, scan, titles, state);
        split.defragment = [this] { ++defrags; };
        split.splitFoldersByTitle();
        QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join('\n')));
    }
    QStringList groups() const { return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name); }
    int filesIn(const QString &group) const { return QDir(folder + "/" + group).entryList(QDir::Files).size(); }
};

// Where each file of folder went (its path below folder by its path before), once every file is
// found in exactly one place, at most one group deep, with its bytes: the files directly in folder
// may have moved into a group, those already in groups stay. Empty when anything was lost,
// changed or duplicated.
QMap<QString, QString> inventory(const QMap<QString, QByteArray> &before, const QString &folder)
{
    const QMap<QString, QByteArray> after = treeContents(folder);
    QMap<QString, QString> located;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const QString from = before.contains(it.key()) ? it.key() : it.key().section('/', -1);
        if (!before.contains(from) || before.value(from) != it.value() || it.key().count('/') > 1
            || located.contains(from))
            return {};
        located.insert(from, it.key());
    }
    return located.size() == before.size() ? located : QMap<QString, QString>();
}

} // namespace

class TestSplit : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // 1500 songs titled with A or a: "a" takes 1000 and is renamed after its range of titles, the
    // successor named after song 1001 takes the rest.
    void fifteenHundredSongsTitledWithA()
    {
        Harness h;
        QMap<QString, QString> titleOf;
        for (int i = 0; i < 1500; ++i) {
            const int n = (i * 7919) % 1500;   // titles in another order than the files
            const QString title = QString(n % 3 ? "Amore %1" : "aria %1").arg(n, 4, 10, QLatin1Char('0'));
            const QString name = QStringLiteral("song%1.mp3").arg(i, 4, 10, QLatin1Char('0'));
            h.drive.writeMp3("Songs/" + name, title, 0);
            titleOf.insert(name, title);
        }
        QStringList order;   // the order the split takes the songs in
        for (const QString &file : entries::list(h.folder, {}))
            order << QFileInfo(file).fileName();
        const QMap<QString, QByteArray> before = treeContents(h.folder);
        h.run();

        QStringList first;
        for (int i = 0; i < 1000; ++i)
            first << titleOf.value(order.at(i));
        std::sort(first.begin(), first.end());
        const QString retired = first.first() + " - " + first.last();
        const QString t = titleOf.value(order.at(1000));
        const QString successor = t + " - " + t.at(0) + "z";
        QStringList expectedGroups = SplitState::baseGroupNames() << retired << successor;
        expectedGroups.removeOne("a");
        std::sort(expectedGroups.begin(), expectedGroups.end());
        QCOMPARE(h.groups(), expectedGroups);
        const QMap<QString, QString> located = inventory(before, h.folder);
        QCOMPARE(located.size(), 1500);
        for (int i = 0; i < 1500; ++i)
            QCOMPARE(located.value(order.at(i)), (i < 1000 ? retired : successor) + "/" + order.at(i));

        QCOMPARE(h.dialogs.prompts[0].text, "Le seguenti cartelle contengono più di 1000 basi e verranno suddivise "
                                            "in cartelle con non più di 1000 basi ciascuna:\n" + h.folder + "\n");
        QCOMPARE(h.dialogs.prompts.size(), 3);
        QCOMPARE(h.defrags, 1);
    }

    // Two companions to every song: a group takes a song only while it holds fewer than 998 files,
    // so the first "b" group ends with 999. A MIDI song's ".cdg" is no companion and stays.
    void companionsMoveTogetherAndTakeRoom()
    {
        Harness h;
        for (int i = 0; i < 400; ++i) {
            const QString base = QStringLiteral("Songs/b%1").arg(i, 3, 10, QLatin1Char('0'));
            const QString song = base + (i % 4 ? ".mp3" : ".mid");
            i % 4 ? h.drive.writeMp3(song, QStringLiteral("Blue %1").arg(i), 0)
                  : h.drive.writeMidi(song, QStringLiteral("Blues %1").arg(i));
            h.drive.writeFile(base + (i % 4 ? ".CDG" : ".cdg"), song.toUtf8());   // any case, as on the player
            h.drive.writeFile(song + ".bak", song.toUtf8());
            if (i % 4 == 0)
                h.drive.writeFile(song + ".dat", song.toUtf8());
        }
        const QMap<QString, QByteArray> before = treeContents(h.folder);
        h.run();

        const QMap<QString, QString> located = inventory(before, h.folder);
        QCOMPARE(located.size(), 1300);
        QList<int> counts;
        for (const QString &group : h.groups())
            if (h.filesIn(group))
                counts << h.filesIn(group);
        std::sort(counts.begin(), counts.end());
        QCOMPARE(counts, QList<int>({201, 999}));
        for (int i = 0; i < 400; ++i) {
            const QString base = QStringLiteral("b%1").arg(i, 3, 10, QLatin1Char('0'));
            const QString song = base + (i % 4 ? ".mp3" : ".mid");
            const QString group = located.value(song).section('/', 0, 0) + "/";
            QVERIFY2(group.startsWith("Blue"), qPrintable(song));
            QCOMPARE(located.value(song + ".bak"), group + song + ".bak");
            if (i % 4)
                QCOMPARE(located.value(base + ".CDG"), group + base + ".CDG");
            else
                QCOMPARE(located.value(base + ".cdg"), base + ".cdg");
        }
    }

    // Digits, blanks, punctuation and untitled names starting so fill "0-9", then "0-9 (2)". A
    // second split makes "a (1)" ... "0-9 (1)" and passes over the old "0-9 (2)".
    void digitsOverflowAndSecondSplit()
    {
        Harness h;
        const auto addSongs = [&](const QString &tag, int count) {
            const QStringList titles{"%1 Gold", " spaced %1", "¡Olé! %1"};
            for (int i = 0; i < count; ++i)
                h.drive.writeMidi(QStringLiteral("Songs/%1%2.mid").arg(tag).arg(i), titles.at(i % 3).arg(i));
            h.drive.writeFile("Songs/_" + tag + ".kar", "no title inside: filed by its name");
        };
        addSongs("one", 1000);
        h.drive.writeMidi("Songs/apple.mid", "Apple");
        h.run();
        QCOMPARE(h.filesIn("0-9"), 1000);
        QCOMPARE(h.filesIn("0-9 (2)"), 1);

        addSongs("two", 1000);
        h.drive.writeMidi("Songs/avocado.mid", "Avocado");
        const QMap<QString, QByteArray> before = treeContents(h.folder);
        h.run();
        QVERIFY(!inventory(before, h.folder).isEmpty());
        QCOMPARE(h.groups().size(), 27 + 27 + 2);
        QCOMPARE(h.filesIn("0-9 (1)"), 1000);
        QCOMPARE(h.filesIn("0-9 (3)"), 1);
        QCOMPARE(h.filesIn("a (1)"), 1);
    }

    // A full group named after hostile titles gets a harmless name inside the folder; accented
    // Latin initials go under their base letter, other scripts under "0-9".
    void awkwardTitles()
    {
        Harness h;
        const QStringList hostile{"CON", "c/../../escaped", "c:\\windows", "c" + QString(300, 'z'), "c.", "Ca*?<>|"};
        for (int i = 0; i < 1001; ++i)
            h.drive.writeMidi(QStringLiteral("Songs/s%1.mid").arg(i, 4, 10, QLatin1Char('0')),
                              i < 900 ? hostile.at(i % hostile.size()) + "0" : QStringLiteral("Cello %1").arg(i));
        const QStringList initials{"Été", "ßpiel", "Ωmega", "東京"}, groups{"e", "s", "0-9", "0-9"};
        for (int i = 0; i < initials.size(); ++i)
            h.drive.writeMidi(QStringLiteral("Songs/%1.mid").arg(i), initials.at(i));
        const QMap<QString, QByteArray> before = treeContents(h.folder);
        h.run();
        const QMap<QString, QString> located = inventory(before, h.folder);
        QCOMPARE(located.size(), 1005);
        for (int i = 0; i < initials.size(); ++i)
            QCOMPARE(located.value(QStringLiteral("%1.mid").arg(i)), QStringLiteral("%1/%2.mid").arg(groups.at(i)).arg(i));
        QCOMPARE(QDir(h.drive.root()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"Songs"});
        QCOMPARE(h.groups().size(), 28);
        QVERIFY(h.groups().contains("CON0 - c" + QString(99, 'z')));
        for (const QString &group : h.groups())
            QVERIFY2(!group.contains(QRegularExpression("[\\\\/:*?\"<>|]")) && !group.endsWith('.'), qPrintable(group));
    }

    void stop_data()
    {
        QTest::addColumn<int>("movedBeforeStop");
        QTest::newRow("set before the split: nothing moves") << 0;
        QTest::newRow("pressed after the tenth song: ten moved, their lines followed") << 10;
    }
    void stop()
    {
        QFETCH(int, movedBeforeStop);
        Harness h;
        QStringList lines;
        for (int i = 0; i < 30; ++i) {
            h.drive.writeMidi(QStringLiteral("Songs/x%1.mid").arg(i), "Xylo");
            lines << QStringLiteral("\\sdmemory\\Songs\\x%1.mid^1^1").arg(i);
        }
        h.drive.addPlaylist("P.pls", lines);
        h.opState.stopRequested = movedBeforeStop == 0;
        h.progress.onValue = [&](int value) {
            if (value == movedBeforeStop)
                h.opState.stopRequested = true;
        };
        h.run();
        QCOMPARE(h.dialogs.prompts.size(), 1);   // the list of folders, then nothing
        QCOMPARE(h.filesIn("x"), movedBeforeStop);
        const QByteArray playlist = treeContents(h.drive.path("System/Playlist")).value("P.pls");
        QCOMPARE(playlist.count("\\Songs\\x\\"), movedBeforeStop);
        QCOMPARE(h.defrags, 0);
        QVERIFY(!h.opState.stopRequested);
        QVERIFY(!QFile::exists(SplitJournal::pathFor(h.drive.root())));
    }
};

QTEST_GUILESS_MAIN(TestSplit)
#include "tst_split.moc"
