// Every operation of the real corvel3-cli with failing system calls (libfiu's POSIX wrappers,
// driven by faultpreload.c: seeded random failures, or the N-th call of a kind): whatever fails,
// the player keeps a whole system and every song whole, and an exit code of 0 means the
// operation really did all of its work.
#include <QtTest>

#include "tests/common/drivefixture.h"
#include "tests/update/updatetestsupport.h"
#include "transfer/backupmanifest.h"

using Tree = QMap<QString, QByteArray>;

namespace {

const char kFiuFolder[] = "/usr/lib/fiu";
// Reads, opens, folder calls (listing, rename, unlink) and syncs. Writes stay out: the toolkit
// wakes its threads by writing to an event descriptor, and a failed wake-up hangs it, which no
// real disk does (full and failing disks have rows of their own on mounted images).
const QString kFileCalls = "posix/io/rw/read*,posix/io/rw/pread*,posix/io/oc/open,posix/io/dir/*,posix/io/sync/*";

// The tree without the tool's own working entries at the root (a lock or staging folder that a
// failing removal left; the next run takes them over).
Tree withoutToolEntries(Tree tree)
{
    for (auto it = tree.begin(); it != tree.end();)
        it = it.key().startsWith(".corvel3-") ? tree.erase(it) : std::next(it);
    return tree;
}

bool isSystemPath(const QString &path)
{
    const QString top = path.section('/', 0, 0).toUpper();
    return (top == "SYSTEM" && !path.startsWith("System/Playlist/", Qt::CaseInsensitive)) || top == "AUTOEXEC.BAT"
           || top == "BRIDGES" || top == "EFFECTS";
}

// The part of a tree that pred keeps, or leaves.
Tree part(const Tree &tree, const std::function<bool(const QString &)> &pred, bool keep = true)
{
    Tree out;
    for (auto it = tree.cbegin(); it != tree.cend(); ++it)
        if (pred(it.key()) == keep)
            out.insert(it.key(), it.value());
    return out;
}

bool inUpdateFolder(const QString &path) { return path.startsWith("CorvelUpdate/", Qt::CaseInsensitive); }

// The contents of the files a playlist names, line by line ("" for a line that names nothing).
QStringList playlistTargets(const QString &root)
{
    QStringList targets;
    for (const QFileInfo &list : QDir(root + "System/Playlist").entryInfoList({"*.pls"}, QDir::Files)) {
        QFile f(list.filePath());
        if (!f.open(QIODevice::ReadOnly))
            return {"unreadable " + list.fileName()};
        for (const QByteArray &line : f.readAll().split('\n')) {
            const QString path = QString::fromUtf8(line.trimmed()).section('^', 0, 0).remove("\\sdmemory\\").replace('\\', '/');
            if (path.isEmpty())
                continue;
            QFile song(root + path);
            targets << (song.open(QIODevice::ReadOnly) ? QString::fromLatin1(song.readAll().toHex()) : QString());
        }
    }
    targets.sort();
    return targets;
}

QMultiMap<QByteArray, int> songBytes(const Tree &tree)
{
    QMultiMap<QByteArray, int> songs;
    for (auto it = tree.cbegin(); it != tree.cend(); ++it)
        if (it.key().endsWith(".mid") || it.key().endsWith(".mp3"))
            songs.insert(it.value(), 0);
    return songs;
}

struct Child {
    int exitCode = -1;
    bool crashed = true;
    QByteArray err;
};

Child runCli(const QStringList &arguments, const QString &faults)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!faults.isEmpty()) {
        const QString folder = QString::fromLatin1(kFiuFolder);
        env.insert("LD_PRELOAD", folder + "/fiu_posix_preload.so " + QCoreApplication::applicationDirPath()
                                     + "/../lib/libcorvel3_faultpreload.so");
        env.insert("CORVEL3_FAULTS", faults);
    }
    process.setProcessEnvironment(env);
    QEventLoop loop;   // the loopback server lives in this process
    QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop, &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    process.start(QCoreApplication::applicationDirPath() + "/corvel3-cli", QStringList{"--yes", "--lang", "en"} + arguments);
    loop.exec();
    Child child;
    child.crashed = process.state() != QProcess::NotRunning || process.exitStatus() != QProcess::NormalExit;
    child.exitCode = process.exitCode();
    child.err = process.readAllStandardError();
    return child;
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    QString served;

