// Optimise panel, run, scan, deletion and image gathering.
#include "ui/mainwindow.h"

void MainWindow::on_pushBtnOptimize_clicked() {}
void MainWindow::on_Check_Optimize_clicked() {}
void MainWindow::on_Check_Move_clicked() {}
void MainWindow::on_Check_Delete_clicked() {}
void MainWindow::on_Check_Split_clicked() {}
void MainWindow::on_Btn_Opt_Ok_clicked() {}
void MainWindow::on_Btn_Opt_Cancel_clicked() {}
void MainWindow::on_pushBtnQuit_2_clicked() {}
void MainWindow::runOptimization() {}
void MainWindow::scanLibrary() {}
void MainWindow::scanRootFolder() {}
QString MainWindow::shortenLongName(int) { return QString(); }
void MainWindow::deleteUnsupportedFiles() {}
void MainWindow::moveImagesToFolder() {}
