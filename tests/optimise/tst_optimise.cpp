// The optimise engine on throw-away player drives, whole runs checked by an inventory before and after.
#include <QtTest>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fiu-control.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "optimise/defrag.h"
#include "optimise/foldersplit.h"
#include "optimise/optimiserun.h"
#include "tests/common/drivefixture.h"
#include "tests/transfer/transfertesting.h"   // runTool, mountDiskImage

namespace {

QString hash(const QByteArray &bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(12); }

// The player's own entries (playlists aside) and every playlist line with the bytes they name, then every song's, sorted.
QStringList inventory(const QString &root)
{
    const QMap<QString, QByteArray> tree = treeContents(root);
    QHash<QString, QByteArray> byLowerPath;
    for (auto it = tree.cbegin(); it != tree.cend(); ++it)
        byLowerPath.insert(it.key().toLower(), it.value());
    const QRegularExpression own("^(AUTOEXEC\\.BAT|System|CorvelUpdate|BRIDGES|EFFECTS)(/|$)", QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression song("\\.(mp3|midi?|kar|mf[345]|cdg|bak|dat)$", QRegularExpression::CaseInsensitiveOption);
    QStringList inv, songs;
    for (auto it = tree.cbegin(); it != tree.cend(); ++it) {
        const bool playlist = it.key().startsWith("System/Playlist/", Qt::CaseInsensitive);
        if (!playlist && own.match(it.key()).hasMatch())
            inv << it.key() + ' ' + hash(it.value());
        else if (!playlist && song.match(it.key()).hasMatch())
            songs << hash(it.value());
        for (const QByteArray &line : playlist ? it.value().split('\n') : QList<QByteArray>()) {
            const QString path = QString::fromUtf8(line).section('^', 0, 0).trimmed().replace('\\', '/').toLower();
            if (path.startsWith("/sdmemory/"))
                inv << it.key() + ' ' + (byLowerPath.contains(path.mid(10)) ? hash(byLowerPath.value(path.mid(10))) : "missing " + path);
        }
    }
    songs.sort();
    return inv << songs;
}

// Where each file of folder went, by its path before; empty unless every file is found once, intact, at most a group deep.
QMap<QString, QString> located(const QMap<QString, QByteArray> &before, const QString &folder)
{
    const QMap<QString, QByteArray> after = treeContents(folder);
    QMap<QString, QString> where;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const QString from = before.contains(it.key()) ? it.key() : it.key().section('/', -1);
        if (before.value(from) != it.value() || !before.contains(from) || it.key().count('/') > 1 || where.contains(from))
            return {};
        where.insert(from, it.key());
    }
    return where.size() == before.size() ? where : QMap<QString, QString>();
}

// One engine run's context, in English: "Ok" answered as often as asked for, file actions recorded below root.
struct Run {
    OperationState op;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    OperationContext ctx{op, dialogs, progress, nullptr, findDeviceDrive()};
    OptimiseState state;
    QStringList actions;

