// File transfer members of the operations window (copy engine, removal, backup, restore): each
// hands the window's state and widgets to the engine in transfer/.
#include "ui/mainwindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "transfer/backup.h"
#include "transfer/copyengine.h"
#include "transfer/folderremoval.h"
#include "transfer/restore.h"
#include "ui/widgetprogress.h"
#include "ui_mainwindow.h"

bool MainWindow::copyFileList(const QStringList &files, const QString &destinationRoot, const QString &sourceRoot,
                              QProgressBar *progressBar)
{
    WidgetProgress progress(progressBar, nullptr, nullptr);
    OperationContext ctx = operationContext(progress);
    return transfer::copyFileList(ctx, files, destinationRoot, sourceRoot);
}

bool MainWindow::removeFolderTree(const QString &folder, QWidget *widget)
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    return transfer::removeFolderTree(ctx, folder, [widget] {
        if (widget)
            widget->repaint();
    });
}

bool MainWindow::recreateFolder(const QString &folder)
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    return transfer::recreateFolder(ctx, folder);
}

bool MainWindow::backupToFolder(const QString &deviceRoot, QString destinationFolder)
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    return transfer::backupToFolder(ctx, deviceRoot, destinationFolder);
}

bool MainWindow::restoreFromFolder(const QString &backupFolder, const QString &deviceRoot)
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    return transfer::restoreFromFolder(ctx, backupFolder, deviceRoot);
}

void MainWindow::on_pushBtnBackup_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    operations.backup(QString(), &progress);
}

void MainWindow::on_pushBtnRestore_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    operations.restore(QString(), &progress);
}