private slots:
    void initTestCase()
    {
        if (!QFileInfo::exists(QString::fromLatin1(kFiuFolder) + "/fiu_posix_preload.so"))
            QSKIP("libfiu's POSIX wrappers are not installed (apt-get install fiu-utils libfiu-dev)");
        QVERIFY(!(served = makeDemoPackages(work.filePath("served"))).isEmpty());
        qputenv("XDG_DATA_HOME", QFile::encodeName(work.filePath("data")));
    }

    void operationsUnderFaults_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("faults");
        for (const QString operation : {"backup", "restore", "update", "reinstall", "reinstall --restore", "optimise", "health"}) {
            // Random faults also hit the toolkit's own reads while a download runs on the
            // operations' thread, which once hung it: the downloading rows fail chosen calls only.
            const bool downloads = operation.startsWith("update") || operation.startsWith("reinstall");
            for (int seed = 1; seed <= (downloads ? 0 : 3); ++seed)
                QTest::addRow("%s, random %d", qPrintable(operation), seed)
                    << operation << QString("random:%1:25:%2").arg(seed).arg(kFileCalls);
            for (const int n : {2, 6, 15})
                QTest::addRow("%s, open %d fails", qPrintable(operation), n)
                    << operation << QString("nth:%1:0:posix/io/oc/open").arg(n);
            for (const int n : {1, 3})
                QTest::addRow("%s, rename %d fails", qPrintable(operation), n)
                    << operation << QString("nth:%1:0:posix/io/dir/rename").arg(n);
        }
        // A long backup writes its files out while it copies; a write error heard then is told
        // once only, and the flush at the end no longer hears of it.
        QTest::addRow("backup of 300 songs whose first volume flush fails") << "backup" << "nth:1:0:linux/io/syncfs";
    }
    void operationsUnderFaults()
    {
        QFETCH(QString, operation);
        QFETCH(QString, faults);
        UpdateBed bed;
        bed.serveFull(served + "CorvelAll.zip");
        bed.serveUpdate(served + "CorvelUpdate.zip");
        DriveFixture drive;
        drive.addSystemFiles();
        drive.writeFile("CorvelUpdate/old.bin", "the update the player has");
        for (int i = 0; i < 12; ++i)
            drive.writeMidi(QString("Basi/%1.mid").arg(i), QString("Song %1").arg(i));
        drive.writeMp3("Rock/one.mp3", "One", 300000);
        drive.writeFile("Rock/junk.exe", "not a song");
        drive.writeFile("Rock/cover.jpg", "a picture");
        drive.addPlaylist("Hits.pls", {"\\sdmemory\\Basi\\1.mid^x", "\\sdmemory\\Rock\\one.mp3^y"});
        if (operation == "health") {   // a name to change and a line to point at its moved song
            drive.writeMidi("Rock/why?.mid", "Why");
            drive.addPlaylist("Fixes.pls", {"\\sdmemory\\Rock\\why?.mid^x", "\\sdmemory\\Old\\one.mp3^y"});
        }
        const bool flushFails = faults.contains("syncfs");
        for (int i = 0; flushFails && i < 300; ++i)
            drive.writeFile(QString("Many/%1.kar").arg(i), QByteArray::number(i));
        const Tree whole = treeContents(drive.root());
        const QStringList lines = playlistTargets(drive.root());
        QTemporaryDir pc;
        Tree before = whole;
        if (operation == "restore") {   // a good backup first, then songs lost and changed
            QCOMPARE(runCli({"backup", pc.path()}, QString()).exitCode, 0);
            QDir(drive.path("Rock")).removeRecursively();
            drive.writeFile("Basi/1.mid", "changed on the player");
            before = treeContents(drive.root());
        }
        QStringList arguments = operation == "backup" || operation == "restore" ? QStringList{operation, pc.path()}
                                : operation == "reinstall --restore"            ? QStringList{"reinstall", "--restore", pc.path()}
                                                                                : QStringList{operation};
        if (operation == "health")
            arguments = QStringList{"--yes", "health", "--fix"};

        const Child child = runCli(arguments, faults);
        QVERIFY2(!child.crashed, child.err.constData());
        const bool done = child.exitCode == 0;
        const Tree after = withoutToolEntries(treeContents(drive.root()));
        const Tree newSystem = archiveContents(served + "CorvelAll.zip", work.filePath(QString("all-") + QTest::currentDataTag()));
        const Tree newUpdate = archiveContents(served + "CorvelUpdate.zip", work.filePath(QString("up-") + QTest::currentDataTag()));
        const auto isSongSide = [](const QString &p) { return !isSystemPath(p) && !inUpdateFolder(p); };

        if (operation == "backup") {
            QCOMPARE(after, before);
            const QStringList made = QDir(pc.path()).entryList({"Corvel3 backup *"}, QDir::Dirs);
            if (flushFails)
                QVERIFY2(!done && made.size() == 1 && !backupmanifest::isComplete(pc.path() + "/" + made.first()),
                         child.err.constData());
            if (done) {
                QCOMPARE(made.size(), 1);
                const QString backup = pc.path() + "/" + made.first();
                QVERIFY(backupmanifest::isComplete(backup));
                QVERIFY(backupmanifest::verify(backup).ok());
                Tree saved = treeContents(backup);
                saved.remove(backupmanifest::kFileName);
                QCOMPARE(saved, part(part(before, isSystemPath, false), inUpdateFolder, false));
            }
        } else if (operation == "restore") {
            // Every file is as it was before the restore or as the backup has it: never cut.
            for (auto it = after.cbegin(); it != after.cend(); ++it)
                QVERIFY2(it.value() == before.value(it.key(), "-") || it.value() == whole.value(it.key(), "-"),
                         qPrintable(it.key()));
            QVERIFY2(!done || after == whole, child.err.constData());
        } else if (operation == "update") {
            QCOMPARE(part(after, inUpdateFolder, false), part(before, inUpdateFolder, false));
            const Tree folder = part(after, inUpdateFolder);
            QVERIFY(folder == part(before, inUpdateFolder) || folder == newUpdate);
            QCOMPARE(folder == newUpdate, done);
        } else if (operation == "reinstall --restore") {
            // Every song is on the player or in the backup the run made, whole; done: all on the player.
            const Tree saved = treeContents(pc.path());
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                QVERIFY2(!isSongSide(it.key()) || after.value(it.key()) == it.value() || saved.value(it.key()) == it.value(),
                         qPrintable(it.key()));
            QVERIFY(!done || (part(after, isSongSide) == part(before, isSongSide) && part(after, isSystemPath) == part(newSystem, isSystemPath)));
        } else if (operation == "reinstall") {
            // The songs and playlists stay; the system is all old or all new, never mixed.
            QCOMPARE(part(after, isSongSide), part(before, isSongSide));
            const Tree system = part(after, isSystemPath);
            QVERIFY2(system == part(before, isSystemPath) || system == part(newSystem, isSystemPath),
                     qPrintable(QStringList(system.keys()).join(", ") + "\n" + child.err));
            const Tree folder = part(after, inUpdateFolder);
            QVERIFY(folder == part(before, inUpdateFolder) || folder == newUpdate);
            if (done)
                QVERIFY(system == part(newSystem, isSystemPath) && folder == newUpdate);
        } else if (operation == "health") {
            // No song is lost or changed, and every line that found its song's bytes still does,
            // once the next run has completed what a journal left on the player says.
            QCOMPARE(songBytes(after), songBytes(before));
            if (QFileInfo::exists(drive.path(".corvel3-split.journal")))
                QCOMPARE(runCli({"--yes", "health", "--fix"}, QString()).exitCode, 1);
            QStringList found = playlistTargets(drive.root());
            for (const QString &target : lines)
                QVERIFY2(target.isEmpty() || found.removeOne(target), qPrintable(child.err));
            QCOMPARE(part(after, isSystemPath, false).size(), part(before, isSystemPath, false).size());
        } else {
            // No song is lost and every playlist line still finds its song's bytes.
            QCOMPARE(songBytes(after), songBytes(before));
            QCOMPARE(playlistTargets(drive.root()), lines);
            QCOMPARE(part(after, isSystemPath), part(before, isSystemPath));
            if (done)
                QVERIFY(!after.contains("Rock/junk.exe") && !after.contains("Rock/cover.jpg"));
        }
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
