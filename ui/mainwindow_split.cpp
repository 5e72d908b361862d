// Folder split by title, playlist rewriting and defragmentation.
#include "ui/mainwindow.h"

#include <QProcess>

#include "optimise/defrag.h"
#include "optimise/foldersplit.h"
#include "optimise/playlists.h"
#include "ui/widgetprogress.h"
#include "ui_mainwindow.h"

void MainWindow::splitFoldersByTitle()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    FolderSplit split(ctx, libraryScan, titleReader, splitState);
    split.defragment = [this] { defragmentDrive(); };
    split.splitFoldersByTitle();
}

void MainWindow::retireFullGroup()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    FolderSplit(ctx, libraryScan, titleReader, splitState).retireFullGroup();
}

void MainWindow::addDigitsGroup()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    FolderSplit(ctx, libraryScan, titleReader, splitState).addDigitsGroup();
}

void MainWindow::updatePlaylistsForSong(const QString &oldSongPath, const QString &newSongPath)
{
    playlists::updateForSong(libraryScan.libraryDevicePath, oldSongPath, newSongPath);
}

void MainWindow::updatePlaylistsForFolder(const QString &oldFolderPath, const QString &newFolderPath)
{
    playlists::updateForFolder(libraryScan.libraryDevicePath, oldFolderPath, newFolderPath);
}

void MainWindow::defragmentDrive()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    // Kept for the program's life: a defragmenter still at work after the wait goes on running.
    if (!defragProcess)
        defragProcess = new QProcess(this);
    const QString root = libraryScan.libraryDevicePath.isEmpty() ? findDeviceDrive() : libraryScan.libraryDevicePath;
    defrag::defragmentDrive(ctx, *defragProcess, root);
}
