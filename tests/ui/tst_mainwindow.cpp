// The operations window frame: message table, language buttons, busy widgets, Stop, and the
// event-pumping wait its operations use.
#include <QDialogButtonBox>
#include <QFileDialog>
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
    // Every message of the table, in both languages, as the program has always shown it.
    void messageTableKeepsItsTexts_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("italian");
        QTest::addColumn<QString>("english");
        const auto row = [](int code, const char *italian, const char *english) {
            QTest::addRow("%d", code) << code << QString::fromUtf8(italian) << QString::fromUtf8(english);
        };
        row(MSG_FORMAT_TITLE, "Azzeramento HD Corvel3", "Format Corvel3 HD");
        row(MSG_FORMAT_WARNING, "ATTENZIONE!\nOgni contenuto presente nell' HD verrà cancellato!\nContinuare?",
            "WARNING!\nAll the contents of Corvel3 HD will be erased\nDo you want to continue?");
        row(MSG_SEARCHING_DEVICE, "Cerco se Corvel3 è connesso via USB...", "Serching for Corvel3 USB Connection...");
        row(MSG_DOWNLOADING_RELEASE, "Scarico l' ultima release dal sito V-Orla...", "Downloading last release from V-Orla Website...");
        row(MSG_COPYING_UPDATE_FILES, "Copia dei files dell' aggiornamento...", "Copying update files...");
        row(MSG_BACKUP_TO_PC, "Copia di backup dei files sul PC...", "Backup of files from Corvel to PC...");
        row(MSG_CREATING_SYSTEM_COPY, "Creazione della copia del sistema operativo...", "Create an image of Corvel3 operative system...");
        row(MSG_FORMATTING, "Sto formattando Corvel...", "Formatting Corvel3...");
        row(MSG_TRANSFERRING_SYSTEM, "Trasferimento del sistema operativo...", "Transferring Corvel3 operative system...");
        row(MSG_RESTORING_BACKUP, "Ripristino copia di backup sul Corvel...", "Restore backup copy on Corvel3...");
        row(MSG_SCANNING_STORAGE, "Lettura del contenuto di Corvel...", "Scanning Corvel3 internal storage...");
        row(MSG_SYSTEM_FILES_DAMAGED_TITLE, "File di sistema danneggiati o mancanti", "System files are damaged or missing");
        row(MSG_SYSTEM_FILES_DAMAGED_QUESTION, "ATTENZIONE: file di sistema danneggiati o mancanti, tentare il ripristino?",
            "WARNING : system files are damaged or missing , attempt recovery ?");
        row(MSG_DEVICE_NOT_FOUND_TITLE, "Corvel3 non è stato trovato", "I can't find Corvel3 on USB port");
        row(MSG_DEVICE_NOT_FOUND_TEXT, "Spegnere Corvel3 e connetterlo alla porta USB del PC.\nQuindi accendere Corvel3 e\nquando appare la "
            "schermata di connessione sul display di Corvel,\ncliccare ancora su START",
            "Switch Off Corvel3 e connect to USB PC Port.\nThen switch on Corvel3 and\nwhen connection form is "
            "displyed on Corvel3 LCD,\npress START again");
        row(MSG_FORMAT_ERROR_TITLE, "Errore di formattazione", "Format error");
        row(MSG_FORMAT_ERROR_TEXT, "C'è stato un errore durante la formattazione di Corvel3.\nSpegnere Corvel3 e connetterlo alla porta USB "
            "del PC.\nQuindi accendere Corvel3 e\nquando appare la schermata di connessione sul display di "
            "Corvel,\ncliccare ancora su START",
            "There was an error during Corvel3 format.\nSwitch OFF Corvel3 and reconnect to PC USB port.\nThen turn "
            "Corvel on again and\nwhen connection splash screen appair on Corvel3 display ,\nclick START again");
        row(MSG_BACKUP_ERROR_TITLE, "Errore durante il BackUp", "Error while BackUp");
        row(MSG_BACKUP_ERROR_TEXT, "C'è stato durante il salvataggio delle basi.\nOperazione annullata", "Error during songs' backup.\nAbort porcedure");
        row(MSG_RESTORE_ERROR_TITLE, "Errore durante il Restore", "Errore durante il Restore");
        row(MSG_RESTORE_ERROR_TEXT, "C'è stato durante il ripristino delle basi.\nOperazione annullata",
            "C'èstato durante il ripristino delle basi.\nOperazione annullata");
        row(MSG_END_OPERATION_TITLE, "Fine operazioni", "End operation");
        row(MSG_SETUP_FINISHED_TEXT, "Installazione terminata.\nSpegnere il Corvel e scollegare dal PC e riaccendere Corvel.\nSe viene chiesto di "
            "riavviare, spegnere e accendere\nfinchè non appare la lista delle canzoni.",
            "Setup finished.\nSwitch off Corvel3 and unconnect from PC, then switch on Corvel3.\nIf during update phase "
            "on Corvel3 display it asks to reboot, switch off and switch on again\n until it shows the songs list again.");
        row(MSG_DOWNLOAD_ERROR_TITLE, "Download Error ", "Download Error ");
        row(MSG_DOWNLOAD_ERROR_TEXT, "C'è stato un errore durante il download dell' aggiornamento di Corvel\nRiprovare più tardi",
            "There was an error during update packet download\nPlease try later");
        row(MSG_UPDATE_END_TITLE, "Fine operazioni", "End operation");
        row(MSG_UPDATE_DOWNLOADED_TEXT, "Aggiornamento scaricato.\nSpegnere il Corvel e scollegare dal PC e riaccendere Corvel.\nSe viene chiesto di "
            "riavviare, spegnere e accendere\nfinchè non appare la lista delle canzoni.",
            "Update files downloaded.\nSwitch off Corvel3 and unconnect from PC, then switch on Corvel3.\nIf during "
            "update phase on Corvel3 display it asks to reboot, switch off and switch on again\n until it shows the "
            "songs list again.");
    }
    void messageTableKeepsItsTexts()
    {
        QFETCH(int, code);
        QFETCH(QString, italian);
        QFETCH(QString, english);
        MainWindow w;
        w.currentLanguage = 0;
        QCOMPARE(w.langDbInfo(LANGUAGE_STRING_CODE(code)), italian);
        w.currentLanguage = 1;
        QCOMPARE(w.langDbInfo(LANGUAGE_STRING_CODE(code)), english);
        w.currentLanguage = 2;
        QCOMPARE(w.langDbInfo(LANGUAGE_STRING_CODE(code)), QString());
    }

    // Qt's own folder chooser speaks the window's language, switched back and forth in one run.
    void folderChooserFollowsTheLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("texts");   // "Look in", the folder's label, the Cancel button
        QTest::newRow("italian") << 0 << QStringList{"Cerca in:", "Cartella:", "Annulla"};
        QTest::newRow("english") << 1 << QStringList{"Look in:", "Directory:", "Cancel"};
        QTest::newRow("italian again") << 0 << QStringList{"Cerca in:", "Cartella:", "Annulla"};
    }
    void folderChooserFollowsTheLanguage()
    {
        QFETCH(int, language);
        QFETCH(QStringList, texts);
        MainWindow w;
        QTest::mouseClick(language == 0 ? w.ui->pushBtnITA : w.ui->pushBtnENG, Qt::LeftButton);
        QStringList seen;
        QTimer poll;
        int polls = 0;
        connect(&poll, &QTimer::timeout, [&] {
            for (QWidget *top : QApplication::topLevelWidgets()) {
                auto *chooser = qobject_cast<QFileDialog *>(top);
                if (!chooser || !chooser->isVisible())
                    continue;
                auto *buttons = chooser->findChild<QDialogButtonBox *>();
                auto *lookIn = chooser->findChild<QLabel *>(QStringLiteral("lookInLabel"));
                auto *folder = chooser->findChild<QLabel *>(QStringLiteral("fileNameLabel"));
                if (buttons && lookIn && folder)
                    seen = QStringList{lookIn->text(), folder->text(),
                                       buttons->button(QDialogButtonBox::Cancel)->text()};
                if (seen == texts || ++polls > 500)
                    chooser->reject();
            }
        });
        poll.start(20);
        QTemporaryDir start;
        w.dialogs().chooseFolder(FolderRequest{QStringLiteral("caption"), start.path(), &w});
        QCOMPARE(seen, texts);
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
