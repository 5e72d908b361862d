// Folder split by title, playlist rewriting and defragmentation.
#include "ui/mainwindow.h"

#include "optimise/optimiserun.h"
#include "optimise/foldersplit.h"
#include "optimise/playlists.h"
#include "ui/widgetprogress.h"
#include "ui_mainwindow.h"

void MainWindow::splitFoldersByTitle()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    FolderSplit split(ctx, optimiseState.scan, optimiseState.titles, optimiseState.split);
    split.defragment = [this] { defragmentDrive(); };
    split.splitFoldersByTitle();
}

void MainWindow::retireFullGroup()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    FolderSplit(ctx, optimiseState.scan, optimiseState.titles, optimiseState.split).retireFullGroup();
}

void MainWindow::addDigitsGroup()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    FolderSplit(ctx, optimiseState.scan, optimiseState.titles, optimiseState.split).addDigitsGroup();
}

void MainWindow::updatePlaylistsForSong(const QString &oldSongPath, const QString &newSongPath)
{
    ProgressView progress;
    OperationContext ctx = operationContext(progress);
    playlists::PendingUpdates updates(ctx, optimiseState.scan.libraryDevicePath);
    updates.addSong(oldSongPath, newSongPath);
    updates.flush();
}

void MainWindow::updatePlaylistsForFolder(const QString &oldFolderPath, const QString &newFolderPath)
{
    ProgressView progress;
    OperationContext ctx = operationContext(progress);
    playlists::PendingUpdates updates(ctx, optimiseState.scan.libraryDevicePath);
    updates.addFolder(oldFolderPath, newFolderPath);
    updates.flush();
}

void MainWindow::defragmentDrive()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    optimise::defragment(ctx, optimiseState);
}
