// Optimise panel, run, scan, deletion and image gathering.
#include "ui/mainwindow.h"

#include <QCheckBox>
#include <QFrame>
#include <QPushButton>

#include "optimise/junkandimages.h"
#include "optimise/libraryscan.h"
#include "optimise/optimiserun.h"
#include "ui/widgetprogress.h"
#include "ui_mainwindow.h"

namespace {

// OK is usable while at least one step is chosen.
void applyOkRule(Ui::MainWindow *ui)
{
    ui->Btn_Opt_Ok->setEnabled(ui->Check_Optimize->isChecked() || ui->Check_Delete->isChecked()
                               || ui->Check_Move->isChecked() || ui->Check_Split->isChecked());
}

} // namespace

void MainWindow::on_pushBtnOptimize_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    for (QCheckBox *box : {ui->Check_Optimize, ui->Check_Delete, ui->Check_Move, ui->Check_Split})
        box->setChecked(true);
    for (QCheckBox *box : {ui->Check_Delete, ui->Check_Move, ui->Check_Split})
        box->setEnabled(false);
    ui->Btn_Opt_Ok->setEnabled(true);
    ui->frame->show();
}

void MainWindow::on_Check_Optimize_clicked()
{
    // The full optimisation includes the three single steps: they are chosen one by one only
    // while it is unchecked.
    const bool full = ui->Check_Optimize->isChecked();
    for (QCheckBox *box : {ui->Check_Delete, ui->Check_Move, ui->Check_Split}) {
        box->setChecked(full);
        box->setEnabled(!full);
    }
    applyOkRule(ui);
}

void MainWindow::on_Check_Move_clicked() { applyOkRule(ui); }
void MainWindow::on_Check_Delete_clicked() { applyOkRule(ui); }
void MainWindow::on_Check_Split_clicked() { applyOkRule(ui); }

void MainWindow::on_Btn_Opt_Ok_clicked()
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    if (findDeviceDrive().isEmpty()) {
        boxes::information(dialogs(), this, langDbInfo(MSG_DEVICE_NOT_FOUND_TITLE), langDbInfo(MSG_DEVICE_NOT_FOUND_TEXT));
        operationOk = false;
        return;   // the panel stays open
    }
    stopRequested = false;
    const bool full = ui->Check_Optimize->isChecked();
    deleteSelected = full || ui->Check_Delete->isChecked();
    moveSelected = full || ui->Check_Move->isChecked();
    splitSelected = full || ui->Check_Split->isChecked();
    ui->frame->hide();
    runOptimization();
}

void MainWindow::on_Btn_Opt_Cancel_clicked() { ui->frame->hide(); }
void MainWindow::on_pushBtnQuit_2_clicked() { ui->frame->hide(); }

void MainWindow::runOptimization()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    operations.optimise(OptimiseSteps{deleteSelected, moveSelected, splitSelected}, false, &progress);
}

void MainWindow::scanLibrary()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    LibraryScanner(ctx, optimiseState.scan).scanLibrary();
}

void MainWindow::scanRootFolder()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    LibraryScanner(ctx, optimiseState.scan).scanRootFolder();
}

QString MainWindow::shortenLongName(int index)
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    return LibraryScanner(ctx, optimiseState.scan).shortenLongName(index);
}

void MainWindow::deleteUnsupportedFiles()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    JunkAndImages(ctx, optimiseState.scan).deleteUnsupportedFiles();
}

void MainWindow::moveImagesToFolder()
{
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    OperationContext ctx = operationContext(progress);
    JunkAndImages(ctx, optimiseState.scan).moveImagesToFolder();
}
