// Every caption of both windows and the optimise panel is shown whole, in both languages, at the
// windows' fixed geometry with the display font, and without a warning on the console.
#include <QtTest>

#include "app/mainwindow_boot.h"
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
        QTest::newRow("italian") << 0;
        QTest::newRow("english") << 1;
    }
    void operationsWindowAndPanel()
    {
        QFETCH(int, language);
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        (language == 0 ? w.ui->pushBtnITA : w.ui->pushBtnENG)->click();
        QCOMPARE(w.ui->pushBtnUpdate->font().family(), QString("Bebas Neue"));
        QVERIFY2(cutCaptions(&w).isEmpty(), qPrintable(cutCaptions(&w).join("; ")));
        w.ui->frame->show();
        QVERIFY2(cutCaptions(&w).isEmpty(), qPrintable(cutCaptions(&w).join("; ")));
        // A caption that fits keeps the window's own size.
        QCOMPARE(w.ui->pushBtnOptimize->font().pointSize(), 22);
        saveScreenshot(&w, QString("captions-%1").arg(language));
    }

    // The language choice, then the waiting screen in the language just chosen.
    void startUpWindow_data() { operationsWindowAndPanel_data(); }
    void startUpWindow()
    {
        QFETCH(int, language);
        QTemporaryDir app;
        qputenv("CORVEL3_VOLUMES", "");
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
        qunsetenv("CORVEL3_VOLUMES");
    }
};

QTEST_MAIN(CaptionsTest)
#include "tst_captions.moc"
