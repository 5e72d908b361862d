#include "app/mainwindow_boot.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QTextStream>
#include <QTimer>

#include "core/languagefile.h"
#include "core/delay.h"
#include "core/messagetable.h"
#include "ui/captionfit.h"
#include "ui/mainwindow.h"
#include "ui/screenfit.h"
#include "ui_mainwindow_boot.h"

MainWindow_boot::MainWindow_boot(QWidget *parent)
    : QMainWindow(parent), ui(new Ui::MainWindow_boot)
{
    ui->setupUi(this);

    ui->Stop_Button->hide();
    ui->progressBar->hide();
    ui->label_descr->hide();
    ui->label_descr_titolo->hide();
    ui->Push_Button->hide();
    ui->label_descr_titolo->setGeometry(101, 380, 571, 51);

    set_visible(false);

    mainWindow = new MainWindow(nullptr);
    mainWindow->currentLanguage = 1;
    mainWindow->initWidgets(ui->progressBar, ui->Stop_Button);

    qDebug() << "App path : " << QCoreApplication::applicationDirPath();
    appDirPath = QCoreApplication::applicationDirPath() + QDir::separator();

    QPalette pal = palette();
    pal.setBrush(QPalette::Window, QBrush(QPixmap(QStringLiteral(":/imgs/sfondo_prog.png"))));
    setPalette(pal);
    setWindowIcon(mainWindow->windowIcon());

    ui->pushButton->setStyleSheet(QStringLiteral(
        "background-image:url(:/imgs/bandiera-italia);border-style: solid;border-color: #515151;border-width: "
        "2.5px;border-radius: 35px;"));
    ui->pushButton_2->setStyleSheet(QStringLiteral(
        "background-image:url(:/imgs/bandiera-inglese);border-style: solid;border-color: #515151;border-width: "
        "2.5px;border-radius: 35px;"));
    ui->graphicsView->setStyleSheet(QStringLiteral(
        "background-image:url(:/imgs/coll);background-repeat: no-repeat;background-color: "
        "#FFFFFF;background-position: center;"));
    ui->graphicsView->hide();
    captions::fitAll(this);
    screenfit::install(this, ui->scrollArea);
    mainWindow->addAboutShortcut(this, [this] { mainWindow->showAbout(this); });
    // The flags show no text: each is named in its own language, as the caption under it.
    ui->pushButton->setAccessibleName(ui->label_2->text());
    ui->pushButton_2->setAccessibleName(ui->label_3->text());
}

MainWindow_boot::~MainWindow_boot()
{
    delete mainWindow;
    delete ui;
}

void MainWindow_boot::set_visible(bool value)
{
    ui->label->setVisible(value);
    ui->label_2->setVisible(value);
    ui->label_3->setVisible(value);
    ui->pushButton->setVisible(value);
    ui->pushButton_2->setVisible(value);
}

void MainWindow_boot::check_language()
{
    languageFilePath = languagefile::readPath(appDirPath);
    const QByteArray choice = languagefile::readChoice(appDirPath);
    if (choice.isNull()) {
        set_visible(true);
        return;
    }
    mainWindow->operations.state.setLanguage(choice == "italian" ? 0 : 1);
    check_connection();
}

void MainWindow_boot::on_pushButton_clicked()
{
    mainWindow->operations.state.setLanguage(0);
    create_language_file(QStringLiteral("italian"));
}

void MainWindow_boot::on_pushButton_2_clicked()
{
    mainWindow->operations.state.setLanguage(1);
    create_language_file(QStringLiteral("english"));
}

void MainWindow_boot::create_language_file(QString language)
{
    languageFilePath = languagefile::writePath(appDirPath);
    languagefile::writeChoice(appDirPath, language.toUtf8());
    set_visible(false);
    check_connection();
}

void MainWindow_boot::check_connection()
{
    devicePath = mainWindow->operations.deviceDrive();
    if (!devicePath.isEmpty()) {
        check_files();
        return;
    }
    const bool italian = mainWindow->currentLanguage == 0;
    ui->graphicsView->show();
    showMessageLabels(
        Texts::of(italian).translate("MainWindow_boot", "CORVEL3 NOT CONNECTED"),
        Texts::of(italian).translate("MainWindow_boot", "Switch Off Corvel3 and connect it to USB PC Port (as shown below).\nThen switch "
                                                        "Corvel3 on again."));
    if (!connectionTimer) {
        connectionTimer = new QTimer(this);
        connect(connectionTimer, &QTimer::timeout, this, &MainWindow_boot::timer_check);
    }
    connectionTimer->start(500);
}

void MainWindow_boot::timer_check()
{
    if (checksStarted > 0)
        return;   // a tick that arrives while the check pumps events must not start another
    devicePath = mainWindow->operations.deviceDrive();
    if (devicePath.isEmpty())
        return;
    connectionTimer->stop();
    ui->label_descr_titolo->setText(QString());
    ui->label_descr->setText(QString());
    ui->graphicsView->hide();
    check_files();
}

