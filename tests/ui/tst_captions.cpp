// Every caption of both windows and the optimise panel is shown whole, in both languages, at the
// windows' fixed geometry with the display font, also at 1.5 times the text size (a desktop set to
// 144 dpi), and without a warning on the console.
#include <QScreen>
#include <QtTest>

#include "app/mainwindow_boot.h"
#include "tests/common/drivefixture.h"
#include "tests/common/screenshots.h"
#include "ui/captionfit.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

// Warnings printed while the windows are built and shown (the offscreen platform's own excepted).
static QStringList warnings;
static void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type >= QtWarningMsg && !message.contains("propagateSizeHints"))
        warnings << message;
}

// The font resolution is fixed when the application starts: a row at another text size runs in a
// child process of this test started with QT_FONT_DPI, and passes when the child passes.
static const qreal kBaseDpi = 100;   // the offscreen platform's own
static bool runsHereAt(qreal textScale)
{
    return qFuzzyCompare(QGuiApplication::primaryScreen()->logicalDotsPerInchY(), kBaseDpi * textScale);
}
static QString runInChildAt(qreal textScale)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_FONT_DPI", QString::number(qRound(kBaseDpi * textScale)));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QString("%1:%2").arg(QTest::currentTestFunction(), QTest::currentDataTag())});
    if (!child.waitForFinished(120000))
        return "the child did not finish";
    const QString output = QString::fromLocal8Bit(child.readAll());
    return child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 ? QString() : output;
}
#define RUN_AT_TEXT_SCALE(scale)                                  \
    if (!runsHereAt(scale)) {                                     \
        const QString failure = runInChildAt(scale);              \
        QVERIFY2(failure.isEmpty(), qPrintable(failure));         \
        return;                                                   \
    }

class CaptionsTest : public QObject {
    Q_OBJECT

    static QStringList cutCaptions(QWidget *window)
    {
        QStringList cut;
        for (QWidget *w : window->findChildren<QWidget *>()) {
            QString why;
            if (w->isVisible() && !captions::fits(w, &why))
                cut << why;
        }
        return cut;
    }

private slots:
    void init() { warnings.clear(); qInstallMessageHandler(collectWarnings); }
    void cleanup()
    {
        qInstallMessageHandler(nullptr);
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join("\n")));   // a quiet run
    }

    void operationsWindowAndPanel_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<qreal>("textScale");
        QTest::newRow("italian") << 0 << 1.0;
        QTest::newRow("english") << 1 << 1.0;
        QTest::newRow("italian 1.5x") << 0 << 1.5;
        QTest::newRow("english 1.5x") << 1 << 1.5;
    }
    void operationsWindowAndPanel()
    {
        QFETCH(int, language);
        QFETCH(qreal, textScale);
        RUN_AT_TEXT_SCALE(textScale);
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        (language == 0 ? w.ui->pushBtnITA : w.ui->pushBtnENG)->click();
        QCOMPARE(w.ui->pushBtnUpdate->font().family(), QString("Bebas Neue"));
        QVERIFY2(cutCaptions(&w).isEmpty(), qPrintable(cutCaptions(&w).join("; ")));
        w.ui->frame->show();
        QVERIFY2(cutCaptions(&w).isEmpty(), qPrintable(cutCaptions(&w).join("; ")));
        // A caption that fits keeps the window's own size.
        if (textScale == 1.0)
            QCOMPARE(w.ui->pushBtnOptimize->font().pointSize(), 22);
        saveScreenshot(&w, QString("captions-%1-%2").arg(language).arg(textScale));
    }

    // The language choice, the waiting screen in the language just chosen, then the clean check's
    // title over its text once the player is there.
    void startUpWindow_data() { operationsWindowAndPanel_data(); }
    void startUpWindow()
    {
        QFETCH(int, language);
        QFETCH(qreal, textScale);
        RUN_AT_TEXT_SCALE(textScale);
        QTemporaryDir app;
        DriveFixture drive;
        drive.addSystemFiles();
        drive.unplug();
        MainWindow_boot boot;
        boot.appDirPath = app.path() + "/";
        boot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&boot));
        boot.check_language();
        QVERIFY2(cutCaptions(&boot).isEmpty(), qPrintable(cutCaptions(&boot).join("; ")));
        const QList<QPushButton *> flags = boot.findChildren<QPushButton *>(language == 0 ? "pushButton" : "pushButton_2");
        QCOMPARE(flags.size(), 1);
        flags[0]->click();
        QVERIFY2(cutCaptions(&boot).isEmpty(), qPrintable(cutCaptions(&boot).join("; ")));
        drive.plugIn();
        QTRY_VERIFY_WITH_TIMEOUT(boot.findChild<QPushButton *>("Push_Button")->isVisible(), 20000);
        QVERIFY2(cutCaptions(&boot).isEmpty(), qPrintable(cutCaptions(&boot).join("; ")));
        saveScreenshot(&boot, QString("captions-check-%1-%2").arg(language).arg(textScale));
    }
};

QTEST_MAIN(CaptionsTest)
#include "tst_captions.moc"
