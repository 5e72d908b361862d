// The library health panel: opened by its button, it shows the last check and runs each group's
// fix through the operations runner, like every other operation of the window.
#include "ui/mainwindow.h"

#include <QPushButton>

#include "ui/healthpanel.h"
#include "ui_mainwindow.h"

void MainWindow::on_pushBtnHealth_clicked()
{
    if (busy)
        return;
    if (!healthPanel) {
        healthPanel = new HealthPanel(ui->scrollAreaWidgetContents);
        healthPanel->hide();
        connect(healthPanel, &HealthPanel::fixRequested, this, &MainWindow::runHealth);
        connect(healthPanel, &HealthPanel::checkRequested, this, [this] { runHealth(0); });
        connect(healthPanel, &HealthPanel::closeRequested, this, [this] { showHealthPanel(false); });
    }
    runHealth(0);
}

void MainWindow::runHealth(int fixGroups)
{
    if (busy)
        return;
    // The panel steps aside while the run works: the busy widgets and Stop are beneath it.
    showHealthPanel(false);
    Operations::Result result = Operations::Result::Failed;
    runWithBusyWidgets([&](ProgressView &p) { result = operations.health(fixGroups, false, &p); });
    if (result == Operations::Result::Done || result == Operations::Result::Failed || result == Operations::Result::Stopped) {
        healthPanel->showReport(operations.healthReport, operations.state);
        showHealthPanel(true);
    }
}

// Over the operation buttons, as the optimise panel is: nothing behind it can be reached.
void MainWindow::showHealthPanel(bool visible)
{
    if (!healthPanel)
        return;
    for (QPushButton *button : findChildren<QPushButton *>())
        if (!healthPanel->isAncestorOf(button))
            button->setEnabled(!visible);
    healthPanel->setGeometry(ui->frame->geometry());
    healthPanel->setVisible(visible);
    if (visible) {
        healthPanel->raise();
        healthPanel->setFocus();
    }
}
