// Reinstall members of the operations window.
#include "ui/mainwindow.h"

void MainWindow::reinstallSystem(QProgressBar *, QLabel *, QPushButton *) { operationOk = false; }
QString MainWindow::downloadFullSystem(QProgressBar *) { return QString(); }
bool MainWindow::eraseDrive(const QString &) { return false; }
bool MainWindow::installSystemFiles(const QString &, const QString &, QProgressBar *) { return false; }
void MainWindow::on_pushBtnInstall_clicked() {}
void MainWindow::on_pushBtnInstallAndClean_clicked() {}
void MainWindow::on_pushBtnInstallAndRestore_clicked() {}
