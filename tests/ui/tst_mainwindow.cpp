// The operations window frame: message table, language buttons, busy widgets, Stop, and the
// event-pumping wait its operations use.
#include <QtTest>

#include "tests/common/scripteddialogs.h"
#include "core/delay.h"
#include "core/messagetable.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void messageTableAnswersInBothLanguages()
    {
        MainWindow w;
        for (int code = 0; code <= MSG_UPDATE_DOWNLOADED_TEXT; ++code) {
            w.currentLanguage = 0;
            const QString it = w.langDbInfo(LANGUAGE_STRING_CODE(code));
            w.currentLanguage = 1;
            const QString en = w.langDbInfo(LANGUAGE_STRING_CODE(code));
            QVERIFY2(!it.isEmpty() && !en.isEmpty(), qPrintable(QString::number(code)));
            // Only the download title and the restore title are shared by both languages.
            if (code != MSG_DOWNLOAD_ERROR_TITLE && code != MSG_RESTORE_ERROR_TITLE)
                QVERIFY2(it != en, qPrintable(QString::number(code)));
        }
        for (int language : {0, 1}) {
            w.currentLanguage = language;
            QCOMPARE(w.langDbInfo(MSG_DOWNLOAD_ERROR_TITLE), QString("Download Error "));
            QCOMPARE(w.langDbInfo(MSG_RESTORE_ERROR_TITLE), QString("Errore durante il Restore"));
            QCOMPARE(w.langDbInfo(MSG_END_OPERATION_TITLE), w.langDbInfo(MSG_UPDATE_END_TITLE));
        }
        const auto texts = [&w](int language) {
            w.currentLanguage = language;
            return QStringList{w.langDbInfo(MSG_RESTORE_ERROR_TEXT), w.langDbInfo(MSG_SEARCHING_DEVICE), w.langDbInfo(MSG_FORMAT_TITLE)};
        };
        QCOMPARE(texts(1), (QStringList{QString::fromUtf8("C'èstato durante il ripristino delle basi.\nOperazione annullata"),
                                        "Serching for Corvel3 USB Connection...", "Format Corvel3 HD"}));
        QCOMPARE(texts(0).mid(0, 2), (QStringList{QString::fromUtf8("C'è stato durante il ripristino delle basi.\nOperazione annullata"),
                                                  QString::fromUtf8("Cerco se Corvel3 è connesso via USB...")}));
        QCOMPARE(texts(2).last(), QString());
    }

    void languageButtonsSwitchTextsAndColours()
    {
        MainWindow w;
        QTest::mouseClick(w.ui->pushBtnENG, Qt::LeftButton);
        QCOMPARE(w.currentLanguage, 1);
        QCOMPARE((QStringList{w.ui->pushBtnENG->styleSheet(), w.ui->pushBtnITA->styleSheet(), w.ui->pushBtnUpdate->text(),
                              w.ui->Check_Split->text(), w.ui->label_help_move->text()}),
                 (QStringList{"* { color: #6196d1 }", "* { color: rgb(51, 51, 51) }", "UPDATE CORVEL WITH THE LAST RELEASE OF OPERATIVE SYSTEM",
                              "Split the bases into folders", "Shift every images from Corvel3 memory into the folder \"Images\"."}));

        QTest::mouseClick(w.ui->pushBtnITA, Qt::LeftButton);
        QCOMPARE(w.currentLanguage, 0);
        QCOMPARE((QStringList{w.ui->pushBtnITA->styleSheet(), w.ui->pushBtnENG->styleSheet(), w.ui->pushBtnInstallAndRestore->text(),
                              w.ui->Btn_Opt_Cancel->text(), w.ui->Btn_Opt_Ok->text()}),
                 (QStringList{"* { color: #6196d1 }", "* { color: rgb(51, 51, 51) }",
                              "REINSTALLA IL SISTEMA OPERATIVA E RIPRISTINA LE BASI", "Annulla", "OK"}));

        // Another language value sets no text and no colour, and the descriptions follow the flag.
        w.applyLanguage(false, 5);
        QCOMPARE(w.ui->pushBtnOptimize->text(), QString("OTTIMIZZA CORVEL"));
        QCOMPARE(w.ui->pushBtnITA->styleSheet(), QString("* { color: #6196d1 }"));
        QVERIFY(w.ui->labelDescr1->isHidden() && w.ui->labelDescr2->isHidden());
    }

    void busyWidgetsShowAndReset()
    {
        MainWindow w;
        w.show();
        const auto busy = [&w](bool on) {
            w.ui->progressBar->setValue(42);
            w.ui->labelAction->setText("working");
            w.showProgressWidgets(on, w.ui->progressBar, w.ui->labelAction, w.ui->pushButtonStop);
            QCOMPARE(w.ui->progressBar->value(), 0);
            for (QWidget *widget : {(QWidget *)w.ui->progressBar, (QWidget *)w.ui->labelAction, (QWidget *)w.ui->pushButtonStop})
                QCOMPARE(widget->isVisible(), on);
        };
        busy(true);
        QCOMPARE(w.ui->labelAction->text(), QString());
        busy(false);
    }

    void stopSetsTheFlagBeforeShowingTheBox_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::newRow("italian") << 0 << "Operazione Interrotta";
        QTest::newRow("english") << 1 << "Operation Stopped";
        QTest::newRow("another language reads as english") << 3 << "Operation Stopped";
    }
    // The flag first: the run goes on off the window's thread while the box is open.
    void stopSetsTheFlagBeforeShowingTheBox()
    {
        QFETCH(int, language);
        QFETCH(QString, text);
        MainWindow w;
        ScriptedDialogs dialogs;
        w.setDialogs(&dialogs);
        w.currentLanguage = language;
        bool flagWhileOpen = false;
        dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &) { flagWhileOpen = w.operations.state.stopRequested; };
        dialogs.answer("Ok");
        w.on_pushButtonStop_clicked();
        QVERIFY(flagWhileOpen && w.operations.state.stopRequested);
        QVERIFY(dialogs.failures.isEmpty());
        QCOMPARE(dialogs.prompts.size(), 1);
        const ScriptedDialogs::Prompt &p = dialogs.prompts[0];
        QCOMPARE((QStringList{p.title, p.text, p.captions().join('|')}), (QStringList{text, text, "Ok"}));
        QCOMPARE(p.icon, BoxIcon::Information);
        w.setDialogs(nullptr);
    }

    // Zero returns at once; otherwise timers and queued calls run during the wait.
    void eventsArriveDuringTheWait()
    {
        bool ran = false;
        QMetaObject::invokeMethod(this, [&] { ran = true; }, Qt::QueuedConnection);
        delay(0);
        QVERIFY(!ran);
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(20);
        QElapsedTimer clock;
        clock.start();
        delay(300);
        QVERIFY(ran && clock.elapsed() >= 300);
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
