// The real corvel3-cli against a player drive in a temporary folder and the loopback update server.
#include <QtTest>   // with all of Qt Core

#include <csignal>
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include "tests/common/drivefixture.h"
#include "tests/update/updatetestsupport.h"

namespace {

using Environment = QMap<QString, QString>;

struct Run {
    int exitCode = -1;
    QList<QJsonObject> events;   // with --json
    QString out, err;   // on a terminal, out is all it showed
    QJsonObject last(const QString &event) const
    {
        const auto e = std::find_if(events.crbegin(), events.crend(), [&](const QJsonObject &o) { return o.value("event") == event; });
        return e == events.crend() ? QJsonObject() : *e;
    }
};

// Stdin closed (questions take the answer by meaning), no locale but env's; columns: a pseudo-terminal that wide.
Run cli(const QStringList &arguments, const Environment &env = {}, int columns = 0,
        const std::function<void(QProcess &, const QJsonObject &)> &onEvent = [](QProcess &, const QJsonObject &) {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        environment.remove(name);
    environment.insert("LC_CTYPE", "C.UTF-8");
    for (auto it = env.cbegin(); it != env.cend(); ++it)
        environment.insert(it.key(), it.value());
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    int master = -1, slave = -1;   // slave kept open: reads never fail with EIO
    QFile terminal;
    QByteArray shown;
    std::unique_ptr<QSocketNotifier> showing;
    if (columns) {
        winsize size{24, ushort(columns), 0, 0};
        ::openpty(&master, &slave, nullptr, nullptr, &size);
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        terminal.open(master, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
        process.setStandardOutputFile(QString::fromLocal8Bit(::ttyname(slave)));
        process.setStandardErrorFile(QString::fromLocal8Bit(::ttyname(slave)));
        showing.reset(new QSocketNotifier(master, QSocketNotifier::Read));
        QObject::connect(showing.get(), &QSocketNotifier::activated, [&] { shown += terminal.readAll(); });
    }
    Run run;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine();
            run.out += QString::fromUtf8(line);
            if (!arguments.contains("--json"))
                continue;
            const QJsonObject event = QJsonDocument::fromJson(line).object();
            run.events << event;
            if (event.value("schema").toInt() != 1 || !event.contains("event"))
                run.exitCode = -2;   // every line of stdout is one JSON object of schema 1
            onEvent(process, event);
        }
    });
    // Waits with the event loop running: the loopback server lives in this process.
    QEventLoop loop;
    QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop, &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    process.start(QCoreApplication::applicationDirPath() + "/corvel3-cli", arguments);
    loop.exec();
    if (columns) {
        showing.reset();
        run.out = QString::fromUtf8(shown + terminal.readAll());
        ::close(slave);   // the master closes with terminal
    }
    run.err = columns ? QString() : QString::fromUtf8(process.readAllStandardError());
    if (process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit && run.exitCode != -2)
        run.exitCode = process.exitCode();
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

// Every file with its bytes and every folder (ending in "/"), hidden ones too.
QMap<QString, QByteArray> wholeTree(const QString &root)
{
    QMap<QString, QByteArray> tree = treeContents(root);
    for (QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
        tree.insert(it.next().mid(root.size()) + '/', QByteArray());
    return tree;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir home;   // HOME and the XDG folders of every run: the log lands here

private slots:
    void initTestCase()
    {
        for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            qputenv(name, QFile::encodeName(home.path() + '/' + name));
    }

    void ending_data()
    {
        QTest::addColumn<QString>("player");   // "clean", "missing", "none"; "served" or "404": the update server's answer
        QTest::addColumn<Environment>("env");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");   // the start of stdout, a usage error's reason; with --json the last message, what is missing
        const auto row = [](const char *name, QString player, QStringList arguments, int exitCode, QString said, Environment env = {}) {
            QTest::newRow(name) << player << env << arguments << exitCode << said;
        };
        row("help", "clean", {"--help"}, 0, "Usage: corvel3-cli [OPTIONS] COMMAND");
        row("a command's help, its arguments missing", "clean", {"backup", "--help"}, 0, "Usage: corvel3-cli [OPTIONS] backup FOLDER");
        row("version", "clean", {"--version"}, 0, "corvel3-cli 2.");
        row("no command", "clean", {"--yes"}, 2, "no command given");
        row("unknown command", "clean", {"frobnicate"}, 2, "unknown command 'frobnicate'");
        row("unknown option after the command", "clean", {"optimise", "--fast"}, 2, "unknown option '--fast'");
        row("--restore without its folder", "clean", {"reinstall", "--restore"}, 2, "--restore needs FOLDER");
        row("--restore taking the next option", "clean", {"reinstall", "--restore", "--erase"}, 2, "--restore needs FOLDER");
        row("both reinstall variants", "clean", {"reinstall", "--erase", "--restore", "/tmp"}, 2, "--erase and --restore exclude each other");
        row("backup without its folder", "clean", {"backup"}, 2, "backup needs FOLDER");
        row("an extra argument", "clean", {"check", "now"}, 2, "unexpected argument 'now'");
        row("a missing folder is not made", "clean", {"backup", "/nonexistent/corvel"}, 2, "no folder '/nonexistent/corvel'");
        row("a language of neither kind", "clean", {"--lang", "fr", "check"}, 2, "--lang takes it or en");
        const QString it = "CONTROLLO SOFTWARE COMPLETATO\n", en = "SOFTWARE CONTROL COMPLETED\n";
        row("LANG Italian", "clean", {"check"}, 0, it, {{"LANG", "it_IT.UTF-8"}});
        row("--lang before LANG", "clean", {"check", "--lang", "en"}, 0, en, {{"LANG", "it_IT.UTF-8"}});
        row("LC_ALL before LANG", "clean", {"check"}, 0, en, {{"LC_ALL", "en_GB.UTF-8"}, {"LANG", "it_IT.UTF-8"}});
        row("an empty LC_ALL says nothing", "clean", {"check"}, 0, it, {{"LC_ALL", ""}, {"LC_MESSAGES", "it_CH"}, {"LANG", "en_US"}});
        row("nothing set: English", "clean", {"check"}, 0, en);
        row("help in Italian", "clean", {"--help"}, 0, "Uso: corvel3-cli [OPZIONI] COMMAND [ARGOMENTI]\n", {{"LANG", "it_IT.UTF-8"}});
        row("a clean player: 0", "clean", {"--json", "check"}, 0, "information check.clean");
        row("a missing display program: 1", "missing", {"--json", "check"}, 1, "error check.missing System/DispProc/DispProc.exe");
        row("no player: 3", "none", {"--json", "check"}, 3, "information device.notFound");
        row("no player: 3 before a backup", "none", {"--json", "backup", "/tmp"}, 3, "information device.notFound");
        row("an update lands on the player", "served", {"--json", "update"}, 0, "information update.done");
        row("a missing update leaves the player alone", "404", {"--json", "update"}, 1, "error ");
        // The system goes in, then the update step fails: no "Setup finished", no 0.
        row("a reinstall whose update fails: 1", "404", {"--json", "--yes", "reinstall"}, 1, "error ");
    }
    void ending()
    {
        QFETCH(QString, player);
        QFETCH(Environment, env);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        if (!arguments.contains("--lang") && QFileInfo::exists(QCoreApplication::applicationDirPath() + "/Corvel.ini"))
            QSKIP("a Corvel.ini beside the program chooses the language");
        UpdateBed bed;
        QTemporaryDir packages;
        const bool reinstall = arguments.contains("reinstall") && exitCode != 2;   // not a usage error
        const QString demo = player == "served" || reinstall ? makeDemoPackages(packages.path()) : QString();
        player == "served" ? bed.serveUpdate(demo + "CorvelUpdate.zip") : bed.server.serveStatus(QString::fromLatin1(kUpdatePackagePath), 404);
        if (reinstall)
            bed.serveFull(demo + "CorvelAll.zip");
        DriveFixture drive;
        if (player == "none")
            drive.unplug();   // no volumes at all, whatever is mounted on this machine
        drive.addSystemFiles();
        if (player == "missing")
            QFile::remove(drive.path("System/DispProc/DispProc.exe"));
        const auto before = wholeTree(drive.root());
        const Run run = cli(arguments, env);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(player == "served" ? QFileInfo(drive.path("CorvelUpdate/version.txt")).isFile()
                : reinstall ? QFileInfo(drive.path("System/Corvel/SETTINGS")).isFile() : wholeTree(drive.root()) == before);
        if (!arguments.contains("--json")) {
            QVERIFY2(exitCode == 2 ? run.out.isEmpty() : run.out.startsWith(said), qPrintable(run.out));
            QCOMPARE(run.err, exitCode == 2 ? "corvel3-cli: " + said + "\nTry 'corvel3-cli --help'.\n" : QString());
            return;
        }
        const QJsonObject message = run.last("message"), end = run.last("end");
        QCOMPARE((QStringList{run.events.first().value("event").toString(), QString::number(end.value("exitCode").toInt()),
                              message.value("kind").toString(), message.value("code").toString()}
                  + end.value("missing").toVariant().toStringList()).join(' '), "start " + QString::number(exitCode) + ' ' + said);
    }

    // An installed program reads the language the windows keep in the user's settings: after
    // --lang, before the environment.
    void anInstalledProgramReadsTheUsersSetting_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        QTest::newRow("the setting before LANG") << QStringList{"--help"} << "Uso: corvel3-cli";
        QTest::newRow("--lang before the setting") << QStringList{"--lang", "en", "--help"} << "Usage: corvel3-cli";
    }
    void anInstalledProgramReadsTheUsersSetting()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        QTemporaryDir installed, home;
        const QString program = installed.filePath("corvel3-cli");
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/corvel3-cli", program));
        if (QProcess::execute("chown", {"nobody", installed.path()}) != 0 || QFileInfo(installed.path()).owner() != "nobody")
            QSKIP("the folder cannot be given to another user here");
        QSettings(home.filePath(".config/corvel3/Corvel.ini"), QSettings::IniFormat).setValue("language", "italian");
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("XDG_CONFIG_HOME");
        environment.insert("HOME", home.path());
        environment.insert("LANG", "en_US.UTF-8");
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(QString::fromUtf8(process.readAllStandardOutput()).startsWith(said), qPrintable(said));
        QVERIFY(!QFileInfo::exists(installed.filePath("Corvel.ini")));
    }

