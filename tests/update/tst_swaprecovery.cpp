// A reinstall's or update's swap killed (SIGKILL) at each point, then recovered as the next start would; two updates at once.
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

// Runs work in a child that SIGKILLs itself at point; true when it did.
bool killedAt(const std::function<bool(const std::function<void(const QString &)> &)> &work, const QString &point)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const bool ok = work([point](const QString &step) { if (step == point) ::raise(SIGKILL); });
        ::_exit(ok ? 0 : 1);   // no exit handler: the parent's temporary folders are the child's too
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

QStringList toolEntries(const QString &root)
{ return QDir(root).entryList({".corvel3-*"}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot); }

struct Recovered { SwapRecovery result; QStringList codes, actions; };   // actions: "action path", "!" before a failed one

// The recovery as the next start runs it: a context of its own on the drive.
Recovered recover(const QString &root)
{
    EngineRig h(1, {"Ok", "Ok"});
    h.ctx.driveRoot = root;
    h.ctx.operationName = "recovery";
    Recovered r;
    h.ctx.onFileAction = [&r](const QString &action, const QString &path, const QString &, bool ok) {
        r.actions << (ok ? "" : "!") + action + " " + path;
    };
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
        DriveFixture other(false);   // a second update package with other files, for the second of two runs at once
        for (const QString name : {"CorvelUpdate/version.txt", "CorvelUpdate/Lang/deutsch.lng"})
            other.writeFile(name, QByteArray("second package\r\n").repeated(800));
        otherUpdate = work.filePath("other.zip");
        QVERIFY(runTool("zip", {"-q", "-r", "-0", otherUpdate, "CorvelUpdate"}, other.root()));
        otherUpdateFiles = treeContents(other.root());
    }

    // All old or all new system, songs and playlists intact, nothing left over; a staged file cut short means undo;
    // an undo blocked by an entry fails, keeps its journal, and succeeds once the entry is gone.
    void killPoints_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("code");   // the new system stays unless the swap is undone
        const QString completed = "recovery.completed", undone = "recovery.rolledBack";
        for (const QString variant : {"reinstall", "update"}) {
            QStringList points{"staged", "journal"};
            for (int i = 1; i <= (variant == "reinstall" ? 7 : 2); ++i)
                points << QString("renamed %1").arg(i);
            points << "cleaned" << "journal removed";
            for (const QString &point : points)
                QTest::addRow("%s, %s", qPrintable(variant), qPrintable(point)) << variant << point << QString()
                    << (point == "staged" ? undone : point == "journal removed" ? QString() : completed);
        }
        for (const QString point : {"journal", "renamed 2", "renamed 5"})
            QTest::addRow("reinstall, %s, a staged file cut short", qPrintable(point)) << "reinstall" << point << "cut" << undone;
        QTest::newRow("reinstall, renamed 5, a staged file cut short, the undo blocked") << "reinstall" << "renamed 5" << "blocked"
                                                                                       << "recovery.failed";
        // A journal that would rename a song folder to a name of the tool's own is not followed.
        QTest::newRow("a tampered journal naming a song folder") << "tampered" << QString() << QString() << undone;
        // An earlier version kept no journal: what the root lacks comes back from aside.
        QTest::newRow("an earlier version's swap cut short after 2 renames") << "earlier version" << "renamed 2" << QString() << undone;
    }

    void killPoints()
    {
        QFETCH(QString, variant);
        QFETCH(QString, point);
        QFETCH(QString, damage);
        QFETCH(QString, code);
        const bool becomesNew = code.isEmpty() || code == "recovery.completed";
        DriveFixture drive(false);
        drive.addSystemFiles();
        for (const QString name : {"System/Corvel/old.dll", "effects/old.fx", "CorvelUpdate/old.bin"})   // effects: another spelling
            drive.writeFile(name, name.toUtf8());
        drive.addPlaylist("Party.pls", {"\\sdmemory\\Dance\\one.mp3^One", "\\sdmemory\\Ballads\\three.mf3^Three"});
        drive.writeMp3("Dance/one.mp3", "One");
        drive.writeFile("Ballads/three.mf3", "Three");
        const auto before = treeContents(drive.root());
        auto after = before;
        const QString replaced = variant == "reinstall" ? "AUTOEXEC.BAT|System/(Corvel|DispProc)/|effects/" : "CorvelUpdate/";
        for (const QString &path : before.keys().filter(QRegularExpression("^(" + replaced + ")")))
            after.remove(path);
        after.insert(variant == "reinstall" ? systemFiles : updateFiles);

        if (variant == "earlier version") {
            QVERIFY(QDir().mkpath(drive.path(".corvel3-previous-1")) && runTool("cp", {"-r", all, drive.path(kStaged)}));
            for (const QString name : {"AUTOEXEC.BAT", "System"})
                QVERIFY(QDir().rename(drive.path(name), drive.path(".corvel3-previous-1/" + name)));
        }
        if (variant == "tampered") {
            QVERIFY(QDir().mkpath(drive.path(kStaged)));
            drive.writeFile(".corvel3-swap.journal", "corvel3 swap journal 1\naside\t.corvel3-previous-1\nstaging\t.corvel3-staging\n"
                                                     "rename\tDance\t.corvel3-hidden\nend\n");
        }
        QVERIFY2(variant == "earlier version" || variant == "tampered" || killedAt(
            [&](const std::function<void(const QString &)> &atStep) {
                EngineRig h(1);
                h.ctx.driveRoot = drive.root();
                if (variant == "update") {
                    SystemUpdate engine(h.ctx);
                    engine.atSwapStep = atStep;
                    return engine.copyUpdateFiles(update, drive.root());
                }
                Reinstall engine(h.ctx);
                engine.atSwapStep = atStep;
                return engine.installSystemFiles(all, drive.root());
            },
            point), "the child did not reach its kill point");
        if (!damage.isEmpty())
            QVERIFY(QFile::resize(drive.path(kStaged + "System/Corvel/Corvel.exe"), 10));
        if (damage == "blocked")
            drive.writeFile(kStaged + "AUTOEXEC.BAT", "in the way");

        Recovered first = recover(drive.root());
        QCOMPARE(first.codes, code.isEmpty() ? QStringList() : QStringList{code});
        QCOMPARE(first.actions.isEmpty(), code.isEmpty());
        if (damage == "blocked") {
            QCOMPARE(first.result, SwapRecovery::Failed);
            QVERIFY(toolEntries(drive.root()).contains(".corvel3-swap.journal"));
            QVERIFY(QFile::remove(drive.path(kStaged + "AUTOEXEC.BAT")));
            first = recover(drive.root());
            QCOMPARE(first.codes, QStringList{"recovery.rolledBack"});
        }
        QCOMPARE(first.actions.filter(QRegularExpression("^!")), QStringList());
        QCOMPARE(treeContents(drive.root()), becomesNew ? after : before);
        QCOMPARE(toolEntries(drive.root()), QStringList());
        for (const QString entry : {"System", "AUTOEXEC.BAT"})   // a reinstall's, put in place, marked as the install marks it
            QVERIFY2(variant != "reinstall" || !becomesNew || (platform::attributes(drive.path(entry)).hidden
                     && platform::attributes(drive.path(entry)).system), qPrintable(entry));
        const Recovered second = recover(drive.root());
        QCOMPARE(second.result, SwapRecovery::Nothing);
        QCOMPARE(second.codes + second.actions, QStringList());
    }

    // The second update runs whole inside the first's download: each gets its own package in a fresh owner-only
    // folder under the cache, gone at the end, as is the folder a killed run left.
    void twoUpdatesAtOnce()
    {
        UpdateBed bed;
        const QString base = RunFolder::base();
        QVERIFY(base.startsWith(bed.holder.path() + "/cache/"));
        QVERIFY(killedAt([](auto &&atStep) {   // a run killed once its folder is made
            const RunFolder abandoned;
            atStep(QString());
            return abandoned.isValid();
        }, QString()));
        QCOMPARE(QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

        bed.server.serveTrickle(kUpdatePackagePath, readBytes(served + "CorvelUpdate.zip"), 1024, 20);
        HttpTestServer secondServer;
        QVERIFY(secondServer.listen());
        secondServer.serveFile(kUpdatePackagePath, otherUpdate);
        DriveFixture firstDrive(false), secondDrive(false);
        EngineRig first(1), second(1);
        first.ctx.driveRoot = firstDrive.root();
        second.ctx.driveRoot = secondDrive.root();

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

        QCOMPARE(first.dialogs.failures + second.dialogs.failures, QStringList());
        QVERIFY(firstOutcome.ok() && secondOutcome.ok());
        QCOMPARE(during.size(), 1);   // the abandoned folder went; the first run's own is there
        QCOMPARE(treeContents(firstDrive.root()), updateFiles);
        QCOMPARE(treeContents(secondDrive.root()), otherUpdateFiles);
        QCOMPARE(QDir(base).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSwapRecovery)
#include "tst_swaprecovery.moc"
