#pragma once

#include <QStringList>

#include "core/progressview.h"

// A ProgressView without widgets that keeps what was set, for engine tests.
class RecordingProgress : public ProgressView {
public:
    void showBusyWidgets(bool visible) override
    {
        busyVisible = barVisible = statusVisible = visible;
        barValue = 0;
        statusText.clear();
    }
    void setMinimum(int v) override { barMinimum = v; }
    void setMaximum(int v) override { barMaximum = v; }
    void setValue(int v) override { barValue = v; values << v; }
    void setFormat(const QString &f) override { barFormat = f; }
    int minimum() const override { return barMinimum; }
    int maximum() const override { return barMaximum; }
    int value() const override { return barValue; }
    QString format() const override { return barFormat; }
    void repaintBar() override { ++repaints; }
    void updateBar() override { ++repaints; }
    void setBarVisible(bool v) override { barVisible = v; }
    void setStatus(const QString &t) override { statusText = t; statusHistory << t; }
    QString status() const override { return statusText; }
    void repaintStatus() override {}
    void setStatusVisible(bool v) override { statusVisible = v; }

    bool busyVisible = false, barVisible = false, statusVisible = false;
    int barMinimum = 0, barMaximum = 100, barValue = 0, repaints = 0;
    QString barFormat = QStringLiteral("%p%");
    QString statusText;
    QStringList statusHistory;
    QList<int> values;
};
