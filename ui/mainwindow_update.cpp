// Update members of the operations window (download, unpack, update).
#include "ui/mainwindow.h"

QString MainWindow::downloadFile(QProgressBar *, const QString &, bool) { return QString(); }
bool MainWindow::updateSystem(bool) { return false; }
QString MainWindow::downloadUpdate() { return QString(); }
bool MainWindow::copyUpdateFiles(const QString &, const QString &) { return false; }
void MainWindow::on_pushBtnUpdate_clicked() {}
