// Folder split by title: groups, capacity with companions, retired groups, digits overflow,
// a second split, initials, hostile titles, Stop, and an inventory of every file and playlist line.
#include <algorithm>
#include <QDir>
#include <QFile>
#include <QtTest>

#include "device/entries.h"
#include "optimise/foldersplit.h"
#include "tests/common/drivefixture.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"

namespace {

const QStringList songExtensions{".mp3", ".midi", ".mid", ".mf3", ".mf4", ".mf5", ".kar"};

// A drive with one folder "Songs" to split, and everything the split reads.
struct SplitHarness {
    DriveFixture drive;
    LibraryScanState scan;
    SongTitleReader titles{songExtensions};
    SplitState state;
    OperationState opState;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    OperationContext ctx{opState, dialogs, progress, nullptr, {}};
    int defrags = 0;

    explicit SplitHarness(int language = 1)
    {
        opState.currentLanguage = language;
        scan.libraryDevicePath = drive.root();
        scan.songExtensions = songExtensions;
        QDir().mkpath(folder());
    }
    QString folder() const { return drive.path("Songs"); }
    void markOversized()
    {
        scan.oversizedFolders = {QFileInfo(folder())};
        scan.oversizedFoldersText = folder() + "\n";
    }
    void run()
    {
        FolderSplit split(ctx, scan, titles, state);
        split.defragment = [this] { ++defrags; };
        split.splitFoldersByTitle();
    }
    // Songs in the order the split takes them.
    QStringList songOrder() const
    {
        QStringList names;
        entries::ListOptions options;
        options.recursive = false;
        options.folders = false;
        for (const QString &file : entries::list(folder(), options)) {
            const QString name = QFileInfo(file).fileName();
            for (const QString &ext : songExtensions)
                if (name.endsWith(ext, Qt::CaseInsensitive)) {
                    names << name;
                    break;
                }
        }
        return names;
    }
    QStringList groups() const { return QDir(folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name); }
    int filesIn(const QString &group) const
    {
        return QDir(folder() + "/" + group).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).size();
    }
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file that was in the folder is in exactly one place below it, one group deep at most,
// with its bytes; files that were in subfolders already have not moved. Returns where each file
// directly in the folder went (its path below the folder).
QMap<QString, QString> checkInventory(const QMap<QString, QByteArray> &before, const QString &folder)
{
    QMap<QString, QString> located;
    const QMap<QString, QByteArray> after = treeContents(folder);
    int unchanged = 0;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (it.key().contains('/')) {
            if (after.value(it.key()) != it.value())
                qWarning() << "a file of an earlier group changed or went:" << it.key();
            ++unchanged;
        }
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (before.contains(it.key()) && it.key().contains('/'))
            continue;
        const QString name = it.key().section('/', -1);
        if (!before.contains(name) || before.value(name) != it.value() || it.key().count('/') > 1
            || located.contains(name)) {
            qWarning() << "unexpected, changed or duplicated file:" << it.key();
            return {};
        }
        located.insert(name, it.key());
    }
    if (located.size() + unchanged != before.size() || after.size() != before.size()) {
        qWarning() << "files lost:" << before.size() - after.size();
        return {};
    }
    return located;
}

// No group holds more than 1000 files, and every group name is one a FAT disk and Windows accept.
void checkGroups(const SplitHarness &h)
{
    for (const QString &group : h.groups()) {
        QVERIFY2(h.filesIn(group) <= 1000, qPrintable(group));
        QVERIFY2(!group.contains(QRegularExpression("[\\\\/:*?\"<>|\\x00-\\x1f]")), qPrintable(group));
        QVERIFY2(!group.endsWith('.') && !group.endsWith(' ') && group.size() <= 220, qPrintable(group));
    }
}

} // namespace

