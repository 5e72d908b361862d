// The operation buttons and the optimise panel: each slot hands its busy widgets to the
// operations runner and returns when the run has ended; a click while a run is under way is
// ignored.
#include "ui/mainwindow.h"

#include <QCheckBox>
#include <QFrame>
#include <QPushButton>

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

void MainWindow::runWithBusyWidgets(const std::function<void(ProgressView &)> &call)
{
    BusyGuard guard(*this);
    if (guard.alreadyBusy())
        return;
    WidgetProgress progress(ui->progressBar, ui->labelAction, ui->pushButtonStop);
    call(progress);
}

void MainWindow::on_pushBtnUpdate_clicked()
{
    runWithBusyWidgets([this](ProgressView &p) { operations.update(&p); });
}
void MainWindow::on_pushBtnBackup_clicked()
{
    runWithBusyWidgets([this](ProgressView &p) { operations.backup(QString(), &p); });
}
void MainWindow::on_pushBtnRestore_clicked()
{
    runWithBusyWidgets([this](ProgressView &p) { operations.restore(QString(), &p); });
}
void MainWindow::on_pushBtnInstall_clicked()
{
    runWithBusyWidgets([this](ProgressView &p) { operations.reinstall(Operations::ReinstallKind::KeepSongs, QString(), &p); });
}
void MainWindow::on_pushBtnInstallAndClean_clicked()
{
    runWithBusyWidgets([this](ProgressView &p) { operations.reinstall(Operations::ReinstallKind::Erase, QString(), &p); });
}
void MainWindow::on_pushBtnInstallAndRestore_clicked()
{
    runWithBusyWidgets(
        [this](ProgressView &p) { operations.reinstall(Operations::ReinstallKind::SaveAndRestore, QString(), &p); });
}

Operations::Result MainWindow::repairWith(QProgressBar *bar, QLabel *label, QPushButton *stopButton)
{
    BusyGuard guard(*this);
    WidgetProgress progress(bar, label, stopButton);
    return operations.repair(&progress);
}

void MainWindow::on_pushBtnOptimize_clicked()
{
    if (busy)
        return;
    for (QCheckBox *box : {ui->Check_Optimize, ui->Check_Delete, ui->Check_Move, ui->Check_Split})
        box->setChecked(true);
    for (QCheckBox *box : {ui->Check_Delete, ui->Check_Move, ui->Check_Split})
        box->setEnabled(false);
    ui->Btn_Opt_Ok->setEnabled(true);
    showPanel(true);
}

// While the panel is open nothing behind it can be reached, by the mouse or the keyboard.
void MainWindow::showPanel(bool visible)
{
    for (QPushButton *button : findChildren<QPushButton *>())
        if (!ui->frame->isAncestorOf(button))
            button->setEnabled(!visible);
    ui->frame->setVisible(visible);
    if (visible)
        ui->Btn_Opt_Ok->setFocus();
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
    if (busy)
        return;
    if (operations.deviceDrive().isEmpty()) {
        boxes::information(dialogs(), this, langDbInfo(MSG_DEVICE_NOT_FOUND_TITLE), langDbInfo(MSG_DEVICE_NOT_FOUND_TEXT),
                           QStringLiteral("device.notFound"));
        return;   // the panel stays open
    }
    const bool full = ui->Check_Optimize->isChecked();
    const OptimiseSteps steps{full || ui->Check_Delete->isChecked(), full || ui->Check_Move->isChecked(),
                              full || ui->Check_Split->isChecked()};
    showPanel(false);
    runWithBusyWidgets([this, steps](ProgressView &p) { operations.optimise(steps, false, &p); });
}

void MainWindow::on_Btn_Opt_Cancel_clicked() { showPanel(false); }
void MainWindow::on_pushBtnQuit_2_clicked() { showPanel(false); }
