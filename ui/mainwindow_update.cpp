// Update members of the operations window (download, unpack, update): each hands the window's
// state and busy widgets to the update engine.
#include "ui/mainwindow.h"

#include "ui/widgetprogress.h"
#include "ui_mainwindow.h"
#include "update/systemupdate.h"
#include "update/updateserver.h"

QString MainWindow::downloadFile(QProgressBar *bar, const QString &address, bool clearFolder)
{
    WidgetProgress progress(bar, nullptr, nullptr);
    OperationContext ctx = operationContext(progress);
    return downloadPackage(ctx, address, clearFolder);
}

bool MainWindow::updateSystem(bool showEndMessage)
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    return operations.update(showEndMessage, &progress) == Operations::Result::Done;
}

QString MainWindow::downloadUpdate()
{
    return downloadFile(ui->progressBar, updateServerAddress(QString::fromLatin1(kUpdatePackagePath)), true);
}

bool MainWindow::copyUpdateFiles(const QString &packageFolder, const QString &drivePath)
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    return SystemUpdate(ctx).copyUpdateFiles(packageFolder, drivePath);
}

void MainWindow::on_pushBtnUpdate_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    updateSystem(true);
    showProgressWidgets(false, ui->progressBar, ui->labelAction, ui->pushButtonStop);
}