    explicit Run(int oks, const QString &root = {}, bool dryRun = false, int language = 1)
    {
        ctx.dryRun = dryRun;
        op.currentLanguage = language;
        ctx.onFileAction = [this, root](const QString &action, QString path, QString target, bool ok) {
            actions << action + ' ' + path.remove(root) + (target.isEmpty() ? "" : " -> " + target.remove(root)) + (ok ? "" : " FAILED");
        };
        while (oks-- > 0)
            dialogs.answer("Ok");
    }
    QStringList texts() const { QStringList out; for (const auto &prompt : dialogs.prompts) out << prompt.text; return out; }
    int defrags = 0;
    // The split of folder, as though the scan had found it oversized; where its files went.
    QMap<QString, QString> splitFolder(const QString &root, const QString &folder)
    {
        const QMap<QString, QByteArray> before = treeContents(folder);
        state.scan.libraryDevicePath = root;
        state.scan.songExtensions = SongTitleReader::standardSongExtensions();
        state.scan.oversizedFolders = {QFileInfo(folder)};
        state.scan.oversizedFoldersText = folder + "\n";
        FolderSplit split(ctx, state.scan, state.titles, state.split);
        split.defragment = [this] { ++defrags; };
        split.splitFoldersByTitle();
        return located(before, folder);
    }
};

QString numbered(const QString &pattern, int i) { return pattern.arg(i, 4, 10, QLatin1Char('0')); }

void writeSongs(DriveFixture &drive, const QString &folder, int count, const QString &titlePrefix)
{ for (int i = 0; i < count; ++i) drive.writeMidi(folder + numbered("s%1.mid", i), titlePrefix + QString::number(i)); }

enum Setup { OwnEntries, RootSplit, Scanned, NoImagesFolder };

// False when the disk keeps no DOS attributes, so that marked entries were plain ones.
bool build(DriveFixture &drive, Setup setup)
{
    bool marked = true;
    drive.addSystemFiles();
    QStringList files;
    if (setup == OwnEntries) {
        // An update's folder is left unmarked; the system and hidden entries of the user's are marked where the disk can.
        files = QStringList{"CorvelUpdate/System/readme", "CorvelUpdate/logo.jpg", "BRIDGES/b.jpg", "EFFECTS/fx.wav",
                            "System/skin.png", "Songs/junk.exe", ".hidden.exe", "Songs/.trash.jpg", "Songs/marked.exe",
                            "Secret/junk.exe", "Songs/v-orladev.log", "Songs/a.mp3.bak", "Songs/b.Kar", "Songs/c.MIDI",
                            "Songs/x-v-orladev.log", "Songs/readme"};
        writeSongs(drive, "EFFECTS/", 1001, "Fx ");
        drive.writeMidi("Songs/one.mid", "One");
        drive.addPlaylist("Fx.pls", {"\\sdmemory\\EFFECTS\\s0007.mid^1", "\\sdmemory\\Songs\\one.mid^2"});
    } else if (setup == RootSplit) {
        // The root's songs overfill "a"; same names elsewhere, a folder named like a group, x.midi beside x.mid keep their lines.
        writeSongs(drive, "", 1050, "Amore ");
        for (const auto &song : QVector<QStringList>{{"x.mid", "Amore x"}, {"x.midi", "Amore xi"}, {"Rock/x.mid", "Rock x"},
                                                     {"Rock/a/y.mid", "Rock y"}, {"Other/x.midi", "Other xi"}})
            drive.writeMidi(song[0], song[1]);
        QStringList lines{"\\sdmemory\\x.mid^5^9", "\\sdmemory\\Rock\\x.mid^1", "\\sdmemory\\Rock\\a\\y.mid^2",
                          "\\sdmemory\\Other\\x.midi^3", "\\SDMEMORY\\X.MIDI^4"};
        for (int i = 0; i < 1050; i += 7)
            lines << numbered("\\sdmemory\\S%1.MID^", i) + QString::number(i);
        drive.addPlaylist("Mix.pls", lines);
    } else if (setup == Scanned) {
        // A link is never entered (its files would be handled twice); long names shortened beside a taken short name.
        files = QStringList{"root.jpg", "junk.exe", "Songs/a.mp3", "Songs/cover.png", "Songs/notes.doc", "IMAGES/keep.jpg",
                            "IMAGES/Old/old.bmp", "Long/" + QString(191, 'a') + ".v2.mp3", "Long/" + QString(170, 'a') + ".v2.mp3",
                            "Songs/" + QString(191, 'l') + ".mid.bak"};
        QFile::link(drive.path("Songs"), drive.path("Link"));
        drive.writeMidi("Songs/" + QString(191, 'l') + ".mid", "Long");
        drive.addPlaylist("Long.pls", {"\\sdmemory\\Songs\\" + QString(191, 'L') + ".mid^1^2"});
    } else {
        files = QStringList{"Songs/pic.jpg", "Other/pic.jpg", "cover.png"};
    }
    for (const QString &name : files)
        drive.writeFile(name, name.toUtf8());
    if (setup == OwnEntries)
        for (const char *name : {"System", "AUTOEXEC.BAT", "Songs/marked.exe", "Secret"})
            marked = platform::setHiddenSystem(drive.path(name)) && marked;
    return marked;
}

// Group "a" fills mid third batch; two playlists name every seventh song and one whose name the scan shortens.
void buildInterruptible(DriveFixture &drive)
{
    drive.addSystemFiles();
    QStringList lines[2];
    for (int i = 0; i < 1260; ++i) {
        drive.writeMidi(numbered("Songs/s%1.mid", i), (i % 6 ? "Amore " : "Blues ") + QString::number(i));
        if (i % 7 == 0)
            lines[i / 7 % 2] << numbered("\\sdmemory\\Songs\\s%1.mid^", i) + QString::number(i);
    }
    drive.writeMidi("Songs/" + QString(191, 'l') + ".mid", "Long");
    lines[0] << "\\sdmemory\\Songs\\" + QString(191, 'l') + ".mid^1";
    for (int i : {0, 1})
        drive.addPlaylist(QString("Lista %1.pls").arg(i), lines[i]);
}

const OptimiseSteps splitOnly{false, false, true, false};
enum Cut { KilledMidBatch, KilledRenamingAPlaylist, KilledRenamingAPlaylistAfterAGroup, PlayerGoesAway, EarlierVersionKilled };

// Set in a child: it dies, as at a power cut, on the rename that puts the n-th rewritten playlist in place.
std::atomic<int> playlistRenamesToDeath{0};

QStringList groups(const QString &folder) { return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name); }
int filesIn(const QString &folder) { return QDir(folder).entryList(QDir::Files).size(); }

} // namespace

