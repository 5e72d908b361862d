// The optimise run end to end on a player drive: each row is run dry first (nothing may change,
// and the actions it lists must be exactly those the real run then takes), then for real, with an
// inventory before and after: every song and companion with its bytes, every playlist line
// resolving to the same bytes, the player's own entries unchanged.
#include <QCryptographicHash>
#include <QtTest>
#include <sys/wait.h>
#include <unistd.h>

#include "device/platform.h"
#include "optimise/foldersplit.h"
#include "optimise/libraryscan.h"
#include "optimise/optimiserun.h"
#include "optimise/splitjournal.h"
#include "tests/common/drivefixture.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"
#include "device/devicedrive.h"

namespace {

struct Inventory {
    QStringList songs;                  // hashes of every song and companion, sorted
    QStringList lines;                  // playlist, line number and the bytes the line names
    QMap<QString, QByteArray> own;      // the player's own entries, the playlists aside

    static Inventory take(const QString &root)
    {
        Inventory inv;
        const QMap<QString, QByteArray> tree = treeContents(root);
        QHash<QString, QByteArray> byLowerPath;
        LibraryScanState rules;
        scanrules::fillExtensionLists(rules);
        const QStringList companions{".cdg", ".bak", ".dat"};
        for (auto it = tree.cbegin(); it != tree.cend(); ++it) {
            byLowerPath.insert(it.key().toLower(), it.value());
            if (scanrules::isPlayerOwnName(it.key().section('/', 0, 0))) {
                if (!it.key().startsWith("System/Playlist/", Qt::CaseInsensitive))
                    inv.own.insert(it.key(), it.value());
            } else if (scanrules::endsWithAny(it.key(), rules.songExtensions + companions)) {
                inv.songs << hash(it.value());
            }
        }
        inv.songs.sort();
        for (auto it = tree.cbegin(); it != tree.cend(); ++it) {
            if (!it.key().startsWith("System/Playlist/", Qt::CaseInsensitive))
                continue;
            const QList<QByteArray> lines = it.value().split('\n');
            for (int i = 0; i < lines.size(); ++i) {
                QString path = QString::fromUtf8(lines.at(i)).section('^', 0, 0).trimmed().replace('\\', '/');
                if (!path.startsWith("/sdmemory/", Qt::CaseInsensitive))
                    continue;
                path = path.mid(10).toLower();
                inv.lines << QStringLiteral("%1:%2 %3").arg(it.key()).arg(i).arg(
                    byLowerPath.contains(path) ? hash(byLowerPath.value(path)) : "missing " + path);
            }
        }
        return inv;
    }
    static QString hash(const QByteArray &bytes)
    {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(12);
    }
};

struct Run {
    OperationState op;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    OperationContext ctx{op, dialogs, progress, nullptr, [] { return findDeviceDrive(); }};
    OptimiseState state;
    QStringList actions;

