// The real corvel3-cli against a player drive in a temporary folder (and the loopback update
// server): usage, exit codes, languages, answers by meaning, JSON events, the log of a run,
// Ctrl-C, the progress bar on a terminal, and a dry run that changes nothing.
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "tests/common/drivefixture.h"
#include "tests/update/updatetestsupport.h"

namespace {

using Environment = QMap<QString, QString>;   // "" unsets

struct Run {
    int exitCode = -1;
    QList<QJsonObject> events;   // with --json
    QString out;
    QString err;
    QJsonObject last(const QString &event) const
    {
        for (auto e = events.crbegin(); e != events.crend(); ++e)
            if (e->value("event").toString() == event)
                return *e;
        return QJsonObject();
    }
};

// A pseudo-terminal `columns` wide: the child writes to its far side, the test reads what it shows.
class Pty {
public:
    explicit Pty(int columns) : master(::posix_openpt(O_RDWR | O_NOCTTY))
    {
        ::grantpt(master);
        ::unlockpt(master);
        winsize size{};
        size.ws_col = columns;
        size.ws_row = 24;
        ::ioctl(master, TIOCSWINSZ, &size);
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);   // kept open: reads never fail with EIO
        QObject::connect(&notifier, &QSocketNotifier::activated, [this] { drain(); });
    }
    ~Pty() { ::close(slave); ::close(master); }
    QString path() const { return QString::fromLocal8Bit(::ptsname(master)); }
    void drain()
    {
        char buffer[4096];
        for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
            shown.append(buffer, int(n));
    }
    QByteArray shown;

private:
    int master;
    int slave;
    QSocketNotifier notifier{master, QSocketNotifier::Read};
};

