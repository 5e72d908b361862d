// Every caption of both windows and the optimise panel is shown whole, in both languages, at the
// windows' fixed geometry with the display font, also at 1.5 times the text size (a desktop set to
// 144 dpi), and without a warning on the console.
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include "app/mainwindow_boot.h"
#include "tests/common/drivefixture.h"
#include "tests/common/screenshots.h"
#include "ui/captionfit.h"
#include "ui/screenfit.h"
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
// child process of this test started at that resolution, and passes when the child's row passes.
static const qreal kBaseDpi = 100;   // Qt 5's offscreen platform's own
static bool runsHereAt(qreal textScale)
{
    return qFuzzyCompare(QGuiApplication::primaryScreen()->logicalDotsPerInchY(), kBaseDpi * textScale);
}
static QString runInChildAt(qreal textScale)
{
    const int dpi = qRound(kBaseDpi * textScale);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CORVEL3_CAPTIONS_CHILD", "1");   // a child never starts another
    // Qt 5's offscreen platform takes QT_FONT_DPI; Qt 6's ignores it and reads a screen description.
    env.insert("QT_FONT_DPI", QString::number(dpi));
    QTemporaryDir dir;
    QFile screens(dir.filePath("screens.json"));
    if (!screens.open(QIODevice::WriteOnly)
        || screens.write(QString(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": 1920, "height": 1080, )"
                                 R"("logicalDpi": %1, "logicalBaseDpi": %1, "dpr": 1}]})")
                             .arg(dpi)
                             .toUtf8())
               < 0)
        return "the screen description cannot be written";
    screens.close();
    env.insert("QT_QPA_PLATFORM", QT_VERSION_MAJOR >= 6 ? "offscreen:configfile=" + screens.fileName() : "offscreen");
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QString row = QString("%1(%2)").arg(QTest::currentTestFunction(), QTest::currentDataTag());
    child.start(QCoreApplication::applicationFilePath(),
                {QString("%1:%2").arg(QTest::currentTestFunction(), QTest::currentDataTag())});
    if (!child.waitForFinished(120000))
        return "the child did not finish";
    const QString output = QString::fromLocal8Bit(child.readAll());
    const bool passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0
                        && output.contains("PASS   : CaptionsTest::" + row);
    return passed ? QString() : output;
}
// A child that still is not at its resolution fails rather than passing a row it never ran.
#define RUN_AT_TEXT_SCALE(scale)                                                   \
    if (!runsHereAt(scale)) {                                                      \
        const bool child = qEnvironmentVariableIsSet("CORVEL3_CAPTIONS_CHILD");    \
        QVERIFY2(!child, "the text size cannot be set on this platform");          \
        const QString failure = runInChildAt(scale);                               \
        QVERIFY2(failure.isEmpty(), qPrintable(failure));                          \
        return;                                                                    \
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


    // A panel laid over the page: a framed widget that is neither a label nor a scroll area.
    static bool isPanel(const QWidget *w)
    {
        return qobject_cast<const QFrame *>(w) && !qobject_cast<const QLabel *>(w)
               && !qobject_cast<const QAbstractScrollArea *>(w);
    }
    // The layer a widget lies on: the nearest panel over the page, else the page.
    static const QWidget *layerOf(const QWidget *w)
    {
        for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
            if (isPanel(p))
                return p;
        return w->window();
    }
    static QRect onWindow(const QWidget *w) { return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()); }

    // Controls (buttons, check boxes, bars) of one layer never overlap; a control of the page
    // that meets an open panel lies wholly under it. (Labels are the captions' concern.)
    static QStringList overlaps(QWidget *window)
    {
        QList<const QWidget *> controls, panels;
        for (const QWidget *w : window->findChildren<QWidget *>()) {
            if (!w->isVisible())
                continue;
            if (qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QProgressBar *>(w))
                controls << w;
            else if (isPanel(w))
                panels << w;
        }
        QStringList found;
        for (int i = 0; i < controls.size(); ++i) {
            const QWidget *a = controls[i];
            for (const QWidget *panel : panels)
                if (layerOf(a) == window && onWindow(a).intersects(onWindow(panel)) && !onWindow(panel).contains(onWindow(a)))
                    found << a->objectName() + " shows past the edge of " + panel->objectName();
            for (int j = i + 1; j < controls.size(); ++j) {
                const QWidget *b = controls[j];
                if (layerOf(a) == layerOf(b) && onWindow(a).intersects(onWindow(b)))
                    found << a->objectName() + " overlaps " + b->objectName();
            }
        }
        return found;
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

    // In each state of the window, both languages: idle, the optimise panel open, an operation
    // under way (status line, Stop and the bar shown).
    void nothingOverlaps_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("state");
        for (int language : {0, 1})
            for (const char *state : {"idle", "panel", "busy"})
                QTest::addRow("%s %s", language == 0 ? "italian" : "english", state) << language << QString(state);
    }
    void nothingOverlaps()
    {
        QFETCH(int, language);
        QFETCH(QString, state);
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        (language == 0 ? w.ui->pushBtnITA : w.ui->pushBtnENG)->click();
        if (state == "panel")
            w.ui->pushBtnOptimize->click();
        if (state == "busy")
            w.showProgressWidgets(true, w.ui->progressBar, w.ui->labelAction, w.ui->pushButtonStop);
        QVERIFY(w.ui->frame->isVisible() == (state == "panel") && w.ui->pushButtonStop->isVisible() == (state == "busy"));
        QVERIFY2(overlaps(&w).isEmpty(), qPrintable(overlaps(&w).join("; ")));
    }

    // On a screen shorter than the window's design the page scrolls at its own size and the
    // window widens by the scroll bar; on a taller one the window keeps its design size.
    void fitsTheScreen_data()
    {
        QTest::addColumn<bool>("startUp");
        QTest::addColumn<int>("room");
        for (bool startUp : {false, true}) {
            QTest::addRow("%s, 1366x768 less a panel", startUp ? "start-up" : "operations") << startUp << 700;
            QTest::addRow("%s, tall screen", startUp ? "start-up" : "operations") << startUp << 1000;
        }
    }
    void fitsTheScreen()
    {
        QFETCH(bool, startUp);
        QFETCH(int, room);
        MainWindow_boot boot;
        QMainWindow *window = startUp ? static_cast<QMainWindow *>(&boot) : boot.mainWindow;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCoreApplication::processEvents();
        screenfit::fitTo(window, room);
        auto *area = window->findChild<QScrollArea *>();
        QWidget *lowest = window->findChild<QWidget *>(startUp ? "label_5" : "label");   // "Release 2.1"
        QVERIFY(area && lowest);
        QTRY_COMPARE(area->verticalScrollBar()->isVisible(), room < 751);
        if (room < 751)
            QCOMPARE(window->frameGeometry().height(), room);
        else
            QCOMPARE(window->height(), 751);
        QCOMPARE(window->width(), 620 + (room < 751 ? area->verticalScrollBar()->width() : 0));
        QVERIFY(!area->horizontalScrollBar()->isVisible());
        QCOMPARE(area->widget()->size(), area->widget()->minimumSize());
        area->ensureWidgetVisible(lowest, 0, 0);
        const QRect shown(lowest->mapTo(area->viewport(), QPoint(0, 0)), lowest->size());
        QVERIFY2(area->viewport()->rect().contains(shown), "the foot of the page cannot be scrolled into view");
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
