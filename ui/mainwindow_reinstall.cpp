// Reinstall members of the operations window.
#include "ui/mainwindow.h"

#include "ui/widgetprogress.h"
#include "ui_mainwindow.h"
#include "update/reinstall.h"

namespace {
// The reinstall works through the window's own members, bound to the bar of the run, so the
// copy prompts, the backup and the update are the ones every other operation shows.
ReinstallOps windowOps(MainWindow &window, QProgressBar *bar)
{
    ReinstallOps ops;
    ops.files.recreateFolder = [&window](const QString &folder) { return window.recreateFolder(folder); };
    ops.files.removeFolderTree = [&window, bar](const QString &folder) { return window.removeFolderTree(folder, bar); };
    ops.files.copyFileList = [&window, bar](const QStringList &files, const QString &destinationRoot,
                                            const QString &sourceRoot) {
        return window.copyFileList(files, destinationRoot, sourceRoot, bar);
    };
    ops.backupToFolder = [&window](const QString &deviceRoot, const QString &folder) {
        return window.backupToFolder(deviceRoot, folder);
    };
    ops.restoreFromFolder = [&window](const QString &backupFolder, const QString &deviceRoot) {
        return window.restoreFromFolder(backupFolder, deviceRoot);
    };
    ops.updateSystem = [&window] { return window.updateSystem(false); };
    return ops;
}
} // namespace

void MainWindow::reinstallSystem(QProgressBar *bar, QLabel *label, QPushButton *stopButton)
{
    WidgetProgress progress(bar, label, stopButton);
    OperationContext ctx = operationContext(progress);
    Reinstall(ctx, windowOps(*this, bar)).reinstallSystem(packagePath);
    // The update step shows this window's own busy widgets; a repair run with the start-up
    // window's widgets must not leave them up for the hand-over.
    if (bar != ui->progressBar)
        showProgressWidgets(false, ui->progressBar, ui->labelAction, ui->pushButtonStop);
}

QString MainWindow::downloadFullSystem(QProgressBar *bar)
{
    WidgetProgress progress(bar, nullptr, nullptr);
    OperationContext ctx = operationContext(progress);
    return Reinstall(ctx, windowOps(*this, bar)).downloadFullSystem();
}

bool MainWindow::eraseDrive(const QString &drivePath)
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    return Reinstall(ctx, windowOps(*this, ui->progressBar)).eraseDrive(drivePath);
}

bool MainWindow::installSystemFiles(const QString &packageFolder, const QString &drivePath, QProgressBar *bar)
{
    WidgetProgress progress(bar, nullptr, nullptr);
    OperationContext ctx = operationContext(progress);
    return Reinstall(ctx, windowOps(*this, bar)).installSystemFiles(packageFolder, drivePath);
}

void MainWindow::on_pushBtnInstall_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    operationOk = true;
    reinstallSystem(ui->progressBar, ui->labelAction, ui->pushButtonStop);
}

void MainWindow::on_pushBtnInstallAndClean_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    Reinstall(ctx, windowOps(*this, ui->progressBar)).reinstallAndClean();
}

void MainWindow::on_pushBtnInstallAndRestore_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    Reinstall(ctx, windowOps(*this, ui->progressBar)).reinstallAndRestore();
}
