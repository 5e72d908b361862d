#pragma once

#include <QFrame>

#include "operations/operations.h"

namespace Ui {
class HealthPanel;
}

// The library health panel: the last check's summary, a Fix button per group of findings, and
// the chart of where the space goes. It asks nothing itself: the window runs the check and each
// fix through the operations runner, whose engine asks its questions.
class HealthPanel : public QFrame {
    Q_OBJECT

public:
    explicit HealthPanel(QWidget *parent = nullptr);
    ~HealthPanel() override;

    void showReport(const health::Report &report, const OperationState &state);
    Ui::HealthPanel *ui;

signals:
    void fixRequested(int group);   // a health::Group
    void checkRequested();
    void closeRequested();
};
