#include "ui/widgetprogress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

WidgetProgress::WidgetProgress(QProgressBar *bar, QLabel *status, QPushButton *stop)
    : bar(bar), statusLine(status), stop(stop)
{
    if (bar)
        adopt(bar->minimum(), bar->maximum(), bar->value(), bar->format(), bar->isVisible(),
              status ? status->text() : QString(), status && status->isVisible());
    sinceRepaint.start();
}

void WidgetProgress::repaintBarIfDue()
{
    if (!bar)
        return;
    if (value() <= minimum() || value() >= maximum() || sinceRepaint.elapsed() >= 50) {
        bar->repaint();
        sinceRepaint.restart();
    } else {
        bar->update();
    }
}

void WidgetProgress::changed(Change what)
{
    switch (what) {
    case Change::Busy:
        if (bar) {
            bar->setVisible(busy());
            bar->setValue(0);
        }
        if (statusLine) {
            statusLine->setText(QString());
            statusLine->setVisible(busy());
        }
        if (stop)
            stop->setVisible(busy());
        break;
    case Change::Range:
        if (bar)
            bar->setRange(minimum(), maximum());
        repaintBarIfDue();
        break;
    case Change::Value:
        if (bar)
            bar->setValue(value());
        repaintBarIfDue();
        break;
    case Change::Format:
        if (bar)
            bar->setFormat(format());
        repaintBarIfDue();
        break;
    case Change::BarVisible:
        if (bar)
            bar->setVisible(barVisible());
        break;
    case Change::Status:
        if (statusLine) {
            statusLine->setText(status());
            statusLine->repaint();
        }
        break;
    case Change::StatusVisible:
        if (statusLine)
            statusLine->setVisible(statusVisible());
        break;
    }
}
