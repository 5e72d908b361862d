// The system swap cut short as by a power cut: a child process runs the reinstall's or the
// update's install through the engine and kills itself with SIGKILL at a chosen point of the
// swap; then the recovery runs as the next start would, with a context of its own. And two
// updates at once, each downloading into a folder of its own.
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/update/updatetestsupport.h"
#include "update/runfolder.h"
#include "update/swaprecovery.h"
#include "update/systemupdate.h"

namespace {
const QString kStaged = ".corvel3-staging/";

// Runs work in a child process that ends it with SIGKILL where it is told to; true when it did.
bool killedAt(const std::function<bool(const std::function<void(const QString &)> &)> &work, const QString &point)
{
    const pid_t child = ::fork();
    if (child == 0) {
        // No exit handler may run here: the parent's temporary folders are the child's too.
        const bool ok = work([point](const QString &step) {
            if (step == point)
                ::raise(SIGKILL);
        });
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// The tool's own entries at the root of a drive.
QStringList toolEntries(const QString &root)
{
    return QDir(root).entryList({".corvel3-*"}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

struct Recovered {
    SwapRecovery result;
    QStringList codes;
    QStringList actions;   // "action path" of each one told, "!" before one that failed
};

// The recovery as the next start runs it: a context of its own on the drive.
Recovered recover(const QString &root)
{
    EngineHarness h;
    h.drive = root;
    h.ctx.operationName = "recovery";
    Recovered r;
    h.ctx.onFileAction = [&r](const QString &action, const QString &path, const QString &, bool ok) {
        r.actions << (ok ? "" : "!") + action + " " + path;
    };
    for (int i = 0; i < 2; ++i)
        h.dialogs.answer("Ok");
    r.result = recoverInterruptedSwap(h.ctx);
    for (const auto &prompt : h.dialogs.prompts)
        r.codes << prompt.code;
    return r;
}
} // namespace

class TestSwapRecovery : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    QString served, all, update, otherUpdate;
    QMap<QString, QByteArray> systemFiles, updateFiles, otherUpdateFiles;

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(work.filePath("data")));   // the operation log
        served = makeDemoPackages(work.filePath("served"));
        all = work.filePath("all");
        update = work.filePath("update");
        systemFiles = archiveContents(served + "CorvelAll.zip", all);
        updateFiles = archiveContents(served + "CorvelUpdate.zip", update);
        QVERIFY(systemFiles.contains("System/Corvel/Corvel.exe") && updateFiles.contains("CorvelUpdate/README"));
        // A second update package with other files, for the second of two runs at once.
        const QString other = work.filePath("other");
        QVERIFY(QDir().mkpath(other + "/CorvelUpdate/Lang"));
        for (const QString name : {"CorvelUpdate/version.txt", "CorvelUpdate/Lang/deutsch.lng"}) {
            QFile f(other + "/" + name);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray("second package\r\n").repeated(800)) > 0);
        }
        otherUpdate = work.filePath("other.zip");
        QVERIFY(runTool("zip", {"-q", "-r", "-0", otherUpdate, "CorvelUpdate"}, other));
        otherUpdateFiles = treeContents(other);
    }

    // Each point of the swap of a reinstall (3 old entries aside, 4 new in place) and of an update
    // (1 and 1). The next start's recovery leaves all of the old system or all of the new, every
    // song and playlist byte for byte, no leftover, and nothing for a second recovery to do. A
    // staged file cut short (a power cut) makes the recovery undo the swap rather than finish it;
    // an undo that meets an entry in its way fails, keeps its journal, and succeeds once it is gone.
    void killPoints_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("becomesNew");
        const QString completed = "recovery.completed", undone = "recovery.rolledBack";
        for (const QString variant : {"reinstall", "update"}) {
            const int renames = variant == "reinstall" ? 7 : 2;
            QStringList points{"staged", "journal"};
            for (int i = 1; i <= renames; ++i)
                points << QString("renamed %1").arg(i);
            points << "cleaned" << "journal removed";
            for (const QString &point : points) {
                const QString code = point == "staged" ? undone : point == "journal removed" ? QString() : completed;
                QTest::addRow("%s, %s", qPrintable(variant), qPrintable(point))
                    << variant << point << QString() << code << (point != "staged");
            }
        }
        for (const QString point : {"journal", "renamed 2", "renamed 5"})
            QTest::addRow("reinstall, %s, a staged file cut short", qPrintable(point))
                << "reinstall" << point << "cut" << undone << false;
        QTest::newRow("reinstall, renamed 5, a staged file cut short, the undo blocked")
            << "reinstall" << "renamed 5" << "blocked" << "recovery.failed" << false;
        // An earlier version of the tool kept no journal: what the root lacks comes back from aside.
        QTest::newRow("an earlier version's swap cut short after 2 renames")
            << "earlier version" << "renamed 2" << QString() << undone << false;
    }

    void killPoints()
    {
        QFETCH(QString, variant);
        QFETCH(QString, point);
        QFETCH(QString, damage);
        QFETCH(QString, code);
        QFETCH(bool, becomesNew);
        DriveFixture drive(false);
        drive.addSystemFiles();
        drive.writeFile("System/Corvel/old.dll", "only in the old system");
        drive.writeFile("effects/old.fx", "the old effects, under another spelling");
        drive.writeFile("CorvelUpdate/old.bin", "the update the player has");
        drive.addPlaylist("Party.pls", {"\\sdmemory\\Dance\\one.mp3^One"});
        drive.addPlaylist("Slow.pls", {"\\sdmemory\\Ballads\\three.mf3^Three"});
        drive.writeMp3("Dance/one.mp3", "One");
        drive.writeFixedField("Ballads/three.mf3", "Three");
        const auto before = treeContents(drive.root());
        auto after = before;
        const QString replaced = variant == "reinstall" ? "AUTOEXEC.BAT|System/(Corvel|DispProc)/|effects/" : "CorvelUpdate/";
        for (const QString &path : before.keys())
            if (QRegularExpression("^(" + replaced + ")").match(path).hasMatch())
                after.remove(path);
        after.insert(variant == "reinstall" ? systemFiles : updateFiles);

        if (variant == "earlier version") {
            QVERIFY(QDir().mkpath(drive.path(".corvel3-previous-1")) && runTool("cp", {"-r", all, drive.path(kStaged)}));
            for (const QString name : {"AUTOEXEC.BAT", "System"})
                QVERIFY(QDir().rename(drive.path(name), drive.path(".corvel3-previous-1/" + name)));
        }
        const bool killed = variant == "earlier version" || killedAt(
            [&](const std::function<void(const QString &)> &atStep) {
                EngineHarness h;
                h.drive = drive.root();
                if (variant == "update") {
                    SystemUpdate engine(h.ctx);
                    engine.atSwapStep = atStep;
                    return engine.copyUpdateFiles(update, drive.root());
                }
                Reinstall engine(h.ctx);
                engine.atSwapStep = atStep;
                return engine.installSystemFiles(all, drive.root());
            },
            point);
        QVERIFY2(killed, "the child did not reach its kill point");
        if (!damage.isEmpty()) {
            QVERIFY(QFile::resize(drive.path(kStaged + "System/Corvel/Corvel.exe"), 10));
            if (damage == "blocked")
                drive.writeFile(kStaged + "AUTOEXEC.BAT", "in the way");
        }

        Recovered first = recover(drive.root());
        QCOMPARE(first.codes, code.isEmpty() ? QStringList() : QStringList{code});
        QCOMPARE(first.actions.isEmpty(), code.isEmpty());
        if (damage == "blocked") {
            // Nothing was lost, and the journal is there for the next try.
            QCOMPARE(first.result, SwapRecovery::Failed);
            QVERIFY(toolEntries(drive.root()).contains(".corvel3-swap.journal"));
            QVERIFY(QFile::remove(drive.path(kStaged + "AUTOEXEC.BAT")));
            first = recover(drive.root());
            QCOMPARE(first.codes, QStringList{"recovery.rolledBack"});
        }
        for (const QString &action : first.actions)
            QVERIFY2(!action.startsWith('!'), qPrintable(action));
        QCOMPARE(treeContents(drive.root()), becomesNew ? after : before);
        QCOMPARE(toolEntries(drive.root()), QStringList());
        // A system put in place by the recovery is marked as the install marks it.
        if (variant == "reinstall" && becomesNew)
            for (const QString entry : {"System", "AUTOEXEC.BAT"}) {
                const platform::Attributes marks = platform::attributes(drive.path(entry));
                QVERIFY2(marks.hidden && marks.system, qPrintable(entry));
            }

        const Recovered second = recover(drive.root());
        QCOMPARE(second.result, SwapRecovery::Nothing);
        QCOMPARE(second.codes, QStringList());
        QCOMPARE(second.actions, QStringList());
    }

    // Two updates at once on two players, each from its own server: the second starts while the
    // first is still downloading and runs to its end inside it. Neither meets the other's package;
    // each downloads into a fresh folder of its own under the user's cache, for its owner only,
    // gone once the run ends, as is the folder a killed run had left.
    void twoUpdatesAtOnce()
    {
        UpdateBed bed;
        const QString base = RunFolder::base();
        QVERIFY(base.startsWith(bed.holder.path() + "/cache/"));
        QVERIFY(killedAt([](const std::function<void(const QString &)> &) {
            RunFolder abandoned;
            ::raise(SIGKILL);
            return abandoned.isValid();
        }, QString()));
        QCOMPARE(QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

        HttpTestServer::Route trickle;
        trickle.filePath = served + "CorvelUpdate.zip";
        trickle.fault = HttpTestServer::Fault::Trickle;
        trickle.trickleBytes = 1024;
        trickle.trickleIntervalMs = 20;
        bed.server.setRoute(kUpdatePackagePath, trickle);
        HttpTestServer secondServer;
        QVERIFY(secondServer.listen());
        secondServer.serveFile(kUpdatePackagePath, otherUpdate);
        DriveFixture firstDrive(false), secondDrive(false);
        EngineHarness first, second;
        first.drive = firstDrive.root();
        second.drive = secondDrive.root();

        Outcome secondOutcome = Outcome::of(Outcome::Status::Stopped);
        QStringList during;
        connect(&bed.server, &HttpTestServer::requestReceived, this, [&] {
            QTimer::singleShot(0, this, [&] {
                during = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
                for (const QString &folder : during)
                    QCOMPARE(QFileInfo(base + "/" + folder).permissions() & 0x0077, QFileDevice::Permissions());
                qputenv("CORVEL3_UPDATE_SERVER", secondServer.baseUrl().toUtf8());
                secondOutcome = SystemUpdate(second.ctx).run();
            });
        });
        const Outcome firstOutcome = SystemUpdate(first.ctx).run();

        QVERIFY2(first.dialogs.failures.isEmpty() && second.dialogs.failures.isEmpty(),
                 qPrintable((first.dialogs.failures + second.dialogs.failures).join("; ")));
        QVERIFY(firstOutcome.ok() && secondOutcome.ok());
        QCOMPARE(during.size(), 1);   // the abandoned folder went; the first run's own is there
        QCOMPARE(treeContents(firstDrive.root()), updateFiles);
        QCOMPARE(treeContents(secondDrive.root()), otherUpdateFiles);
        QCOMPARE(QDir(base).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSwapRecovery)
#include "tst_swaprecovery.moc"
