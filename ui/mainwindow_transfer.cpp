// File transfer members of the operations window (copy engine, removal, backup, restore).
#include "ui/mainwindow.h"

bool MainWindow::copyFileList(const QStringList &, const QString &, const QString &, QProgressBar *) { return false; }
bool MainWindow::removeFolderTree(const QString &, QWidget *) { return false; }
bool MainWindow::recreateFolder(const QString &) { return false; }
bool MainWindow::backupToFolder(const QString &, QString) { return false; }
bool MainWindow::restoreFromFolder(const QString &, const QString &) { return false; }
void MainWindow::on_pushBtnBackup_clicked() {}
void MainWindow::on_pushBtnRestore_clicked() {}
