// The operations runner on a real player folder: a run's result comes from what its engine did,
// never from what a box said; one run at a time per player.
#include <QtTest>

#include <QLockFile>
#include <QProcess>
#include <QSysInfo>

#include "operations/operations.h"
#include "operations/runlock.h"
#include "tests/common/drivefixture.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"

namespace {

// The front end's boxes with every title and text replaced: a runner that read them would judge
// the same run differently.
class Reworded : public Dialogs {
public:
    explicit Reworded(Dialogs &inner) : inner(inner) {}
    int showMessage(const MessageBoxRequest &request) override
    {
        MessageBoxRequest changed = request;
        changed.title = QStringLiteral("Title ") + QString::number(++count);
        changed.text = QStringLiteral("Some other words");
        return inner.showMessage(changed);
    }
    QString chooseFolder(const FolderRequest &request) override { return inner.chooseFolder(request); }
    void aboutToolkit(QObject *parent) override { inner.aboutToolkit(parent); }

private:
    Dialogs &inner;
    int count = 0;
};

} // namespace

class TestRunner : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", (tmp.path() + "/data").toUtf8());   // the operation log and the user's lock
        QCoreApplication::setApplicationName("corvel3");
    }

    // The same backups in both languages and with every box reworded end the same way: a good
    // folder gives Done and the files, the player's own folder is refused and gives Failed.
    void resultComesFromTheWorkNotTheWords_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("reworded");
        QTest::addColumn<bool>("intoPlayer");
        for (const bool intoPlayer : {false, true})
            for (const int language : {0, 1})
                for (const bool reworded : {false, true})
                    QTest::addRow("%s, %s%s", intoPlayer ? "refused" : "saved", language ? "en" : "it",
                                  reworded ? ", reworded" : "")
                        << language << reworded << intoPlayer;
    }
    void resultComesFromTheWorkNotTheWords()
    {
        QFETCH(int, language);
        QFETCH(bool, reworded);
        QFETCH(bool, intoPlayer);
        DriveFixture drive;
        drive.addSystemFiles();
        drive.writeMidi("Basi/1.mid", "One");
        QTemporaryDir pc;
        ScriptedDialogs scripted;
        scripted.answer({intoPlayer ? drive.path("Basi") : pc.path(), "Ok"});
        Reworded words(scripted);
        RecordingProgress progress;
        Operations operations{Operations::FrontEnd{reworded ? static_cast<Dialogs *>(&words) : &scripted, &progress}};
        operations.state.currentLanguage = language;

        const Operations::Result result = operations.backup();
        QVERIFY2(scripted.failures.isEmpty(), qPrintable(scripted.failures.join('\n')));
        QCOMPARE(result, intoPlayer ? Operations::Result::Failed : Operations::Result::Done);
        QCOMPARE(Operations::exitCode(result), intoPlayer ? 1 : 0);
        QCOMPARE(operations.state.operationOk, !intoPlayer);
        QCOMPARE(scripted.prompts.last().code, intoPlayer ? QString() : QString("backup.done"));
        QCOMPARE(QDir(pc.path()).entryList({"Corvel3 backup *"}, QDir::Dirs).size(), intoPlayer ? 0 : 1);
        QVERIFY(!progress.busy());
    }

    // A second run on the same player refuses and touches nothing; a lock whose process has died,
    // or one another PC left on the player, is taken over; the run leaves no lock behind.
    void oneRunPerPlayer_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<bool>("refused");
        QTest::newRow("a live run of this PC") << "live" << true;
        QTest::newRow("a process that has died") << "dead" << false;
        QTest::newRow("another PC") << "other" << false;
        QTest::newRow("an earlier run of this process that lost its player") << "ours" << false;
    }
    void oneRunPerPlayer()
    {
        QFETCH(QString, holder);
        QFETCH(bool, refused);
        DriveFixture drive;
        drive.addSystemFiles();
        drive.writeMidi("Basi/1.mid", "One");
        const QString lockPath = RunLock::driveLockPath(drive.root());
        QLockFile live(lockPath);
        if (holder == "live") {
            QVERIFY(live.tryLock(0));
        } else {
            QProcess ended;   // its number, once it has ended, belongs to no process
            ended.start("sleep", {"60"});
            QVERIFY(ended.waitForStarted(10000));
            const qint64 pid = ended.processId();
            ended.kill();
            QVERIFY(ended.waitForFinished(10000));
            QFile lock(lockPath);
            QVERIFY(lock.open(QIODevice::WriteOnly));
            const qint64 holderPid = holder == "dead" ? pid : holder == "ours" ? QCoreApplication::applicationPid() : 1;
            lock.write(QByteArray::number(holderPid) + "\ncorvel3\n"
                       + (holder == "other" ? QByteArray("another-pc") : QSysInfo::machineHostName().toUtf8()) + "\n");
        }
        auto before = treeContents(drive.root());
        before.remove(".corvel3-lock");
        QTemporaryDir pc;
        ScriptedDialogs dialogs;
        dialogs.answer({pc.path(), "Ok"});
        Operations operations{Operations::FrontEnd{&dialogs}};
        operations.state.currentLanguage = 1;
        const Operations::Result result = operations.backup(pc.path());
        QCOMPARE(result, refused ? Operations::Result::Failed : Operations::Result::Done);
        QCOMPARE(dialogs.prompts.value(0).code, refused ? QString("lock.busy") : QString("backup.done"));
        QCOMPARE(QDir(pc.path()).isEmpty(), refused);
        live.unlock();
        QCOMPARE(treeContents(drive.root()), before);   // the player as it was, and no lock left on it
    }
};

QTEST_GUILESS_MAIN(TestRunner)
#include "tst_runner.moc"