class TestSplit : public QObject {
    Q_OBJECT

private slots:
    void nothingOversized_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("status");
        QTest::newRow("Italian") << 0 << "Operazione Completata"
                                 << "Tutte le cartelle sono già ottimizzate, nessuna operazione necessaria"
                                 << "Operazione completata";
        QTest::newRow("English") << 1 << "Operation completed" << "All folders are already optimized, no operation needed"
                                 << "Operation completed";
    }
    void nothingOversized()
    {
        QFETCH(int, language);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QString, status);
        SplitHarness h(language);
        h.drive.writeMidi("Songs/x.mid", "Xylo");
        h.dialogs.answer("Ok");
        h.run();
        QCOMPARE(h.dialogs.prompts.size(), 1);
        QCOMPARE(h.dialogs.prompts[0].title, title);
        QCOMPARE(h.dialogs.prompts[0].text, text);
        QCOMPARE(h.progress.statusText, status);
        QCOMPARE(h.defrags, 0);
        QVERIFY(h.groups().isEmpty());
        QVERIFY(h.dialogs.failures.isEmpty());
    }

    // 1500 songs whose titles begin with A (or a): "a" takes 1000 and is renamed after its title
    // range, the successor named after song 1001 takes the rest, and the playlists follow both.
    void fifteenHundredSongsTitledWithA()
    {
        SplitHarness h(0);
        QMap<QString, QString> titleOf;
        QStringList lines;
        for (int i = 0; i < 1500; ++i) {
            const int n = (i * 7919) % 1500;
            const QString title = (n % 3 ? QStringLiteral("Amore %1") : QStringLiteral("aria %1")).arg(n, 4, 10, QLatin1Char('0'));
            const QString name = QStringLiteral("song%1.mp3").arg(i, 4, 10, QLatin1Char('0'));
            h.drive.writeMp3("Songs/" + name, title, 0);
            titleOf.insert(name, title);
            if (i % 3 == 0)
                lines << QStringLiteral("\\sdmemory\\Songs\\%1^3^100").arg(i % 2 ? name.toUpper() : name);
        }
        lines << "\\sdmemory\\Other\\q.mid^1^1";
        h.drive.addPlaylist("Mix.pls", lines);
        h.drive.addPlaylist("Few.pls", {"\\sdmemory\\Songs\\song0003.mp3^2^2"});
        h.markOversized();
        const QStringList order = h.songOrder();
        const QMap<QString, QByteArray> before = treeContents(h.folder());
        for (int i = 0; i < 3; ++i)
            h.dialogs.answer("Ok");

        h.run();

        QStringList first;
        for (int i = 0; i < 1000; ++i)
            first << titleOf.value(order.at(i));
        std::sort(first.begin(), first.end());
        const QString retired = first.first() + " - " + first.last();
        const QString t = titleOf.value(order.at(1000));
        const QString successor = t + " - " + t.at(0) + "z";

        QStringList expectedGroups = SplitState::baseGroupNames();
        expectedGroups.removeOne("a");
        expectedGroups << retired << successor;
        std::sort(expectedGroups.begin(), expectedGroups.end());
        QCOMPARE(h.groups(), expectedGroups);
        QCOMPARE(h.filesIn(retired), 1000);
        QCOMPARE(h.filesIn(successor), 500);
        for (int i = 0; i < 1500; ++i)
            QVERIFY(QFileInfo::exists(h.folder() + "/" + (i < 1000 ? retired : successor) + "/" + order.at(i)));

        const QMap<QString, QString> located = checkInventory(before, h.folder());
        QCOMPARE(located.size(), 1500);
        QStringList expectedLines;
        for (int i = 0; i < 1500; i += 3)
            expectedLines << "\\sdmemory\\Songs\\" + QString(located.value(QStringLiteral("song%1.mp3").arg(i, 4, 10, QLatin1Char('0')))).replace('/', '\\') + "^0^32767";
        expectedLines << "\\sdmemory\\Other\\q.mid^1^1";
        QCOMPARE(QString::fromUtf8(readAll(h.drive.path("System/Playlist/Mix.pls"))), expectedLines.join("\r\n") + "\r\n");
        QCOMPARE(QString::fromUtf8(readAll(h.drive.path("System/Playlist/Few.pls"))),
                 "\\sdmemory\\Songs\\" + QString(located.value("song0003.mp3")).replace('/', '\\') + "^0^32767\r\n");

        QCOMPARE(h.dialogs.titles(), QStringList({"Trovate cartelle con troppi file", "Operazione Completata", "Operazione Completata"}));
        QCOMPARE(h.dialogs.prompts[0].text,
                 "Le seguenti cartelle contengono più di 1000 basi e verranno suddivise in cartelle con non più di "
                 "1000 basi ciascuna:\n" + h.folder() + "\n");
        QCOMPARE(h.dialogs.prompts[1].text, QStringLiteral("Basi divise correttamente"));
        QCOMPARE(h.dialogs.prompts[2].text,
                 QStringLiteral("ATTENZIONE: Si consiglia di ricostruire il Database per migliorare le prestazioni."));
        QVERIFY(h.progress.statusHistory.contains("Caricamento risorse..."));
        QVERIFY(h.progress.statusHistory.contains("Ottimizzazione cartelle 1/1"));
        QCOMPARE(h.progress.statusText, QStringLiteral("Operazione completata"));
        QCOMPARE(h.progress.values.count(1500), 1);
        QCOMPARE(h.defrags, 1);
        QCOMPARE(h.state.groupFolders, SplitState::baseGroupNames());
        QVERIFY(h.dialogs.failures.isEmpty());
        checkGroups(h);
    }

    // Every song has two companions: a group takes a song only while it holds fewer than 998
    // files, so "b" ends with 999 files and never more. A MIDI song's ".cdg" stays behind.
    void companionsMoveTogetherAndTakeRoom()
    {
        SplitHarness h;
        for (int i = 0; i < 400; ++i) {
            const QString base = QStringLiteral("Songs/b%1").arg(i, 3, 10, QLatin1Char('0'));
            if (i % 4) {
                h.drive.writeMp3(base + ".mp3", QStringLiteral("Blue %1").arg(i), 0);
                h.drive.writeFile(base + ".CDG", "cdg " + base.toUtf8());   // any case, as on the player's disk
                h.drive.writeFile(base + ".mp3.bak", "bak " + base.toUtf8());
            } else {
                h.drive.writeMidi(base + ".mid", QStringLiteral("Blues %1").arg(i));
                h.drive.writeFile(base + ".cdg", "not a companion of a MIDI song");
                h.drive.writeFile(base + ".mid.bak", "bak " + base.toUtf8());
                h.drive.writeFile(base + ".mid.dat", "dat " + base.toUtf8());
            }
        }
        h.drive.writeFile("Songs/readme.txt", "stays");
        h.markOversized();
        const QMap<QString, QByteArray> before = treeContents(h.folder());
        for (int i = 0; i < 3; ++i)
            h.dialogs.answer("Ok");
        h.run();

        const QMap<QString, QString> located = checkInventory(before, h.folder());
        QVERIFY(!located.isEmpty());
        QStringList bGroups = h.groups();
        bGroups.erase(std::remove_if(bGroups.begin(), bGroups.end(), [&](const QString &g) { return h.filesIn(g) == 0; }),
                      bGroups.end());
        QCOMPARE(bGroups.size(), 2);
        int total = 0;
        for (const QString &g : bGroups) {
            QVERIFY(g.startsWith('B'));
            total += h.filesIn(g);
        }
        QCOMPARE(total, 1200);
        QVERIFY2(h.filesIn(bGroups[0]) == 999 || h.filesIn(bGroups[1]) == 999, "a full group holds 999 files");
        for (int i = 0; i < 400; ++i) {
            const QString base = QStringLiteral("b%1").arg(i, 3, 10, QLatin1Char('0'));
            const QString song = base + (i % 4 ? ".mp3" : ".mid");
            const QString group = located.value(song).section('/', 0, 0);
            QVERIFY2(located.value(song).contains('/'), qPrintable(song));
            if (i % 4) {
                QCOMPARE(located.value(base + ".CDG"), group + "/" + base + ".CDG");
                QCOMPARE(located.value(song + ".bak"), group + "/" + song + ".bak");
            } else {
                QCOMPARE(located.value(base + ".cdg"), base + ".cdg");
                QCOMPARE(located.value(song + ".bak"), group + "/" + song + ".bak");
                QCOMPARE(located.value(song + ".dat"), group + "/" + song + ".dat");
            }
        }
        QCOMPARE(located.value("readme.txt"), QStringLiteral("readme.txt"));
        checkGroups(h);
    }

    // Digits, blanks, punctuation and untitled songs whose names start so go to "0-9", then to
    // "0-9 (2)". A second split makes "a (1)" ... "0-9 (1)" and passes over the old "0-9 (2)".
    void digitsOverflowAndSecondSplit()
    {
        SplitHarness h;
        const auto addDigitSongs = [&](const QString &tag, int count) {
            for (int i = 0; i < count; ++i) {
                const QString name = QStringLiteral("Songs/%1%2").arg(tag).arg(i, 4, 10, QLatin1Char('0'));
                switch (i % 4) {
                case 0: h.drive.writeMp3(name + ".mp3", QStringLiteral("%1 Gold").arg(i), 0); break;
                case 1: h.drive.writeMidi(name + ".mid", QStringLiteral(" spaced %1").arg(i)); break;
                case 2: h.drive.writeMidi(name + ".kar", QStringLiteral("¡Olé! %1").arg(i)); break;
                default: h.drive.writeFile(QStringLiteral("Songs/_%1%2.mid").arg(tag).arg(i), "no title inside"); break;
                }
            }
        };
        addDigitSongs("one", 1001);
        h.drive.writeMidi("Songs/apple.mid", "Apple");
        h.markOversized();
        for (int i = 0; i < 3; ++i)
            h.dialogs.answer("Ok");
        h.run();
        QCOMPARE(h.filesIn("0-9"), 1000);
        QCOMPARE(h.filesIn("0-9 (2)"), 1);
        QCOMPARE(h.filesIn("a"), 1);
        QCOMPARE(h.state.digitsOverflowNumber, 1);

        addDigitSongs("two", 1001);
        h.drive.writeMidi("Songs/avocado.mid", "Avocado");
        const QMap<QString, QByteArray> before = treeContents(h.folder());
        for (int i = 0; i < 3; ++i)
            h.dialogs.answer("Ok");
        h.run();
        QVERIFY(!checkInventory(before, h.folder()).isEmpty());
        QStringList expected = SplitState::baseGroupNames();
        for (const QString &g : SplitState::baseGroupNames())
            expected << g + " (1)";
        expected << "0-9 (2)" << "0-9 (3)";
        std::sort(expected.begin(), expected.end());
        QCOMPARE(h.groups(), expected);
        QCOMPARE(h.filesIn("0-9 (1)"), 1000);
        QCOMPARE(h.filesIn("0-9 (2)"), 1);
        QCOMPARE(h.filesIn("0-9 (3)"), 1);
        QVERIFY(QFileInfo::exists(h.folder() + "/a (1)/avocado.mid"));
        QVERIFY(QFileInfo::exists(h.folder() + "/a/apple.mid"));
        QCOMPARE(h.defrags, 2);
        QVERIFY(h.dialogs.failures.isEmpty());
    }

    void initials_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("group");
        QTest::newRow("plain upper case") << "Zorro" << "z";
        QTest::newRow("acute upper case") << "Été" << "e";
        QTest::newRow("acute lower case") << "éclair" << "e";
        QTest::newRow("umlaut") << "Öl" << "o";
        QTest::newRow("cedilla") << "Ça va" << "c";
        QTest::newRow("sharp s") << "ßpiel" << "s";
        QTest::newRow("ash") << "Æon" << "a";
        QTest::newRow("slashed o") << "Ørsted" << "o";
        QTest::newRow("ligature fi") << "ﬁne" << "f";
        QTest::newRow("fullwidth A") << "Ａkira" << "a";
        QTest::newRow("Greek") << "Ωmega" << "0-9";
        QTest::newRow("Cyrillic") << "Яблоко" << "0-9";
        QTest::newRow("CJK") << "東京" << "0-9";
        QTest::newRow("outside the BMP") << "𝄞 clef" << "0-9";
        QTest::newRow("Arabic-Indic digit") << "٣ ثلاثة" << "0-9";
        QTest::newRow("empty title") << "" << "0-9";
    }
    void initials()
    {
        QFETCH(QString, title);
        QFETCH(QString, group);
        SplitHarness h;
        h.drive.writeMidi("Songs/song.mid", title);
        h.markOversized();
        for (int i = 0; i < 3; ++i)
            h.dialogs.answer("Ok");
        h.run();
        QVERIFY(QFileInfo::exists(h.folder() + "/" + group + "/song.mid"));
        QVERIFY(h.dialogs.failures.isEmpty());
    }

    void safeTitles_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ordinary") << "Abba Gold" << "Abba Gold";
        QTest::newRow("parent folder") << "../x" << ".._x";
        QTest::newRow("dot dot alone") << ".." << "_";
        QTest::newRow("slash") << "a/b" << "a_b";
        QTest::newRow("backslash and drive") << "C:\\x" << "C__x";
        QTest::newRow("wildcards and quotes") << "a*b?c\"d<e>f|g" << "a_b_c_d_e_f_g";
        QTest::newRow("control characters") << "a\tb\x01" "c" << "a_b_c";
        QTest::newRow("trailing dots and blanks") << "  Hey Jude. . " << "Hey Jude";
        QTest::newRow("empty") << "" << "_";
        QTest::newRow("reserved device") << "CON" << "CON_";
        QTest::newRow("reserved in other case with extension") << "lpt1.txt" << "lpt1_.txt";
        QTest::newRow("reserved with blanks") << "nul .x" << "nul _.x";
        QTest::newRow("not reserved") << "CONCERT" << "CONCERT";
        QTest::newRow("COM10 is allowed") << "COM10" << "COM10";
        QTest::newRow("300 characters") << QString(300, 'x') << QString(100, 'x');
        QTest::newRow("no half surrogate pair")
            << QString(99, 'x') + QString::fromUtf8("𝄞") + "tail" << QString(99, 'x');
    }
    void safeTitles()
    {
        QFETCH(QString, title);
        QFETCH(QString, expected);
        QCOMPARE(FolderSplit::safeTitle(title), expected);
    }

    // Titles that would escape the folder or break a FAT name end up as harmless names inside it.
    void hostileTitlesNameGroupsSafely()
    {
        SplitHarness h;
        h.drive.addSystemFiles();
        const QStringList hostile{"CON", "c/../../escaped", "c:\\windows", "c" + QString(300, 'z'), "c.", "Ca*?<>|"};
        for (int i = 0; i < 1001; ++i)
            h.drive.writeMidi(QStringLiteral("Songs/s%1.mid").arg(i, 4, 10, QLatin1Char('0')),
                              i < hostile.size() * 150 ? hostile.at(i % hostile.size()) + QString::number(i / 1000)
                                                       : QStringLiteral("Cello %1").arg(i));
        h.markOversized();
        const QMap<QString, QByteArray> before = treeContents(h.folder());
        const QStringList rootBefore = QDir(h.drive.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (int i = 0; i < 3; ++i)
            h.dialogs.answer("Ok");
        h.run();
        QVERIFY(!checkInventory(before, h.folder()).isEmpty());
        QCOMPARE(QDir(h.drive.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), rootBefore);
        QCOMPARE(h.groups().size(), 28);
        checkGroups(h);
        QVERIFY(!h.groups().contains("c"));
        QVERIFY(h.groups().contains("CON0 - c" + QString(99, 'z')));
    }

    void stopSetBeforeTheSplit()
    {
        SplitHarness h;
        h.drive.writeMidi("Songs/x.mid", "Xylo");
        h.drive.addPlaylist("P.pls", {"\\sdmemory\\Songs\\x.mid^1^1"});
        h.markOversized();
        h.opState.stopRequested = true;
        const QMap<QString, QByteArray> before = treeContents(h.drive.root());
        h.dialogs.answer("Ok");
        h.run();
        QCOMPARE(h.dialogs.titles(), QStringList({"Folders with too many files found"}));
        QCOMPARE(treeContents(h.drive.root()), before);
        QVERIFY(h.groups().isEmpty());
        QCOMPARE(h.defrags, 0);
        QVERIFY(!h.opState.stopRequested);
        QVERIFY(h.dialogs.failures.isEmpty());
    }

    // Stop between songs (set here by the progress the split reports): the song in hand is
    // finished, the rest stays, no closing boxes, the flag is cleared.
    void stopBetweenSongs()
    {
        struct StoppingProgress : RecordingProgress {
            bool *stop = nullptr;
            void setValue(int v) override
            {
                RecordingProgress::setValue(v);
                if (v == 1)
                    *stop = true;
            }
        };
        SplitHarness h;
        StoppingProgress progress;
        progress.stop = &h.opState.stopRequested;
        OperationContext ctx{h.opState, h.dialogs, progress, nullptr, {}};
        h.drive.writeMidi("Songs/x.mid", "Xylo");
        h.drive.writeMidi("Songs/y.mid", "Yak");
        h.drive.writeMidi("More/z.mid", "Zebra");
        h.markOversized();
        h.scan.oversizedFolders << QFileInfo(h.drive.path("More"));
        h.dialogs.answer("Ok");
        FolderSplit split(ctx, h.scan, h.titles, h.state);
        split.defragment = [&] { ++h.defrags; };
        split.splitFoldersByTitle();
        QCOMPARE(QFileInfo::exists(h.folder() + "/x/x.mid") + QFileInfo::exists(h.folder() + "/y/y.mid"), 1);
        QCOMPARE(QFileInfo::exists(h.folder() + "/x.mid") + QFileInfo::exists(h.folder() + "/y.mid"), 1);
        QVERIFY(QFileInfo::exists(h.drive.path("More/z.mid")));
        QVERIFY(!QFileInfo::exists(h.drive.path("More/z")));
        QCOMPARE(h.dialogs.prompts.size(), 1);
        QCOMPARE(h.defrags, 0);
        QVERIFY(!h.opState.stopRequested);
        QCOMPARE(h.state.groupFolders, SplitState::baseGroupNames());
    }
};

QTEST_GUILESS_MAIN(TestSplit)
#include "tst_split.moc"
