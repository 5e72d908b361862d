// Update members of the operations window (download, unpack, update).
#include "ui/mainwindow.h"

#include "ui/widgetprogress.h"
#include "ui_mainwindow.h"
#include "update/systemupdate.h"
#include "update/updateserver.h"

namespace {
// The update works through the window's own folder members, so the copy prompts and the
// removal's repaints are those of every other operation.
UpdateFileOps windowFileOps(MainWindow &window)
{
    UpdateFileOps ops;
    ops.recreateFolder = [&window](const QString &folder) { return window.recreateFolder(folder); };
    ops.removeFolderTree = [&window](const QString &folder) {
        return window.removeFolderTree(folder, window.ui->progressBar);
    };
    ops.copyFileList = [&window](const QStringList &files, const QString &destinationRoot,
                                 const QString &sourceRoot) {
        return window.copyFileList(files, destinationRoot, sourceRoot, window.ui->progressBar);
    };
    return ops;
}
} // namespace

QString MainWindow::downloadFile(QProgressBar *bar, const QString &address, bool clearFolder)
{
    WidgetProgress progress(bar, nullptr, nullptr);
    OperationContext ctx = operationContext(progress);
    return downloadPackage(ctx, windowFileOps(*this), address, clearFolder);
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
    return SystemUpdate(ctx, windowFileOps(*this)).copyUpdateFiles(packageFolder, drivePath);
}

void MainWindow::on_pushBtnUpdate_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    updateSystem(true);
    showProgressWidgets(false, ui->progressBar, ui->labelAction, ui->pushButtonStop);
}
