// Reinstall members of the operations window: the three buttons and the start-up repair run
// through the operations core with the busy widgets of the run; the single steps reach the
// reinstall engine directly.
#include "ui/mainwindow.h"

#include "ui/widgetprogress.h"
#include "ui_mainwindow.h"
#include "update/reinstall.h"

void MainWindow::reinstallSystem(QProgressBar *bar, QLabel *label, QPushButton *stopButton)
{
    WidgetProgress progress(bar, label, stopButton);
    operations.reinstall(Operations::ReinstallKind::KeepSongs, QString(), &progress);
}

QString MainWindow::downloadFullSystem(QProgressBar *bar)
{
    WidgetProgress progress(bar, nullptr, nullptr);
    OperationContext ctx = operationContext(progress);
    return Reinstall(ctx).downloadFullSystem();
}

bool MainWindow::eraseDrive(const QString &drivePath)
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    return Reinstall(ctx).eraseDrive(drivePath);
}

bool MainWindow::installSystemFiles(const QString &packageFolder, const QString &drivePath, QProgressBar *bar)
{
    WidgetProgress progress(bar, nullptr, nullptr);
    OperationContext ctx = operationContext(progress);
    return Reinstall(ctx).installSystemFiles(packageFolder, drivePath);
}

void MainWindow::on_pushBtnInstall_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    reinstallSystem(ui->progressBar, ui->labelAction, ui->pushButtonStop);
}

void MainWindow::on_pushBtnInstallAndClean_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    operations.reinstall(Operations::ReinstallKind::Erase, QString(), &progress);
}

void MainWindow::on_pushBtnInstallAndRestore_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    operations.reinstall(Operations::ReinstallKind::SaveAndRestore, QString(), &progress);
}