    Run(const QString &root, bool dryRun)
    {
        op.currentLanguage = 1;
        ctx.dryRun = dryRun;
        ctx.onFileAction = [this, root](const QString &action, const QString &path, const QString &target, bool ok) {
            actions << action + ' ' + QString(path).remove(root) + (target.isEmpty() ? "" : " -> " + QString(target).remove(root))
                           + (ok ? "" : " FAILED");
        };
        for (int i = 0; i < 12; ++i)
            dialogs.answer("Ok");
    }
    bool run(OptimiseSteps steps = {true, true, true, false}) { return optimise::run(ctx, state, steps); }
    QStringList texts() const
    {
        QStringList out;
        for (const auto &prompt : dialogs.prompts)
            out << prompt.text;
        return out;
    }
};

void writeSongs(DriveFixture &drive, const QString &folder, int count, const QString &titlePrefix)
{
    for (int i = 0; i < count; ++i)
        drive.writeMidi(folder + QStringLiteral("s%1.mid").arg(i, 4, 10, QLatin1Char('0')),
                        titlePrefix + QString::number(i));
}

enum Setup { OwnEntries, RootSplit, LongName, NoImagesFolder };

// False when the disk keeps no DOS attributes, so that marked entries were plain ones.
bool build(DriveFixture &drive, Setup setup)
{
    bool marked = true;
    drive.addSystemFiles();
    switch (setup) {
    case OwnEntries:
        // An update's folder is left unmarked; the system is marked where the disk allows it.
        marked = platform::setHiddenSystem(drive.path("System")) && platform::setHiddenSystem(drive.path("AUTOEXEC.BAT"));
        for (const char *name : {"CorvelUpdate/System/readme", "CorvelUpdate/logo.jpg", "BRIDGES/b.jpg",
                                 "EFFECTS/fx.wav", "System/skin.png", "Songs/junk.exe", ".hidden.exe",
                                 "Songs/.trash.jpg", "Songs/marked.exe", "Secret/junk.exe"})
            drive.writeFile(name, name);
        // Hidden entries of the user's are passed over too, where the disk keeps the marks.
        platform::setHiddenSystem(drive.path("Songs/marked.exe"));
        platform::setHiddenSystem(drive.path("Secret"));
        writeSongs(drive, "EFFECTS/", 1001, "Fx ");
        drive.writeMidi("Songs/one.mid", "One");
        drive.addPlaylist("Fx.pls", {"\\sdmemory\\EFFECTS\\s0007.mid^1", "\\sdmemory\\Songs\\one.mid^2"});
        break;
    case RootSplit: {
        // The drive root holds more songs than a group takes, all under "a": "a" fills, gets its
        // range of titles as its name, and a successor takes the rest. Songs of the same names
        // elsewhere, a folder named like a group, and x.midi beside x.mid must keep their lines.
        writeSongs(drive, "", 1050, "Amore ");
        drive.writeMidi("x.mid", "Amore x");
        drive.writeMidi("x.midi", "Amore xi");
        drive.writeMidi("Rock/x.mid", "Rock x");
        drive.writeMidi("Rock/a/y.mid", "Rock y");
        drive.writeMidi("Other/x.midi", "Other xi");
        QStringList lines{"\\sdmemory\\x.mid^5^9", "\\sdmemory\\Rock\\x.mid^1", "\\sdmemory\\Rock\\a\\y.mid^2",
                          "\\sdmemory\\Other\\x.midi^3", "\\SDMEMORY\\X.MIDI^4"};
        for (int i = 0; i < 1050; i += 7)
            lines << QStringLiteral("\\sdmemory\\S%1.MID^%2").arg(i, 4, 10, QLatin1Char('0')).arg(i);
        drive.addPlaylist("Mix.pls", lines);
        break;
    }
    case LongName:
        drive.writeMidi("Songs/" + QString(191, 'l') + ".mid", "Long");
        drive.writeFile("Songs/" + QString(191, 'l') + ".mid.bak", "its backup");
        drive.addPlaylist("Long.pls", {"\\sdmemory\\Songs\\" + QString(191, 'L') + ".mid^1^2"});
        break;
    case NoImagesFolder:
        drive.writeFile("Songs/pic.jpg", "one");
        drive.writeFile("Other/pic.jpg", "two");
        drive.writeFile("cover.png", "three");
        break;
    }
    return marked;
}

} // namespace