// Runs the tool with its standard input closed, so every question takes its answer by meaning,
// without a language from the locale unless env gives one. onEvent sees each JSON line as it comes.
Run cli(const QStringList &arguments, const Environment &env = {},
        const std::function<void(QProcess &, const QJsonObject &)> &onEvent = {}, Pty *terminal = nullptr)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        environment.remove(name);
    environment.insert("LC_CTYPE", "C.UTF-8");
    for (auto it = env.cbegin(); it != env.cend(); ++it)
        it.value().isEmpty() ? environment.remove(it.key()) : environment.insert(it.key(), it.value());
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    if (terminal) {
        process.setStandardOutputFile(terminal->path());
        process.setStandardErrorFile(terminal->path());
    }
    Run run;
    QByteArray pending;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
        pending += process.readAllStandardOutput();
        for (int end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QByteArray line = pending.left(end);
            run.out += QString::fromUtf8(line) + '\n';
            if (!arguments.contains("--json"))
                continue;
            const QJsonDocument doc = QJsonDocument::fromJson(line);
            run.events << doc.object();
            if (!doc.isObject() || doc.object().value("schema").toInt() != 1 || !doc.object().contains("event"))
                run.exitCode = -2;   // every line of stdout is one JSON object of schema 1
            if (onEvent)
                onEvent(process, doc.object());
        }
    });
    // Waits with the event loop running: the loopback server lives in this process.
    QEventLoop loop;
    QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop, &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    process.start(QCoreApplication::applicationDirPath() + "/corvel3-cli", arguments);
    loop.exec();
    if (terminal)
        terminal->drain();
    if (process.state() != QProcess::NotRunning || process.exitStatus() != QProcess::NormalExit)
        return run;
    if (!terminal)
        run.err = QString::fromUtf8(process.readAllStandardError());
    if (run.exitCode != -2)
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
    QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
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

    // Without a player at work: help, version and usage errors on the right stream.
    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");   // what stdout starts with
        QTest::addColumn<QString>("err");   // stderr, whole
        const QString again = "\nTry 'corvel3-cli --help'.\n";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: corvel3-cli [OPTIONS] COMMAND" << "";
        QTest::newRow("a command's help, even with its arguments missing")
            << QStringList{"backup", "--help"} << 0 << "Usage: corvel3-cli [OPTIONS] backup FOLDER" << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "corvel3-cli 2." << "";
        QTest::newRow("no command") << QStringList{"--yes"} << 2 << "" << "corvel3-cli: no command given" + again;
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "" << "corvel3-cli: unknown command 'frobnicate'" + again;
        QTest::newRow("unknown option after the command")
            << QStringList{"optimise", "--fast"} << 2 << "" << "corvel3-cli: unknown option '--fast'" + again;
        QTest::newRow("reinstall --restore without its folder")
            << QStringList{"reinstall", "--restore"} << 2 << "" << "corvel3-cli: --restore needs FOLDER" + again;
        QTest::newRow("--restore taking the next option for its folder")
            << QStringList{"reinstall", "--restore", "--erase"} << 2 << "" << "corvel3-cli: --restore needs FOLDER" + again;
        QTest::newRow("both reinstall variants") << QStringList{"reinstall", "--erase", "--restore", "/tmp"} << 2 << ""
                                                  << "corvel3-cli: --erase and --restore exclude each other" + again;
        QTest::newRow("backup without its folder") << QStringList{"backup"} << 2 << "" << "corvel3-cli: backup needs FOLDER" + again;
        QTest::newRow("an extra argument") << QStringList{"check", "now"} << 2 << "" << "corvel3-cli: unexpected argument 'now'" + again;
        QTest::newRow("a folder that is not there is not made")
            << QStringList{"backup", "/nonexistent/corvel"} << 2 << "" << "corvel3-cli: no folder '/nonexistent/corvel'" + again;
        QTest::newRow("a language of neither kind") << QStringList{"--lang", "fr", "check"} << 2 << ""
                                                     << "corvel3-cli: --lang takes it or en" + again;
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        DriveFixture drive;
        drive.addSystemFiles();
        const auto before = wholeTree(drive.root());
        const Run run = cli(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(out.isEmpty() ? run.out.isEmpty() : run.out.startsWith(out), qPrintable(run.out));
        QCOMPARE(run.err, err);
        QCOMPARE(wholeTree(drive.root()), before);
    }

    void exitCodes_data()
    {
        QTest::addColumn<QString>("player");   // "clean", "missing", "none"
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("code");     // of the last message
        QTest::newRow("a clean player checks out with 0") << "clean" << QStringList{"check"} << 0 << "check.clean";
        QTest::newRow("a missing display program gives 1") << "missing" << QStringList{"check"} << 1 << "check.missing";
        QTest::newRow("no player gives 3") << "none" << QStringList{"check"} << 3 << "device.notFound";
        QTest::newRow("no player gives 3 before a backup starts") << "none" << QStringList{"backup", "/tmp"} << 3
                                                                  << "device.notFound";
    }
    void exitCodes()
    {
        QFETCH(QString, player);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, code);
        DriveFixture drive;
        if (player == "none")
            drive.unplug();   // no volumes at all, whatever is mounted on this machine
        drive.addSystemFiles();
        if (player == "missing")
            QFile::remove(drive.path("System/DispProc/DispProc.exe"));
        const auto before = wholeTree(drive.root());
        const Run run = cli(QStringList{"--json"} + arguments);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(wholeTree(drive.root()), before);
        QCOMPARE(run.events.first().value("event").toString(), QString("start"));
        QCOMPARE(run.last("message").value("code").toString(), code);
        QCOMPARE(run.last("end").value("exitCode").toInt(), exitCode);
        if (player == "missing")
            QCOMPARE(run.last("end").value("missing").toVariant().toStringList(), QStringList{"System/DispProc/DispProc.exe"});
    }

    // The language file beside the program would decide before the locale.
    void language_data()
    {
        QTest::addColumn<Environment>("env");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        const QString it = "CONTROLLO SOFTWARE COMPLETATO\n", en = "SOFTWARE CONTROL COMPLETED\n";
        QTest::newRow("LANG Italian") << Environment{{"LANG", "it_IT.UTF-8"}} << QStringList{"check"} << it;
        QTest::newRow("--lang before LANG") << Environment{{"LANG", "it_IT.UTF-8"}} << QStringList{"check", "--lang", "en"} << en;
        QTest::newRow("LC_ALL before LANG") << Environment{{"LC_ALL", "en_GB.UTF-8"}, {"LANG", "it_IT.UTF-8"}}
                                            << QStringList{"check"} << en;
        QTest::newRow("an empty LC_ALL says nothing")
            << Environment{{"LC_ALL", ""}, {"LC_MESSAGES", "it_CH"}, {"LANG", "en_US"}} << QStringList{"check"} << it;
        QTest::newRow("nothing set: English") << Environment{} << QStringList{"check"} << en;
        QTest::newRow("help in Italian") << Environment{{"LANG", "it_IT.UTF-8"}} << QStringList{"--help"}
                                         << "Uso: corvel3-cli [OPZIONI] COMMAND [ARGOMENTI]\n";
    }
    void language()
    {
        QFETCH(Environment, env);
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        if (QFileInfo::exists(QCoreApplication::applicationDirPath() + "/Corvel.ini"))
            QSKIP("a Corvel.ini beside the program chooses the language");
        DriveFixture drive;
        drive.addSystemFiles();
        const Run run = cli(arguments, env);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(said), qPrintable(run.out));
    }

    // A backup, songs lost and changed on the player, then a restore from the folder that holds
    // the dated backup. Without a terminal and without --yes the overwrite question takes the
    // answer that loses nothing; with --yes every song comes back.
    void backupThenRestoreBringsEverySongBack()
    {
        DriveFixture drive;
        fillLibrary(drive);
        const auto whole = wholeTree(drive.root());
        QTemporaryDir pc;
        QFile::remove(home.path() + "/XDG_DATA_HOME/corvel3/operations.log");
        const Run backup = cli({"--lang", "en", "backup", pc.path()});
        QCOMPARE(backup.exitCode, 0);
        QVERIFY(backup.out.startsWith("Done\nWritten into " + pc.path() + "/Corvel3 backup "));
        // The runner frames the run in the log once; the tool adds no line of its own.
        QFile log(home.path() + "/XDG_DATA_HOME/corvel3/operations.log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QStringList frames;
        for (const QByteArray &line : log.readAll().split('\n'))
            if (line.split('\t').value(2) == "start" || line.split('\t').value(2) == "end")
                frames << QString::fromUtf8(line.split('\t').mid(1).join(' '));
        QCOMPARE(frames, (QStringList{"backup start", "backup end ok"}));

        QDir(drive.path("Pop")).removeRecursively();
        QFile::remove(drive.path("System/Playlist/.hidden.pls"));
        drive.writeFile("Rock/a.mid", "edited on the player");
        const auto damaged = wholeTree(drive.root());
        const Run declined = cli({"--json", "--lang", "it", "restore", pc.path()});
        QCOMPARE(declined.exitCode, 1);
        const QJsonObject question = declined.last("question");
        QCOMPARE((QStringList{question.value("title").toString(), question.value("answerCaption").toString(),
                              question.value("answeredBy").toString(), declined.last("end").value("result").toString()}),
                 (QStringList{"Copie di backup", "No", "safe", "declined"}));
        QCOMPARE(wholeTree(drive.root()), damaged);

        const Run restore = cli({"--yes", "--json", "restore", pc.path()});
        QCOMPARE(restore.exitCode, 0);
        const QJsonObject asked = restore.last("question");
        QCOMPARE(asked.value("kind").toString() + ' ' + asked.value("answeredBy").toString(), QString("overwrite yes"));
        QCOMPARE(wholeTree(drive.root()), whole);
    }

    // The first Ctrl-C stops the backup at its next file: exit 130, and nothing on the PC but
    // the new dated folder.
    void ctrlCStopsABackup()
    {
        DriveFixture drive;
        drive.addSystemFiles();
        const QByteArray song(16 * 1024, 's');
        for (int i = 0; i < 2000; ++i)
            drive.writeFile(QString("Songs/%1/s%2.mp3").arg(i / 500).arg(i), song);
        const auto before = wholeTree(drive.root());
        QTemporaryDir pc;
        bool sent = false;
        const Run run = cli({"--json", "--yes", "backup", pc.path()}, {}, [&](QProcess &child, const QJsonObject &e) {
            if (!sent && e.value("event") == "progress" && e.value("maximum").toInt() > 1000) {
                sent = true;
                ::kill(pid_t(child.processId()), SIGINT);
            }
        });
        QVERIFY(sent);
        QCOMPARE(run.exitCode, 130);
        QCOMPARE(run.last("end").value("result").toString() + ' ' + QString::number(run.last("end").value("exitCode").toInt()),
                 QString("stopped 130"));
        const QStringList there = QDir(pc.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(there.size(), 1);
        QVERIFY(there.first().startsWith("Corvel3 backup "));
        QCOMPARE(wholeTree(drive.root()), before);
    }

    // On a terminal the bar is redrawn in place within its width and is gone before any other line.
    void progressBarOnATerminal_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("done");
        QTest::newRow("60 columns") << 60 << "en" << "Done";
        QTest::newRow("24 columns, longer texts") << 24 << "it" << "Fatto";
    }
    void progressBarOnATerminal()
    {
        QFETCH(int, columns);
        QFETCH(QString, lang);
        QFETCH(QString, done);
        DriveFixture drive;
        fillLibrary(drive);
        QTemporaryDir pc;
        Pty terminal(columns);
        QCOMPARE(cli({"--lang", lang, "backup", pc.path()}, {{"COLUMNS", "200"}}, {}, &terminal).exitCode, 0);
        // Each clear (ESC [ K) follows a return to the line's start. Between two clears comes a
        // bar (no line end) or lines of their own; a \r that starts no new line would leave debris.
        const QStringList pieces = QString::fromUtf8(terminal.shown).split("\x1b[K");
        QCOMPARE(pieces.first(), QString("\r"));
        int bars = 0;
        for (const QString &piece : pieces.mid(1)) {
            QVERIFY2(!piece.contains(QRegularExpression("\r(?!\n|$)")), qPrintable(piece));
            if (!piece.contains('\n')) {
                ++bars;
                QVERIFY2(piece.size() - 1 < columns, qPrintable(piece));
            }
        }
        QVERIFY(bars > 1);
        QVERIFY2(pieces.last().startsWith(done + "\r\n"), qPrintable(pieces.last()));   // the last bar is gone
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
        const auto before = wholeTree(drive.root());
        const Run run = cli({"--json", "--lang", "en", "update"});
        QCOMPARE(run.exitCode, served ? 0 : 1);
        QCOMPARE(run.last("message").value("kind").toString(), QString(served ? "information" : "error"));
        if (served)
            QVERIFY(QFileInfo(drive.path("CorvelUpdate/version.txt")).isFile());
        else
            QCOMPARE(wholeTree(drive.root()), before);
    }

    // A dry run of every step changes no byte and says what would be done, counted, in either
    // language; its list of actions is what the real run then does.
    void dryRun_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("summary");
        QTest::newRow("English") << "en"
                                 << QStringList{"Dry run: nothing on the player changed.", "  would delete 3 files",
                                                "  would move 2 images into Images", "  would move 1,001 songs into 2 folders", "  would rewrite 1 playlist"};
        QTest::newRow("Italian") << "it"
                                 << QStringList{"Prova: nulla è cambiato sul lettore.", "  verrebbero eliminati 3 file",
                                                "  verrebbero spostate 2 immagini in Images",
                                                "  verrebbero spostate 1.001 basi in 2 cartelle", "  verrebbe riscritta 1 playlist"};
    }
    void dryRun()
    {
        QFETCH(QString, lang);
        QFETCH(QStringList, summary);
        DriveFixture drive;
        fillLibrary(drive);
        for (int i = 0; i < 1001; ++i)
            drive.writeMidi(QString("Big/s%1.mid").arg(i, 4, 10, QChar('0')), (i % 2 ? "Amore " : "Zucchero ") + QString::number(i));
        for (const char *junk : {"Rock/notes.exe", "Big/setup.exe", "Pop/x.doc"})
            drive.writeFile(junk, "junk");
        drive.writeFile("Rock/cover.jpg", "image");
        drive.writeFile("Big/back.png", "image");
        const auto before = wholeTree(drive.root());
        const Run dry = cli({"--lang", lang, "--yes", "optimise", "--dry-run"});
        QCOMPARE(wholeTree(drive.root()), before);
        QCOMPARE(dry.exitCode, 0);
        QVERIFY2(dry.out.endsWith(summary.join('\n') + '\n'), qPrintable(dry.out.right(400)));
        for (const char *done : {"have been", "successfully", "sono stat", "correttamente"})
            QVERIFY2(!dry.out.contains(done), done);
        QVERIFY(dry.out.contains(lang == "en" ? "would move" : "da spostare:"));

        if (lang == "it")
            return;
        const Run listed = cli({"--json", "--yes", "optimise", "--dry-run", "--delete", "--images"});
        const Run real = cli({"--json", "--yes", "optimise", "--delete", "--images"});
        QCOMPARE(real.exitCode, 0);
        auto actions = [](const Run &run) {
            QStringList list;
            for (const QJsonObject &e : run.events)
                if (e.value("event").toString() == "fileAction")
                    list << e.value("action").toString() + ' ' + e.value("path").toString() + ' ' + e.value("target").toString();
            return list;
        };
        QCOMPARE(actions(listed).size(), 6);   // 3 deletions, "Images" made, 2 images
        QCOMPARE(actions(listed), actions(real));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