// Every rename of the process passes here (the tool's playlists are renamed through the C library's rename).
extern "C" int rename(const char *from, const char *to) noexcept
{
    if (playlistRenamesToDeath > 0 && std::strstr(to, "/System/Playlist/") && --playlistRenamesToDeath == 0)
        ::raise(SIGKILL);
    return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}

class TestOptimise : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void dryRunThenRealRunKeepEverything_data()
    {
        QTest::addColumn<int>("setup");
        QTest::addColumn<QStringList>("after");   // paths there after the run; "-" marks those gone
        QTest::newRow("the player's own entries, hidden ones and kept files stay; junk goes") << int(OwnEntries)
            << QStringList{"EFFECTS/s1000.mid", "CorvelUpdate/System/readme", ".hidden.exe", "Songs/.trash.jpg", "Songs/v-orladev.log",
                           "Songs/a.mp3.bak", "Songs/b.Kar", "Songs/c.MIDI", "Songs/marked.exe", "Secret/junk.exe", "-Songs/junk.exe",
                           "-Songs/x-v-orladev.log", "-Songs/readme"};
        QTest::newRow("splitting the drive root renames its full group and only its songs' lines follow") << int(RootSplit)
            << QStringList{"Rock/x.mid", "Rock/a/y.mid", "Other/x.midi", "-x.mid", "-x.midi", "-a"};
        QTest::newRow("the scan gathers images below Images in any case, deletes junk and shortens long names") << int(Scanned)
            << QStringList{"IMAGES/keep.jpg", "IMAGES/old.bmp", "IMAGES/cover.png", "IMAGES/root.jpg", "Songs/a.mp3", "-junk.exe",
                           "-Songs/notes.doc", "-IMAGES/Old/old.bmp", "Long/" + QString(170, 'a') + " (1).v2.mp3",
                           "-Long/" + QString(191, 'a') + ".v2.mp3", "Songs/" + QString(170, 'l') + ".mid", "Songs/" + QString(170, 'l') + ".mid.bak"};
        QTest::newRow("a drive without Images gets one, clashing names numbered") << int(NoImagesFolder)
            << QStringList{"Images/pic.jpg", "Images/pic_1.jpg", "Images/cover.png", "-Songs/pic.jpg", "-cover.png"};
    }
    void dryRunThenRealRunKeepEverything()
    {
        QFETCH(int, setup);
        QFETCH(QStringList, after);
        DriveFixture drive;
        const bool marked = build(drive, Setup(setup));
        if (!marked)   // then they are plain files, and junk
            after = after.filter(QRegularExpression("^(?!Songs/marked|Secret/)"));
        const QMap<QString, QByteArray> untouched = treeContents(drive.root());
        const QStringList before = inventory(drive.root());
        Run dry(12, drive.root(), true), real(12, drive.root());
        QVERIFY(optimise::run(dry.ctx, dry.state, {true, true, true, false}).ok());
        QCOMPARE(treeContents(drive.root()), untouched);   // no journal either
        QVERIFY(optimise::run(real.ctx, real.state, {true, true, true, false}).ok());
        QCOMPARE(real.actions, dry.actions);
        QVERIFY(!real.actions.join('\n').contains("FAILED") && !real.texts().join('\n').contains("could not"));
        QCOMPARE(real.dialogs.failures, QStringList());
        QCOMPARE(inventory(drive.root()), before);
        for (const QString &path : after)
            QVERIFY2(QFileInfo::exists(drive.path(path.mid(path.startsWith('-')))) != path.startsWith('-'), qPrintable(path));
        QVERIFY(!QFile::exists(SplitJournal::pathFor(drive.root())));
        if (!marked)
            QSKIP("this disk keeps no DOS attributes: the marked entries were checked as plain ones");
    }

    // A split cut short (maybe a rewritten playlist's copy left) is completed by the next run from another account, and said.
    void anInterruptedSplitIsCompletedFromAnotherAccount_data()
    {
        QTest::addColumn<int>("cut");
        QTest::newRow("killed mid-batch") << int(KilledMidBatch);
        QTest::newRow("killed renaming the first batch's first playlist") << int(KilledRenamingAPlaylist);
        QTest::newRow("killed renaming a playlist after a full group's rename") << int(KilledRenamingAPlaylistAfterAGroup);
        QTest::newRow("the player goes away mid-batch") << int(PlayerGoesAway);
        QTest::newRow("killed mid-batch by an earlier version, its journal in the user's data folder") << int(EarlierVersionKilled);
    }
    void anInterruptedSplitIsCompletedFromAnotherAccount()
    {
        QFETCH(int, cut);
        const bool strayCopy = cut == KilledRenamingAPlaylist || cut == KilledRenamingAPlaylistAfterAGroup;
        DriveFixture drive;
        buildInterruptible(drive);
        const QStringList before = inventory(drive.root());
        const QString away = drive.dir.path() + ".away";
        if (cut == PlayerGoesAway) {
            Run run(12, drive.root());
            run.progress.onValue = [&](int value) { if (value == 520) QDir().rename(drive.dir.path(), away); };
            const Outcome outcome = optimise::run(run.ctx, run.state, splitOnly);
            QVERIFY(QDir().rename(away, drive.dir.path()));
            QVERIFY(outcome.status == Outcome::Status::PlayerNotFound && outcome.failed > 0 && !run.texts().join('\n').contains("success"));
        } else {
            const pid_t child = fork();
            if (child == 0) {
                Run run(12, drive.root());
                run.progress.onValue = [cut](int value) {
                    if (value == 520 && (cut == KilledMidBatch || cut == EarlierVersionKilled))
                        ::raise(SIGKILL);
                    if (value == FolderSplit::batchSize && cut == KilledRenamingAPlaylist)
                        playlistRenamesToDeath = 1;
                };
                run.ctx.onFileAction = [cut](const QString &action, const QString &path, const QString &, bool) {
                    if (cut == KilledRenamingAPlaylistAfterAGroup && action == "rename" && path.endsWith("/Songs/a"))
                        playlistRenamesToDeath = 1;
                };
                optimise::run(run.ctx, run.state, splitOnly);
                ::_exit(1);
            }
            int status = 0;
            QVERIFY(::waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        }
        QVERIFY(inventory(drive.root()) != before);
        QVERIFY(QFile::exists(SplitJournal::pathFor(drive.root())));
        QCOMPARE(QDir(drive.path("System/Playlist")).entryList({"*.corvel3-new"}, QDir::Files).size(), int(strayCopy));

        const QByteArray home = qgetenv("HOME");
        const QString dataFolderJournal = SplitJournal::legacyPathFor(drive.root());
        QTemporaryDir otherAccount;
        const auto back = qScopeGuard([&] { qputenv("HOME", home); });
        if (cut == EarlierVersionKilled) {
            // The journal as an earlier version wrote it: a root line, absolute paths.
            QFile player(SplitJournal::pathFor(drive.root()));
            QVERIFY(player.open(QIODevice::ReadOnly));
            const QByteArray root = QUrl::toPercentEncoding(drive.root(), "/ ");
            QByteArray text = "corvel3 split journal 1\nroot\t" + root + "\n";
            for (QByteArray line : player.readAll().split('\n').mid(1))
                text += line.count('\t') == 2 ? line.replace('\t', "\t" + root) + "\n" : line + "\n";
            QVERIFY(player.remove());
            QFile legacy(SplitJournal::legacyPathFor(drive.root()));
            QVERIFY(QDir().mkpath(QFileInfo(legacy).path()) && legacy.open(QIODevice::WriteOnly) && legacy.write(text) == text.size());
        } else {
            qputenv("HOME", otherAccount.path().toUtf8());
            QVERIFY(SplitJournal::legacyPathFor(drive.root()) != dataFolderJournal);
        }

        Run rehearsal(12, drive.root(), true);   // a dry run first: it leaves the journal for the real one
        QVERIFY(optimise::run(rehearsal.ctx, rehearsal.state, OptimiseSteps{}).ok());
        QVERIFY(QFile::exists(SplitJournal::pathFor(drive.root())) || QFile::exists(SplitJournal::legacyPathFor(drive.root())));
        Run next(12, drive.root());
        QVERIFY(optimise::run(next.ctx, next.state, OptimiseSteps{}).ok());
        QVERIFY2(next.texts().value(0).startsWith("A split of the songs had been interrupted"), qPrintable(next.texts().value(0)));
        QCOMPARE(next.texts().value(0).contains("unfinished copies of playlists"), strayCopy);
        QCOMPARE(inventory(drive.root()), before);
        QVERIFY(!QFile::exists(SplitJournal::pathFor(drive.root())) && !QFile::exists(SplitJournal::legacyPathFor(drive.root())));
    }

    // A player mounted read-only would fail file after file, or seem fine with nothing to do: the run says so first.
    void aReadOnlyPlayerChangesNothingAndIsNotDone()
    {
        DriveFixture drive;
        QTemporaryDir images;
        if (::geteuid() != 0 || !mountDiskImage(images.filePath("player.img"), drive.dir.path(), "16M"))
            QSKIP("mounting a volume image needs root and a free loop device");
        const auto unmount = qScopeGuard([&] { runTool("umount", {drive.dir.path()}); });
        build(drive, Scanned);
        writeSongs(drive, "Big/", 1001, "Big ");
        QVERIFY(runTool("mount", {"-o", "remount,ro", drive.dir.path()}));
        const QMap<QString, QByteArray> untouched = treeContents(drive.root());
        Run run(12, drive.root());
        const Outcome outcome = optimise::run(run.ctx, run.state, OptimiseSteps::full());
        QVERIFY(outcome.status == Outcome::Status::Failed && outcome.told);
        QCOMPARE(run.texts(), QStringList{"The Corvel3's disk is read-only or cannot be written: no file has been changed.\n"
                                          "Check the Corvel3's connection and try again."});
        QCOMPARE(treeContents(drive.root()), untouched);
        // A dry run writes nothing, its journal neither: the read-only disk is no obstacle.
        Run rehearsal(12, drive.root(), true);
        QVERIFY(optimise::run(rehearsal.ctx, rehearsal.state, OptimiseSteps::full()).ok());
    }

    // Songs the disk refuses to move stay, their lines untouched; the split says how many, and the run is not done.
    void songsThatCannotMoveLeaveTheRunNotDone()
    {
        DriveFixture drive;
        buildInterruptible(drive);
        QStringList refused;
        for (int i = 0; i < 1260; i += 126)
            refused << drive.path(numbered("Songs/s%1.mid", i));
        if (::geteuid() != 0 || !runTool("chattr", QStringList{"+i"} + refused))
            QSKIP("marking files immutable needs root and a file system that keeps the mark");
        const auto unmark = qScopeGuard([&] { runTool("chattr", QStringList{"-i"} + refused); });
        const QStringList before = inventory(drive.root());
        Run run(12, drive.root());
        const Outcome outcome = optimise::run(run.ctx, run.state, splitOnly);
        QVERIFY(outcome.status == Outcome::Status::Failed && !outcome.told);
        QCOMPARE(outcome.failed, refused.size());
        QVERIFY2(run.texts().last().startsWith(QString("Songs moved: %1. 10 songs could not be moved").arg(1261 - 10)),
                 qPrintable(run.texts().last()));
        QCOMPARE(inventory(drive.root()), before);   // the refused songs are all in the playlists
    }

    // libfiu faults in a child with its preload: the run is done only if every line resolves; a clean rerun resolves them all.
    void faultsNeverLoseAPlaylistLine_data()
    {
        QTest::addColumn<QString>("point");
        QTest::addColumn<int>("seed");   // random faults in 2 % of opens, reads and writes; 0: one fault at the point
        QTest::newRow("a playlist cannot be opened once") << "posix/io/oc/open" << 0;
        QTest::newRow("a playlist cannot be written once") << "posix/io/rw/write" << 0;
        QTest::newRow("the playlist folder cannot be listed once") << "posix/io/dir/fdopendir" << 0;
        for (int seed = 1; seed <= 3; ++seed)
            QTest::newRow(qPrintable(QString("random faults, seed %1").arg(seed))) << QString() << seed;
    }
    void faultsNeverLoseAPlaylistLine()
    {
        QFETCH(QString, point);
        QFETCH(int, seed);
        if (!qEnvironmentVariableIsSet("CORVEL3_TEST_FAULTS")) {
            const QString preload = "/usr/lib/fiu/fiu_posix_preload.so";
            if (!QFile::exists(preload))
                QSKIP("libfiu's preload library is not installed");
            QProcess child;
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start("env", {"LD_PRELOAD=" + preload, "CORVEL3_TEST_FAULTS=1", QCoreApplication::applicationFilePath(),
                                QString("faultsNeverLoseAPlaylistLine:") + QTest::currentDataTag()});
            const QString output = child.waitForFinished(300000) ? child.readAll() : "no end";
            QVERIFY2(child.exitCode() == 0 && output.contains("PASS   : TestOptimise::faultsNeverLoseAPlaylistLine("), qPrintable(output));
            return;
        }
        DriveFixture drive;
        buildInterruptible(drive);
        const QStringList before = inventory(drive.root());
        const QStringList randomPoints{"posix/io/oc/open", "posix/io/rw/read", "posix/io/rw/write"};
        static std::mt19937 draw;
        static int faults;
        draw.seed(seed);
        faults = 0;
        Run run(12, drive.root());
        // A fixed error: one drawn at random may be EINTR, which the toolkit retries as if nothing failed.
        void *const eio = reinterpret_cast<void *>(intptr_t(EIO));
        run.progress.onValue = [&](int value) {
            if (seed == 0 && value == FolderSplit::batchSize)
                fiu_enable(qPrintable(point), 1, eio, FIU_ONETIME);
        };
        for (const QString &name : seed ? randomPoints : QStringList())
            fiu_enable_external(qPrintable(name), 1, eio, 0,
                                [](const char *, int *, void **, unsigned *) { return int(draw() % 50 == 0 && ++faults); });
        const Outcome outcome = optimise::run(run.ctx, run.state, splitOnly);
        for (const QString &name : randomPoints + QStringList{point})
            fiu_disable(qPrintable(name));

        const QString failed = point.contains("opendir") ? "rewrite System/Playlist FAILED" : "rewrite System/Playlist/Lista ";
        const QStringList failures = run.actions.filter("FAILED");
        QVERIFY2(seed ? faults > 0 : !outcome.ok() && failures.size() == 1 && failures.first().startsWith(failed),
                 qPrintable(failures.join('\n')));
        // Whatever failed was said: a box of the run's own, or the runner's count of failed actions.
        QVERIFY(outcome.ok() || outcome.failed > 0 || run.dialogs.prompts.last().icon == BoxIcon::Critical);
        QCOMPARE(inventory(drive.root()).filter(QRegularExpression("^System/Playlist/")).size(),
                 before.filter(QRegularExpression("^System/Playlist/")).size());   // no playlist lost a line
        if (outcome.ok())
            QCOMPARE(inventory(drive.root()), before);
        if (point.endsWith("/write") || point.endsWith("/open")) {
            // The same fault again while the next run finishes the interrupted rewrite: that run
            // fails too, and its journal stays for the one after.
            Run again(12, drive.root());
            fiu_enable(qPrintable(point), 1, eio, FIU_ONETIME);
            QVERIFY(!optimise::run(again.ctx, again.state, splitOnly).ok());
            fiu_disable(qPrintable(point));
        }
        Run next(12, drive.root());
        QVERIFY(optimise::run(next.ctx, next.state, splitOnly).ok());
        QCOMPARE(inventory(drive.root()), before);
    }

    // Hostile titles give a harmless group name inside the folder.
    void awkwardTitlesMakeHarmlessGroupNames()
    {
        DriveFixture drive;
        const QString folder = drive.path("Songs");
        const QStringList hostile{"CON", "c/../../escaped", "c:\\windows", "c" + QString(300, 'z'), "c.", "Ca*?<>|"};
        for (int i = 0; i < 1001; ++i)
            drive.writeMidi(numbered("Songs/s%1.mid", i), i < 900 ? hostile.at(i % hostile.size()) + "0" : QStringLiteral("Cello %1").arg(i));
        QVERIFY(!Run(3).splitFolder(drive.root(), folder).isEmpty());
        QCOMPARE(QDir(drive.root()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"Songs"});
        QCOMPARE(groups(folder).size(), 28);
        QVERIFY(groups(folder).contains("CON0 - c" + QString(99, 'z')));
        for (const QString &group : groups(folder))
            QVERIFY2(!group.contains(QRegularExpression("[\\\\/:*?\"<>|]")) && !group.endsWith('.'), qPrintable(group));
    }

    void stopEndsTheSplitWithTheMovedSongsLinesFollowed_data()
    {
        QTest::addColumn<int>("movedBeforeStop");
        QTest::newRow("set before the split: nothing moves") << 0;
        QTest::newRow("pressed after the tenth song: ten moved, their lines followed") << 10;
    }
    void stopEndsTheSplitWithTheMovedSongsLinesFollowed()
    {
        QFETCH(int, movedBeforeStop);
        DriveFixture drive;
        QStringList lines;
        writeSongs(drive, "Songs/", 30, "Xylo ");
        for (int i = 0; i < 30; ++i)
            lines << numbered("\\sdmemory\\Songs\\s%1.mid^1^1", i);
        drive.addPlaylist("P.pls", lines);
        Run run(3);
        run.op.stopRequested = movedBeforeStop == 0;
        run.progress.onValue = [&](int value) { if (value == movedBeforeStop) run.op.stopRequested = true; };
        QVERIFY(run.splitFolder(drive.root(), drive.path("Songs")).size() == 30 && run.defrags == 0);
        QCOMPARE(run.dialogs.prompts.size(), 1);   // the list of folders, then nothing
        QCOMPARE(filesIn(drive.path("Songs/x")), movedBeforeStop);
        QCOMPARE(treeContents(drive.path("System/Playlist")).value("P.pls").count("\\Songs\\x\\"), movedBeforeStop);
        QVERIFY(!run.op.stopRequested);
        QVERIFY(!QFile::exists(SplitJournal::pathFor(drive.root())));
    }

    // Songs x.mid, q^1.mid, été.mid moved, then group "a" renamed: one pass with all rules gives what one pass per rule gives.
    void playlistLinesFollowOnlyTheirOwnSong_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char *tag, const char *text, const char *out) { QTest::newRow(tag) << QByteArray(text) << QByteArray(out); };
        const char *moved = "\\sdmemory\\Abba - Azzurro\\x.mid^0^32767\r\n";
        row("the song's line drops its fields", "\\SDMEMORY\\X.MID^5^900\r\n", moved);
        row("a last line without its end gets one", "\\sdmemory\\x.mid", moved);
        row("a line without the device prefix stays", "x.mid^1\n", "x.mid^1\n");
        row("the group's own lines keep their fields, in any case", "/sdmemory/A/y.kar^5^900\n", "\\sdmemory\\Abba - Azzurro\\y.kar^5^900\n");
        row("a folder merely starting alike stays", "\\sdmemory\\ab\\y.kar^5\r\n", "\\sdmemory\\ab\\y.kar^5\r\n");
        row("a file name holding ^ is matched whole", "\\sdmemory\\q^1.mid^7\r\n", "\\sdmemory\\w\\q^1.mid^0^32767\r\n");
        row("an accented name in another case", "\\sdmemory\\ÉTÉ.mid^7\r\n", "\\sdmemory\\e\\été.mid^0^32767\r\n");
    }
    void playlistLinesFollowOnlyTheirOwnSong()
    {
        QFETCH(QByteArray, text);
        using playlists::LineRule;
        const QVector<LineRule> rules{{LineRule::Song, "x.mid", "a/x.mid"}, {LineRule::Song, "q^1.mid", "w/q^1.mid"},
                                      {LineRule::Song, "été.mid", "e/été.mid"}, {LineRule::Folder, "a", "Abba - Azzurro"}};
        const QByteArray once = playlists::rewriteText(text, rules);
        QTEST(once, "expected");
        QByteArray stepwise = text;
        for (const LineRule &rule : rules)
            stepwise = playlists::rewriteText(stepwise, rule);
        QCOMPARE(once, stepwise);
    }

    // Output on both channels, then silence while the tool runs on: the wait ends after the silence; a tool that cannot start
    // ends it at once, without a box.
    void defragWaitEndsAfterSilence()
    {
        QTemporaryDir dir;
        const QString marker = dir.filePath("output-done");
        const QString script = QStringLiteral("i=0; while [ $i -lt 8 ]; do echo pass; echo warn >&2; sleep 0.1; "
                                              "i=$((i+1)); done; : > '%1'; exec sleep 30").arg(marker);
        for (const QString program : {"/nonexistent/corvel3-defrag", "/bin/sh"}) {
            Run run(0, {}, false, 0);
            run.progress.setBarVisible(true);
            QProcess process;
            defrag::run(run.ctx, process, {program, {"-c", script}}, 800);
            const bool started = program == "/bin/sh";
            QVERIFY2(QFileInfo::exists(marker) == started, "the wait ended while the tool was still writing");
            QCOMPARE(process.state(), started ? QProcess::Running : QProcess::NotRunning);
            QCOMPARE(run.progress.maximum(), 0);
            QCOMPARE(run.progress.status(), QString("Deframmentazione della memoria..."));
            QVERIFY(!run.progress.barVisible() && run.dialogs.prompts.isEmpty());
            process.kill();
            process.waitForFinished(5000);
        }
    }
};

QTEST_GUILESS_MAIN(TestOptimise)
#include "tst_optimise.moc"
