// The operations window frame: message table, language buttons, busy widgets, Stop, and the
// event-pumping wait its operations use.
#include <QtTest>

#include "tests/common/scripteddialogs.h"
#include "core/delay.h"
#include "core/messagetable.h"
#include "core/operationlog.h"
#include "ui/mainwindow.h"
#include "ui/mnemonics.h"
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
        QCOMPARE((QStringList{w.ui->pushBtnENG->styleSheet(), w.ui->pushBtnITA->styleSheet(), mnemonics::plain(w.ui->pushBtnUpdate->text()),
                              mnemonics::plain(w.ui->Check_Split->text()), w.ui->label_help_move->text()}),
                 (QStringList{"* { color: #6196d1 }", "* { color: rgb(51, 51, 51) }", "UPDATE CORVEL WITH THE LAST RELEASE OF OPERATIVE SYSTEM",
                              "Split the bases into folders", "Shift every images from Corvel3 memory into the folder \"Images\"."}));

        QTest::mouseClick(w.ui->pushBtnITA, Qt::LeftButton);
        QCOMPARE(w.currentLanguage, 0);
        QCOMPARE((QStringList{w.ui->pushBtnITA->styleSheet(), w.ui->pushBtnENG->styleSheet(), mnemonics::plain(w.ui->pushBtnInstallAndRestore->text()),
                              mnemonics::plain(w.ui->Btn_Opt_Cancel->text()), mnemonics::plain(w.ui->Btn_Opt_Ok->text())}),
                 (QStringList{"* { color: #6196d1 }", "* { color: rgb(51, 51, 51) }",
                              "REINSTALLA IL SISTEMA OPERATIVA E RIPRISTINA LE BASI", "Annulla", "OK"}));

        // Another language value sets no text and no colour, and the descriptions follow the flag.
        w.applyLanguage(false, 5);
        QCOMPARE(mnemonics::plain(w.ui->pushBtnOptimize->text()), QString("OTTIMIZZA CORVEL"));
        QCOMPARE(w.ui->pushBtnITA->styleSheet(), QString("* { color: #6196d1 }"));
        QVERIFY(w.ui->labelDescr1->isHidden() && w.ui->labelDescr2->isHidden());
    }

    // The images are compiled in (the font is checked with the captions).
    void imagesAreLoaded()
    {
        MainWindow w;
        QVERIFY(!w.palette().brush(QPalette::Window).texture().isNull());
        for (const char *image : {":/imgs/bandiera-italia", ":/imgs/bandiera-inglese", ":/imgs/coll", ":/imgs/chiudi.png"})
            QVERIFY2(!QPixmap(image).isNull(), image);
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

    // Every operation and panel button has an Alt+letter of its own in both languages (after a
    // switch back and forth too), the letter works, and the buttons without text have names.
    void mnemonicsAndAccessibleNames()
    {
        MainWindow w;
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QStringList namesSeen;
        for (QPushButton *language : {w.ui->pushBtnENG, w.ui->pushBtnITA, w.ui->pushBtnENG}) {
            language->click();
            QMap<QChar, QString> letters;
            for (QAbstractButton *b : w.findChildren<QAbstractButton *>()) {
                const QChar letter = mnemonics::letterOf(b->text());
                QVERIFY2(b->text().count('&') <= 1, qPrintable(b->text()));
                if (!letter.isNull())
                    QVERIFY2(!letters.contains(letter), qPrintable(letters.value(letter) + " and " + b->objectName()));
                letters.insert(letter, b->objectName());
            }
            for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{
                     w.ui->pushBtnUpdate, w.ui->pushBtnBackup, w.ui->pushBtnRestore, w.ui->pushBtnOptimize, w.ui->pushBtnInstall,
                     w.ui->pushBtnInstallAndClean, w.ui->pushBtnInstallAndRestore, w.ui->Check_Optimize, w.ui->Check_Delete,
                     w.ui->Check_Move, w.ui->Check_Split, w.ui->Btn_Opt_Cancel, w.ui->Btn_Opt_Ok, w.ui->pushButtonStop})
                QVERIFY2(!mnemonics::letterOf(b->text()).isNull(), qPrintable(b->objectName()));
            namesSeen << w.ui->pushBtnQuit_2->accessibleName() << w.ui->pushBtnITA->accessibleName();
        }
        QVERIFY(!namesSeen.contains(QString()) && namesSeen[0] != namesSeen[2] && namesSeen[0] == namesSeen[4]);
        const QChar letter = mnemonics::letterOf(w.ui->pushBtnOptimize->text());
        QTest::keyClick(w.windowHandle(), Qt::Key(Qt::Key_A + letter.unicode() - 'A'), Qt::AltModifier);
        QTRY_VERIFY(w.ui->frame->isVisible());   // a mnemonic clicks after a short animation
    }

    // The About box names the program, its version and licence and where the log is, in the
    // window's language; its "About Qt" opens the toolkit's box. F1 opens it too.
    void aboutBox_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("aboutQt");
        QTest::newRow("italian") << 0 << QString::fromUtf8("Informazioni su Qt");
        QTest::newRow("english") << 1 << "About Qt";
    }
    void aboutBox()
    {
        QFETCH(int, language);
        QFETCH(QString, aboutQt);
        MainWindow w;
        ScriptedDialogs dialogs;
        w.setDialogs(&dialogs);
        w.currentLanguage = language;
        dialogs.answer(aboutQt);
        QTest::mouseClick(w.ui->pushButtonAboutQT, Qt::LeftButton);
        QCOMPARE(dialogs.prompts.size(), 2);
        const QString text = dialogs.prompts[0].text;
        for (const QString &part : {QString("Corvel3"), QString(CORVEL3_TEST_VERSION), QDir::toNativeSeparators(oplog::path()),
                                    QString(language == 0 ? "Licenza" : "Licence")})
            QVERIFY2(text.contains(part), qPrintable(part));
        QCOMPARE(dialogs.prompts[1].title, QString("About Qt"));
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        dialogs.answer("Ok");
        QTest::keyClick(&w, Qt::Key_F1);
        QCOMPARE(dialogs.prompts.size(), 3);
        QCOMPARE(dialogs.prompts[2].text, text);
        QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join("; ")));
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
