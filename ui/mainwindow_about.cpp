// The About box, the keyboard's way to the window (mnemonics, F1) and the names a screen reader
// gives the buttons that show no text.
#include "ui/mainwindow.h"

#include <QDir>
#include <QShortcut>

#include "core/operationlog.h"
#include "ui/mnemonics.h"
#include "ui_mainwindow.h"

#ifndef CORVEL3_VERSION
#define CORVEL3_VERSION "2.1"
#endif

void MainWindow::showAbout(QWidget *parent)
{
    const OperationState &s = operations.state;
    MessageBoxRequest about;
    about.kind = QuestionKind::Information;
    about.code = QStringLiteral("about");
    about.title = s.translate("mainwindow_about", "About Corvel3");
    about.text = s.translate("mainwindow_about", "Corvel3 maintenance tool\n"
                                                 "Version %1\n"
                                                 "Licence: proprietary, all rights reserved.\n\n"
                                                 "The operation log (every file deleted, moved, renamed or replaced) is kept in:\n%2")
                     .arg(QStringLiteral(CORVEL3_VERSION), QDir::toNativeSeparators(oplog::path()));
    about.icon = BoxIcon::Information;
    about.buttons = {BoxButton{BoxRole::Ok, QStringLiteral("Ok")}, BoxButton{BoxRole::Yes, s.translate("mainwindow_about", "About Qt")}};
    about.defaultButton = 0;
    about.escapeButton = 0;
    about.safeButton = 0;
    about.proceedButton = 0;
    about.parent = parent;
    if (dialogs().showMessage(about) == 1)
        dialogs().aboutToolkit(parent);
}

void MainWindow::addAboutShortcut(QWidget *window, const std::function<void()> &show)
{
    auto *help = new QShortcut(QKeySequence::HelpContents, window);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, window, show);
}

void MainWindow::applyKeyboardAndNames()
{
    // STOP first (its four letters are common ones), then the operation buttons: they get the
    // likeliest letters.
    mnemonics::assign({ui->pushButtonStop, ui->pushBtnUpdate, ui->pushBtnBackup, ui->pushBtnRestore, ui->pushBtnOptimize, ui->pushBtnHealth, ui->pushBtnInstall,
                       ui->pushBtnInstallAndClean, ui->pushBtnInstallAndRestore, ui->Check_Optimize, ui->Check_Delete,
                       ui->Check_Move, ui->Check_Split, ui->Btn_Opt_Cancel, ui->Btn_Opt_Ok,
                       ui->pushBtnITA, ui->pushBtnENG, ui->pushButtonAboutQT});
    const OperationState &s = operations.state;
    ui->pushBtnQuit_2->setAccessibleName(s.translate("mainwindow_about", "Close"));
    ui->pushBtnITA->setAccessibleName(s.translate("mainwindow_about", "Italian"));
    ui->pushBtnENG->setAccessibleName(s.translate("mainwindow_about", "English"));
    ui->pushButtonAboutQT->setAccessibleName(s.translate("mainwindow_about", "About Corvel3"));
}
