// Defragmentation step: busy bar, status text, the silence rule, the stand-in defragmenter.
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include "device/platform.h"
#include "optimise/defrag.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"

namespace {

struct Harness {
    OperationState state;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    OperationContext ctx{state, dialogs, progress, nullptr, {}};

    explicit Harness(int language)
    {
        state.currentLanguage = language;
        progress.barVisible = true;
    }
};

platform::Command shell(const QString &script)
{
    return platform::Command{QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}};
}

void endProcess(QProcess &process)
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace

class TestDefrag : public QObject {
    Q_OBJECT

private slots:
    void chattyToolKeepsTheStepAliveUntilItFallsSilent_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("status");
        QTest::newRow("Italian") << 0 << "Deframmentazione della memoria...";
        QTest::newRow("English") << 1 << "Defrag in progress...";
        QTest::newRow("other language reads as English") << 7 << "Defrag in progress...";
    }
    void chattyToolKeepsTheStepAliveUntilItFallsSilent()
    {
        QFETCH(int, language);
        QFETCH(QString, status);
        QTemporaryDir dir;
        const QString marker = dir.filePath("output-done");
        Harness h(language);
        QProcess process;
        // Output for a while, then silence while the tool is still running.
        const QString script = QStringLiteral("i=0; while [ $i -lt 8 ]; do echo pass $i; echo warn >&2; sleep 0.1; "
                                              "i=$((i+1)); done; : > '%1'; exec sleep 30")
                                   .arg(marker);
        defrag::run(h.ctx, process, shell(script), 800);

        QVERIFY2(QFileInfo::exists(marker), "the wait ended while the tool was still writing");
        QCOMPARE(process.state(), QProcess::Running);   // left to go on in the background
        QCOMPARE(h.progress.barMinimum, 0);
        QCOMPARE(h.progress.barMaximum, 0);
        QCOMPARE(h.progress.statusText, status);
        QVERIFY(h.progress.repaints >= 2);
        QVERIFY(!h.progress.barVisible);
        QVERIFY(h.dialogs.prompts.isEmpty());
        endProcess(process);
    }

    void toolThatEndsEndsTheWait()
    {
        // With the program's own 30-second silence limit: an ended tool must not be waited for.
        Harness h(1);
        QProcess process;
        defrag::run(h.ctx, process, shell(QStringLiteral("echo done")));
        QVERIFY(process.state() == QProcess::NotRunning || process.waitForFinished(5000));
        QVERIFY(!h.progress.barVisible);
        QCOMPARE(h.progress.statusText, QStringLiteral("Defrag in progress..."));
    }

    void toolThatCannotStartEndsTheWaitSilently()
    {
        Harness h(0);
        QProcess process;
        defrag::run(h.ctx, process, platform::Command{QStringLiteral("/nonexistent/corvel3-defrag"), {}});
        QCOMPARE(process.state(), QProcess::NotRunning);
        QVERIFY(!h.progress.barVisible);
        QVERIFY(h.dialogs.prompts.isEmpty());
    }

    void runningToolIsWaitedForNotStartedAgain()
    {
        Harness h(1);
        QProcess process;
        process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo first; exec sleep 30")});
        QVERIFY(process.waitForStarted(5000));
        const qint64 pid = process.processId();
        defrag::run(h.ctx, process, shell(QStringLiteral("echo second")), 500);
        QCOMPARE(process.processId(), pid);
        QCOMPARE(process.state(), QProcess::Running);
        endProcess(process);
    }

    void standInSaysNothingIsDone()
    {
        const QString helper = platform::helperProgram(QStringLiteral("corvel3-nodefrag"));
        if (!QFileInfo(helper).isExecutable())
            QSKIP("corvel3-nodefrag is not built beside the tests (build the target corvel3-nodefrag)");
        QProcess process;
        process.start(helper, {QStringLiteral("vfat"), QStringLiteral("/media/u/CORVEL 3/")});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardOutput(),
                 QByteArray("No defragmenter for vfat file systems: nothing to do for /media/u/CORVEL 3/\n"));

        // Through the step: the stand-in's one line and its end finish the wait.
        Harness h(1);
        QProcess step;
        defrag::run(h.ctx, step, platform::Command{helper, {QStringLiteral("vfat"), QStringLiteral("/x/")}});
        QVERIFY(step.state() == QProcess::NotRunning || step.waitForFinished(5000));
        QCOMPARE(step.exitCode(), 0);
        QVERIFY(!h.progress.barVisible);
    }
};

QTEST_GUILESS_MAIN(TestDefrag)
#include "tst_defrag.moc"
