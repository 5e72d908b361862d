// The real corvel3-cli against a player drive in a temporary folder (and the loopback update
// server): exit codes, a backup and restore that bring every song back, answers by meaning,
// JSON events.
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include "tests/common/drivefixture.h"
#include "tests/update/updatetestsupport.h"

namespace {

struct Run {
    int exitCode = -1;
    QList<QJsonObject> events;   // with --json
    QString out;
    QJsonObject last(const QString &event) const
    {
        for (auto e = events.crbegin(); e != events.crend(); ++e)
            if (e->value("event").toString() == event)
                return *e;
        return QJsonObject();
    }
};

// Runs the tool with its standard input closed, so every question takes its answer by meaning.
Run cli(const QStringList &arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    // Waits with the event loop running: the loopback server lives in this process.
    QEventLoop loop;
    QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop, &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    process.start(QCoreApplication::applicationDirPath() + "/corvel3-cli", arguments);
    loop.exec();
    Run run;
    if (process.state() != QProcess::NotRunning || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    if (arguments.contains("--json"))
        for (const QString &line : run.out.split('\n', Qt::SkipEmptyParts)) {
            const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8());
            if (!doc.isObject())
                run.exitCode = -2;   // every line of stdout must be one JSON object
            run.events << doc.object();
        }
    return run;
}

void fillLibrary(DriveFixture &drive)
{
    drive.addSystemFiles();
    drive.writeMp3("Pop/Deep/song one.mp3", "Song One");
    drive.writeMidi("Rock/a.mid", "Rock A");
    drive.writeFile("Rock/a.cdg", "graphics");
    drive.addPlaylist("Hits.pls", {"Rock/a.mid", "Pop/Deep/song one.mp3"});
    drive.writeFile("System/Playlist/.hidden.pls", "Rock/a.mid\r\n");
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void exitCodes_data()
    {
        QTest::addColumn<QString>("player");   // "clean", "missing", "none"
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("a clean player checks out with 0") << "clean" << QStringList{"check"} << 0;
        QTest::newRow("a missing display program gives 1") << "missing" << QStringList{"check"} << 1;
        QTest::newRow("no player gives 3") << "none" << QStringList{"check"} << 3;
        QTest::newRow("no player gives 3 before a backup starts") << "none" << QStringList{"backup", "/tmp"} << 3;
        QTest::newRow("an unknown command is a usage error") << "clean" << QStringList{"frobnicate"} << 2;
        QTest::newRow("a backup without its folder is a usage error") << "clean" << QStringList{"backup"} << 2;
        QTest::newRow("both reinstall variants at once are a usage error")
            << "clean" << QStringList{"reinstall", "--erase", "--restore", "/tmp"} << 2;
    }
    void exitCodes()
    {
        QFETCH(QString, player);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        DriveFixture drive;
        if (player == "none")
            drive.unplug();   // no volumes at all, whatever is mounted on this machine
        drive.addSystemFiles();
        if (player == "missing")
            QFile::remove(drive.path("System/DispProc/DispProc.exe"));
        const auto before = treeContents(drive.root());
        const Run run = cli(QStringList{"--json"} + arguments);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(treeContents(drive.root()), before);
        if (exitCode != 2)
            QCOMPARE(run.last("end").value("exitCode").toInt(), exitCode);
        if (player == "missing")
            QCOMPARE(run.last("end").value("missing").toVariant().toStringList(),
                     QStringList{"System/DispProc/DispProc.exe"});
    }

    // A backup, songs lost and changed on the player, then a restore from the folder that holds
    // the dated backup. Without a terminal and without --yes the overwrite question takes the
    // answer that loses nothing; with --yes every song comes back.
    void backupThenRestoreBringsEverySongBack()
    {
        DriveFixture drive;
        fillLibrary(drive);
        const auto whole = treeContents(drive.root());
        QTemporaryDir pc;
        QCOMPARE(cli({"backup", pc.path() + "/missing"}).exitCode, 2);
        const Run backup = cli({"--lang", "en", "backup", pc.path()});
        QCOMPARE(backup.exitCode, 0);
        QVERIFY(backup.out.contains("Done"));

        QDir(drive.path("Pop")).removeRecursively();
        QFile::remove(drive.path("System/Playlist/.hidden.pls"));
        drive.writeFile("Rock/a.mid", "edited on the player");
        const auto damaged = treeContents(drive.root());
        const Run declined = cli({"--json", "--lang", "it", "restore", pc.path()});
        QCOMPARE(declined.exitCode, 1);
        QCOMPARE(declined.events.first().value("event").toString(), QString("start"));
        const QJsonObject question = declined.last("question");
        QCOMPARE((QStringList{question.value("title").toString(), question.value("answerCaption").toString(),
                              question.value("answeredBy").toString(), declined.last("end").value("result").toString()}),
                 (QStringList{"Copie di backup", "No", "safe", "declined"}));
        QCOMPARE(treeContents(drive.root()), damaged);

        const Run restore = cli({"--yes", "--json", "restore", pc.path()});
        QCOMPARE(restore.exitCode, 0);
        const QJsonObject asked = restore.last("question");
        QCOMPARE(asked.value("kind").toString() + ' ' + asked.value("answeredBy").toString(), QString("overwrite yes"));
        QCOMPARE(treeContents(drive.root()), whole);
    }

    void updateFromTheLoopbackServer_data()
    {
        QTest::addColumn<bool>("served");
        QTest::newRow("the package arrives and lands on the player") << true;
        QTest::newRow("a missing package fails and leaves the player alone") << false;
    }
    void updateFromTheLoopbackServer()
    {
        QFETCH(bool, served);
        UpdateBed bed;
        QTemporaryDir packages;
        const QString folder = makeDemoPackages(packages.path());
        QVERIFY(!folder.isEmpty());
        if (served)
            bed.serveUpdate(folder + "CorvelUpdate.zip");
        else
            bed.server.serveStatus(QString::fromLatin1(kUpdatePackagePath), 404);
        DriveFixture drive;
        drive.addSystemFiles();
        const auto before = treeContents(drive.root());
        const Run run = cli({"--json", "--lang", "en", "update"});
        QCOMPARE(run.exitCode, served ? 0 : 1);
        QCOMPARE(run.last("message").value("kind").toString(), QString(served ? "information" : "error"));
        if (served)
            QVERIFY(QFileInfo(drive.path("CorvelUpdate/version.txt")).isFile());
        else
            QCOMPARE(treeContents(drive.root()), before);
    }

    // A dry run changes no byte; where the engines can list their actions, it lists exactly
    // what the real run then does.
    void optimiseDryRunListsWhatTheRunDoes()
    {
        DriveFixture drive;
        fillLibrary(drive);
        drive.writeFile("Rock/notes.exe", "junk");
        drive.writeFile("Rock/cover.jpg", "image");
        const auto before = treeContents(drive.root());
        const Run dry = cli({"--json", "--lang", "en", "optimise", "--dry-run", "--delete", "--images"});
        QCOMPARE(treeContents(drive.root()), before);
        QCOMPARE(dry.exitCode, 0);
        const Run real = cli({"--json", "--yes", "--lang", "en", "optimise", "--delete", "--images"});
        QCOMPARE(real.exitCode, 0);
        auto actions = [](const Run &run) {
            QStringList list;
            for (const QJsonObject &e : run.events)
                if (e.value("event").toString() == "fileAction")
                    list << e.value("action").toString() + ' ' + e.value("path").toString() + ' '
                                + e.value("target").toString();
            return list;
        };
        QVERIFY(!actions(dry).isEmpty());
        QCOMPARE(actions(dry), actions(real));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