    // Backup (on a terminal, a bar redrawn in place), damage, restore: declined without --yes, whole with it.
    void backupThenRestoreBringsEverySongBack_data()
    {
        QTest::addColumn<int>("columns");   // 0: no terminal
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("done");
        QTest::newRow("no terminal") << 0 << "en" << "Done\nWritten into ";
        QTest::newRow("24 columns, in Italian") << 24 << "it" << "Fatto\r\nScritto in ";
    }
    void backupThenRestoreBringsEverySongBack()
    {
        QFETCH(int, columns);
        QFETCH(QString, lang);
        QFETCH(QString, done);
        DriveFixture drive;
        fillLibrary(drive);
        const auto whole = wholeTree(drive.root());
        QTemporaryDir pc;
        const QString log = home.path() + "/XDG_DATA_HOME/corvel3/operations.log";
        QFile::remove(log);
        const Run backup = cli({"--lang", lang, "backup", pc.path()}, {{"COLUMNS", "200"}}, columns);
        QCOMPARE(backup.exitCode, 0);
        QVERIFY2(backup.out.section("\x1b[K", -1).startsWith(done + pc.path() + "/Corvel3 backup "), qPrintable(backup.out));   // no bar left
        if (columns) {   // clears (ESC [ K) follow a \r; between two come a bar within the width or whole lines, no debris
            QVERIFY2(backup.out.startsWith("\r\x1b[K") && !backup.out.contains(QRegularExpression("\r(?!\n|\x1b\\[K|$)|[^\r]\x1b\\[K")), qPrintable(backup.out));
            int bars = 0;
            for (const QString &piece : backup.out.split("\x1b[K").mid(1))
                if (!piece.contains('\n') && ++bars)
                    QVERIFY2(piece.size() - 1 < columns, qPrintable(piece));
            QVERIFY(bars > 1);
        }
        // The runner frames the run in the log once; the tool adds no line of its own.
        const QByteArray logged = readBytes(log);
        QCOMPARE((QList<qsizetype>{logged.count("\tstart\n"), logged.count("\tend\t"), logged.count("\tbackup\tend\tok\n")}), (QList<qsizetype>{1, 1, 1}));

        QDir(drive.path("Pop")).removeRecursively();
        QFile::remove(drive.path("System/Playlist/.hidden.pls"));
        drive.writeFile("Rock/a.mid", "edited on the player");
        const auto damaged = wholeTree(drive.root());
        const Run declined = cli({"--json", "--lang", "it", "restore", pc.path()});
        const QJsonObject question = declined.last("question");
        QCOMPARE((QStringList{question.value("title").toString(), question.value("answerCaption").toString(), question.value("answeredBy").toString(),
                              declined.last("end").value("result").toString(), QString::number(declined.exitCode)}),
                 (QStringList{"Copie di backup", "No", "safe", "declined", "1"}));
        QCOMPARE(wholeTree(drive.root()), damaged);

        const Run restore = cli({"--yes", "--json", "restore", pc.path()});
        QCOMPARE(QString::number(restore.exitCode) + ' ' + restore.last("question").value("kind").toString() + ' '
                     + restore.last("question").value("answeredBy").toString(), QString("0 overwrite yes"));
        QCOMPARE(wholeTree(drive.root()), whole);
    }

