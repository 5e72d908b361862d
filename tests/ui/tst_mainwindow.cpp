// The operations window frame: message table, language buttons, the folder chooser's language,
// Stop, mnemonics and the About box.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QtTest>

#include "tests/common/scripteddialogs.h"
#include "core/messagetable.h"
#include "core/operationlog.h"
#include "ui/mainwindow.h"
#include "ui/mnemonics.h"
#include "ui_mainwindow.h"

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Every message of the table has a text in both languages, the right one for each; another
    // language value has none.
    void messageTableHasBothLanguages()
    {
        MainWindow w;
        for (int code = MSG_FORMAT_TITLE; code <= MSG_UPDATE_DOWNLOADED_TEXT; ++code) {
            const auto text = [&](int language) {
                w.currentLanguage = language;
                return w.langDbInfo(LANGUAGE_STRING_CODE(code));
            };
            QVERIFY2(!text(0).isEmpty() && !text(1).isEmpty() && text(2).isEmpty(), qPrintable(QString::number(code)));
        }
        w.currentLanguage = 0;
        QCOMPARE(w.langDbInfo(MSG_FORMAT_ERROR_TITLE), QString("Errore di formattazione"));
        w.currentLanguage = 1;
        QCOMPARE(w.langDbInfo(MSG_FORMAT_ERROR_TITLE), QString("Format error"));
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

    // A flag switches the texts (the panel's too) and takes the chosen colour; another language
    // value sets no text and no colour, and the descriptions follow the flag.
    void languageButtonsSwitchTextsAndColours()
    {
        MainWindow w;
        const QString chosen = "* { color: #6196d1 }", other = "* { color: rgb(51, 51, 51) }";
        QTest::mouseClick(w.ui->pushBtnENG, Qt::LeftButton);
        QCOMPARE((QStringList{QString::number(w.currentLanguage), w.ui->pushBtnENG->styleSheet(), w.ui->pushBtnITA->styleSheet(),
                              mnemonics::plain(w.ui->Check_Split->text())}),
                 (QStringList{"1", chosen, other, "Split the bases into folders"}));
        QTest::mouseClick(w.ui->pushBtnITA, Qt::LeftButton);
        QCOMPARE((QStringList{QString::number(w.currentLanguage), w.ui->pushBtnITA->styleSheet(), w.ui->pushBtnENG->styleSheet(),
                              mnemonics::plain(w.ui->Btn_Opt_Cancel->text())}),
                 (QStringList{"0", chosen, other, "Annulla"}));
        w.applyLanguage(false, 5);
        QCOMPARE(mnemonics::plain(w.ui->pushBtnOptimize->text()), QString("OTTIMIZZA CORVEL"));
        QCOMPARE(w.ui->pushBtnITA->styleSheet(), chosen);
        QVERIFY(w.ui->labelDescr1->isHidden() && w.ui->labelDescr2->isHidden());
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

};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
