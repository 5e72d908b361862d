// Defragmentation step: the wait ends after a stretch of silence, not when the tool ends.
#include <QProcess>
#include <QtTest>

#include "optimise/defrag.h"
#include "tests/common/recordingprogress.h"
#include "tests/common/scripteddialogs.h"

struct Harness {
    OperationState state;
    ScriptedDialogs dialogs;
    RecordingProgress progress;
    OperationContext ctx{state, dialogs, progress, nullptr, {}};
    QProcess process;

    Harness() { progress.setBarVisible(true); }
    ~Harness()
    {
        process.kill();
        process.waitForFinished(5000);
    }
};

class TestDefrag : public QObject {
    Q_OBJECT

private slots:
    void chattyToolKeepsTheWaitGoingUntilItFallsSilent()
    {
        QTemporaryDir dir;
        const QString marker = dir.filePath("output-done");
        // Output on both channels for a while, then silence while the tool still runs.
        const QString script = QStringLiteral("i=0; while [ $i -lt 8 ]; do echo pass; echo warn >&2; sleep 0.1; "
                                              "i=$((i+1)); done; : > '%1'; exec sleep 30")
                                   .arg(marker);
        Harness h;
        defrag::run(h.ctx, h.process, {"/bin/sh", {"-c", script}}, 800);
        QVERIFY2(QFileInfo::exists(marker), "the wait ended while the tool was still writing");
        QCOMPARE(h.process.state(), QProcess::Running);   // left to go on in the background
        QCOMPARE(h.progress.maximum(), 0);
        QCOMPARE(h.progress.status(), QString("Deframmentazione della memoria..."));
        QVERIFY(!h.progress.barVisible());
    }

    void toolThatCannotStartEndsTheWaitSilently()
    {
        Harness h;
        h.state.currentLanguage = 1;
        defrag::run(h.ctx, h.process, {"/nonexistent/corvel3-defrag", {}});
        QCOMPARE(h.process.state(), QProcess::NotRunning);
        QCOMPARE(h.progress.status(), QString("Defrag in progress..."));
        QVERIFY(!h.progress.barVisible());
        QVERIFY(h.dialogs.prompts.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDefrag)
#include "tst_defrag.moc"
