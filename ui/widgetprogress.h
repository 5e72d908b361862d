#pragma once

#include "core/progressview.h"

class QLabel;
class QProgressBar;
class QPushButton;

// The busy widgets of a window seen through ProgressView. Null widgets are skipped.
class WidgetProgress : public ProgressView {
public:
    WidgetProgress(QProgressBar *bar, QLabel *status, QPushButton *stop) : bar(bar), statusLine(status), stop(stop) {}

    void showBusyWidgets(bool visible) override;
    void setMinimum(int value) override;
    void setMaximum(int value) override;
    void setValue(int value) override;
    void setFormat(const QString &format) override;
    int minimum() const override;
    int maximum() const override;
    int value() const override;
    QString format() const override;
    void repaintBar() override;
    void updateBar() override;
    void setBarVisible(bool visible) override;
    void setStatus(const QString &text) override;
    QString status() const override;
    void repaintStatus() override;
    void setStatusVisible(bool visible) override;

private:
    QProgressBar *bar;
    QLabel *statusLine;
    QPushButton *stop;
};
