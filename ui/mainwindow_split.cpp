// Folder split by title, playlist rewriting and defragmentation.
#include "ui/mainwindow.h"

void MainWindow::splitFoldersByTitle() {}
void MainWindow::retireFullGroup() {}
void MainWindow::addDigitsGroup() {}
void MainWindow::updatePlaylistsForSong(const QString &, const QString &) {}
void MainWindow::updatePlaylistsForFolder(const QString &, const QString &) {}
void MainWindow::defragmentDrive() {}