    // restore --only: a part not in the backup, or outside it, is a usage error naming it, exit 2,
    // nothing written; the parts given (as options or following one) come back, nothing else.
    void restoreOnly_data()
    {
        QTest::addColumn<QStringList>("only");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");        // on stderr
        QTest::addColumn<QStringList>("written");
        QTest::newRow("two parts") << QStringList{"--only", "rock", "System/Playlist/Hits.pls"} << 0 << ""
                                   << QStringList{"Rock/a.cdg", "Rock/a.mid", "System/Playlist/Hits.pls"};
        QTest::newRow("one not in the backup") << QStringList{"--only", "Rock", "--only", "Pop/Deep/song"} << 2
                                               << "corvel3-cli: --only: 'Pop/Deep/song' is not in the backup\nTry" << QStringList();
        QTest::newRow("a second FOLDER without --only") << QStringList{"Rock"} << 2 << "corvel3-cli: unexpected argument 'Rock'\nTry" << QStringList();
    }
    void restoreOnly()
    {
        QFETCH(QStringList, only);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        QFETCH(QStringList, written);
        DriveFixture drive;
        fillLibrary(drive);
        const auto saved = treeContents(drive.root());
        QTemporaryDir pc;
        QCOMPARE(cli({"backup", pc.path()}).exitCode, 0);
        for (const char *folder : {"Pop", "Rock", "System/Playlist"})
            QDir(drive.path(folder)).removeRecursively();
        auto expected = treeContents(drive.root());
        for (const QString &file : written)
            expected.insert(file, saved.value(file));
        const Run run = cli(QStringList{"--yes", "--json", "--lang", "en", "restore", pc.path()} + only);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.err.left(said.size()), said);
        QCOMPARE(run.last("end").value("result").toString(), exitCode ? "" : "done");
        QCOMPARE(treeContents(drive.root()), expected);
    }

    // The first Ctrl-C stops a backup at its next file: exit 130, only the new dated folder on the PC.
    void ctrlCStopsABackup()
    {
        DriveFixture drive;
        drive.addSystemFiles();
        for (int i = 0; i < 2000; ++i)
            drive.writeFile(QString("Songs/%1/s%2.mp3").arg(i / 500).arg(i), QByteArray(16 * 1024, 's'));
        const auto before = wholeTree(drive.root());
        QTemporaryDir pc;
        bool sent = false;
        const Run run = cli({"--json", "--yes", "backup", pc.path()}, {}, 0, [&](QProcess &child, const QJsonObject &e) {
            if (!sent && e.value("event") == "progress" && e.value("maximum").toInt() > 1000)
                sent = ::kill(pid_t(child.processId()), SIGINT) == 0;
        });
        QCOMPARE(QString::number(run.exitCode) + ' ' + run.last("end").value("result").toString() + ' '
                     + QString::number(run.last("end").value("exitCode").toInt()), QString("130 stopped 130"));
        const QStringList there = QDir(pc.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QVERIFY2(there.size() == 1 && there.first().startsWith("Corvel3 backup "), qPrintable(there.join(", ")));
        QCOMPARE(wholeTree(drive.root()), before);
    }

    // A dry run changes no byte and says, counted, what would be done: what the real run then does.
    void dryRun_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("summary");
        QTest::newRow("English") << "en" << "Dry run: nothing on the player changed.\n  would delete 3 files\n  would move 2 images into "
                                            "Images\n  would move 1,001 songs into 2 folders\n  would rewrite 1 playlist\n";
        QTest::newRow("Italian") << "it" << "Prova: nulla è cambiato sul lettore.\n  verrebbero eliminati 3 file\n  verrebbero spostate 2 "
                                            "immagini in Images\n  verrebbero spostate 1.001 basi in 2 cartelle\n  verrebbe riscritta 1 playlist\n";
    }
    void dryRun()
    {
        QFETCH(QString, lang);
        QFETCH(QString, summary);
        DriveFixture drive;
        fillLibrary(drive);
        for (int i = 0; i < 1001; ++i)
            drive.writeMidi(QString("Big/s%1.mid").arg(i, 4, 10, QChar('0')), (i % 2 ? "Amore " : "Zucchero ") + QString::number(i));
        for (const char *other : {"Rock/notes.exe", "Big/setup.exe", "Pop/x.doc", "Rock/cover.jpg", "Big/back.png"})
            drive.writeFile(other, "junk or image");
        const auto before = wholeTree(drive.root());
        const QString log = home.path() + "/XDG_DATA_HOME/corvel3/operations.log";
        const int logged = readBytes(log).count("\toptimise\t");
        const Run dry = cli({"--lang", lang, "--yes", "optimise", "--dry-run"});
        QCOMPARE(wholeTree(drive.root()), before);
        QCOMPARE(readBytes(log).count("\toptimise\t"), logged);   // no frame, no action in the log
        QVERIFY2(dry.out.endsWith(summary), qPrintable(dry.out.right(400)));
        QVERIFY2(!dry.out.contains(QRegularExpression("have been|successfully|sono stat|correttamente"))
                     && dry.out.contains(lang == "en" ? "would move" : "da spostare:"), qPrintable(dry.out));
        if (lang == "it")
            return;
        QStringList listed[2];   // the exit code and the actions of the dry run, then of the real one
        for (const bool real : {false, true}) {
            const Run run = cli(QStringList{"--json", "--yes", "optimise", "--delete", "--images"} + (real ? QStringList() : QStringList{"--dry-run"}));
            listed[real] << QString::number(run.exitCode);
            for (const QJsonObject &e : run.events)
                if (e.value("event") == "fileAction")
                    listed[real] << e.value("action").toString() + ' ' + e.value("path").toString() + ' ' + e.value("target").toString();
        }
        QCOMPARE(listed[false].size(), 7);   // 0; 3 deletions, "Images" made, 2 images
        QCOMPARE(listed[true], listed[false]);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