void MainWindow_boot::check_files()
{
    ++checksStarted;
    checking = true;
    const struct CheckEnd {
        bool &flag;
        ~CheckEnd() { flag = false; }
    } checkEnd{checking};
    bootStopRequested = false;

    const bool italian = mainWindow->currentLanguage == 0;
    ui->label_4->setText(Texts::of(italian).translate("MainWindow_boot", "Checking files integrity..."));
    yesButtonText = Texts::of(italian).translate("MainWindow_boot", "Yes");

    ui->progressBar->setValue(0);
    ui->progressBar->setMaximum(100);
    ui->progressBar->setMinimum(0);
    ui->progressBar->show();
    for (int value = 0; value <= 100; ++value) {
        ui->progressBar->setValue(value);
        delay(17);
        if (closeRequested)
            return;   // the window is gone: no hand-over, the program ends
    }

    const SystemCheck check = mainWindow->operations.check();
    if (check.clean()) {
        ui->label_4->setText(Texts::of(italian).translate("MainWindow_boot", "OPERATION COMPLETED"));
        showMessageLabels(
            Texts::of(italian).translate("MainWindow_boot", "SOFTWARE CONTROL COMPLETED"),
            Texts::of(italian).translate("MainWindow_boot", "No problem detected during the control of the Operating System.\nClick Ok to "
                                                            "be redirected to the Main Window."));
        ui->Push_Button->show();
        return;
    }

    MessageBoxRequest question;
    question.kind = QuestionKind::Confirm;
    question.safeButton = 1;
    question.title = mainWindow->langDbInfo(MSG_SYSTEM_FILES_DAMAGED_TITLE);
    question.text = mainWindow->langDbInfo(MSG_SYSTEM_FILES_DAMAGED_QUESTION);
    question.icon = BoxIcon::Question;
    question.buttons = {BoxButton{BoxRole::Yes, yesButtonText}, BoxButton{BoxRole::No, QStringLiteral("No")}};
    question.defaultButton = 0;
    question.parent = this;
    if (mainWindow->dialogs().showMessage(question) == 0)
        repairSystem();
    handOver();
}

// The repair is the plain reinstall, run with this window's own busy widgets.
void MainWindow_boot::repairSystem()
{
    const bool italian = mainWindow->currentLanguage == 0;
    showMessageLabels(
        Texts::of(italian).translate("MainWindow_boot", "RESTORING FILES OF THE OPERATING SYSTEM"),
        Texts::of(italian).translate("MainWindow_boot", "WARNING: DO NOT Switch off/Restart Corvel3 and DO NOT disconnect the USB "
                                                        "cable.\nThe process may take a few minutes."));

    repairing = true;
    const Operations::Result result = mainWindow->repairWith(ui->progressBar, ui->label_4, ui->Stop_Button);
    repairing = false;

    if (result == Operations::Result::Done) {
        boxes::information(mainWindow->dialogs(), this, Texts::of(italian).translate("MainWindow_boot", "Done"),
                           Texts::of(italian).translate("MainWindow_boot", "System successfully restored.\nYou will be redirected to the "
                                                                           "main window."));
    }
    ui->label_descr_titolo->hide();
    ui->label_descr->hide();
}

// The title and text of the waiting, clean-check and repair screens, in their common place.
void MainWindow_boot::showMessageLabels(const QString &title, const QString &text)
{
    ui->label_descr->setGeometry(20, 130, 600, 80);
    ui->label_descr_titolo->setGeometry(20, 85, 600, 80);
    ui->label_descr_titolo->setText(title);
    ui->label_descr->setText(text);
    ui->label_descr_titolo->show();
    ui->label_descr->show();
    captions::fitAll(this);
}

void MainWindow_boot::handOver()
{
    hide();
    mainWindow->show();
    mainWindow->applyLanguage(true, mainWindow->currentLanguage);
}

void MainWindow_boot::on_Push_Button_clicked()
{
    ui->label_4->hide();
    ui->Push_Button->hide();
    handOver();
}

void MainWindow_boot::on_Stop_Button_clicked()
{
    mainWindow->on_pushButtonStop_clicked();
    bootStopRequested = true;
}

void MainWindow_boot::on_pushButtonAboutQT_clicked()
{
    mainWindow->showAbout(this);
}

void MainWindow_boot::stopped_called() {}

// Closing the window must never leave the program running without one: during the check the
// program ends; during a repair the user is asked first, and a "Yes" stops the repair as the
// Stop button does, which then hands over to the operations window.
void MainWindow_boot::closeEvent(QCloseEvent *event)
{
    if (repairing) {
        event->ignore();
        const bool italian = mainWindow->currentLanguage == 0;
        MessageBoxRequest question;
        question.kind = QuestionKind::Confirm;
        question.title = Texts::of(italian).translate("MainWindow_boot", "Repair in progress");
        question.text = Texts::of(italian).translate("MainWindow_boot", "Stop the repair of the operating system?\nCorvel3 keeps the system "
                                                                        "it has now.");
        question.icon = BoxIcon::Question;
        question.buttons = {BoxButton{BoxRole::Yes, yesButtonText}, BoxButton{BoxRole::No, QStringLiteral("No")}};
        question.defaultButton = 1;
        question.escapeButton = 1;
        question.safeButton = 1;
        question.proceedButton = 1;
        question.parent = this;
        if (repairing && mainWindow->dialogs().showMessage(question) == 0)
            on_Stop_Button_clicked();
        return;
    }
    if (checking) {
        closeRequested = true;
        event->accept();
        QCoreApplication::quit();
        return;
    }
    QMainWindow::closeEvent(event);
}
