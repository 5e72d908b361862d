#include "ui/widgetprogress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

void WidgetProgress::showBusyWidgets(bool visible)
{
    if (bar) {
        bar->setVisible(visible);
        bar->setValue(0);
    }
    if (statusLine) {
        statusLine->setText(QString());
        statusLine->setVisible(visible);
    }
    if (stop)
        stop->setVisible(visible);
}

void WidgetProgress::setMinimum(int value) { if (bar) bar->setMinimum(value); }
void WidgetProgress::setMaximum(int value) { if (bar) bar->setMaximum(value); }
void WidgetProgress::setValue(int value) { if (bar) bar->setValue(value); }
void WidgetProgress::setFormat(const QString &format) { if (bar) bar->setFormat(format); }
int WidgetProgress::minimum() const { return bar ? bar->minimum() : 0; }
int WidgetProgress::maximum() const { return bar ? bar->maximum() : 0; }
int WidgetProgress::value() const { return bar ? bar->value() : 0; }
QString WidgetProgress::format() const { return bar ? bar->format() : QString(); }
void WidgetProgress::repaintBar() { if (bar) bar->repaint(); }
void WidgetProgress::updateBar() { if (bar) bar->update(); }
void WidgetProgress::setBarVisible(bool visible) { if (bar) bar->setVisible(visible); }
void WidgetProgress::setStatus(const QString &text) { if (statusLine) statusLine->setText(text); }
QString WidgetProgress::status() const { return statusLine ? statusLine->text() : QString(); }
void WidgetProgress::repaintStatus() { if (statusLine) statusLine->repaint(); }
void WidgetProgress::setStatusVisible(bool visible) { if (statusLine) statusLine->setVisible(visible); }