class TestOptimise : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void dryRunThenRealRunKeepEverything_data()
    {
        QTest::addColumn<int>("setup");
        QTest::addColumn<QStringList>("presentAfter");
        QTest::addColumn<QStringList>("goneAfter");
        QTest::newRow("the player's own entries stay, a pending update's unmarked folder included")
            << int(OwnEntries) << QStringList{"EFFECTS/s1000.mid", "CorvelUpdate/System/readme", ".hidden.exe",
                                              "Songs/.trash.jpg", "Songs/marked.exe", "Secret/junk.exe"}
            << QStringList{"Songs/junk.exe"};
        QTest::newRow("splitting the drive root renames its full group and only its songs' lines follow")
            << int(RootSplit) << QStringList{"Rock/x.mid", "Rock/a/y.mid", "Other/x.midi"}
            << QStringList{"x.mid", "x.midi", "a"};
        QTest::newRow("a shortened long name keeps its lines and its companion")
            << int(LongName) << QStringList{"Songs/" + QString(170, 'l') + ".mid", "Songs/" + QString(170, 'l') + ".mid.bak"}
            << QStringList{};
        QTest::newRow("a drive without Images gets one, clashing names numbered")
            << int(NoImagesFolder) << QStringList{"Images/pic.jpg", "Images/pic_1.jpg", "Images/cover.png"}
            << QStringList{"Songs/pic.jpg", "cover.png"};
    }
    void dryRunThenRealRunKeepEverything()
    {
        QFETCH(int, setup);
        QFETCH(QStringList, presentAfter);
        QFETCH(QStringList, goneAfter);
        DriveFixture drive;
        const bool marked = build(drive, Setup(setup));
        if (!marked)   // then they are plain files, and junk
            presentAfter = presentAfter.filter(QRegularExpression("^(?!Songs/marked|Secret/)"));
        const QMap<QString, QByteArray> untouched = treeContents(drive.root());
        const Inventory before = Inventory::take(drive.root());

        Run dry(drive.root(), true);
        QVERIFY(dry.run());
        QCOMPARE(treeContents(drive.root()), untouched);
        QVERIFY(!QFile::exists(SplitJournal::pathFor(drive.root())));

        Run real(drive.root(), false);
        QVERIFY(real.run());
        QCOMPARE(real.actions, dry.actions);
        QVERIFY(!real.actions.join('\n').contains("FAILED"));
        QVERIFY2(real.dialogs.failures.isEmpty(), qPrintable(real.dialogs.failures.join('\n')));
        const Inventory after = Inventory::take(drive.root());
        QCOMPARE(after.songs, before.songs);
        QCOMPARE(after.lines, before.lines);
        QCOMPARE(after.own, before.own);
        for (const QString &path : presentAfter)
            QVERIFY2(QFileInfo::exists(drive.path(path)), qPrintable(path));
        for (const QString &path : goneAfter)
            QVERIFY2(!QFileInfo::exists(drive.path(path)), qPrintable(path));
        QVERIFY(!QFile::exists(SplitJournal::pathFor(drive.root())));
        QVERIFY(!real.texts().join('\n').contains("could not"));
        if (!marked)
            QSKIP("this disk keeps no DOS attributes: the marked entries were checked as plain ones");
    }

    // The process dies in the middle of its second batch: the songs moved since the last mark
    // are in their groups while the playlists still name the old places. The next run completes
    // the playlists before anything else, and says so.
    void crashMidSplitIsCompletedByTheNextRun()
    {
        DriveFixture drive;
        build(drive, RootSplit);
        const Inventory before = Inventory::take(drive.root());
        const pid_t child = fork();
        if (child == 0) {
            Run run(drive.root(), false);
            LibraryScanner(run.ctx, run.state.scan).scanLibrary();
            FolderSplit split(run.ctx, run.state.scan, run.state.titles, run.state.split);
            split.afterSongMoved = [](int moved) {
                if (moved == FolderSplit::batchSize + 20)
                    ::_exit(0);
            };
            split.splitFoldersByTitle();
            ::_exit(1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(Inventory::take(drive.root()).lines != before.lines);
        QVERIFY(QFile::exists(SplitJournal::pathFor(drive.root())));

        Run next(drive.root(), false);
        QVERIFY(next.run(OptimiseSteps{}));
        QVERIFY2(next.texts().value(0).startsWith("A split of the songs had been interrupted"), qPrintable(next.texts().value(0)));
        QCOMPARE(Inventory::take(drive.root()).lines, before.lines);
        QVERIFY(!QFile::exists(SplitJournal::pathFor(drive.root())));
    }
};

QTEST_GUILESS_MAIN(TestOptimise)
#include "tst_optimise.moc"
