#pragma once

#include <QElapsedTimer>

#include "core/progressview.h"

class QLabel;
class QProgressBar;
class QPushButton;

// The busy widgets of a window behind ProgressView. Null widgets are skipped. Starts from what
// the widgets show, and repaints at once when a change is due (a new status, the bar's first
// or last step, or 50 ms since the last repaint), otherwise leaves the repaint to the event loop.
class WidgetProgress : public ProgressView {
public:
    WidgetProgress(QProgressBar *bar, QLabel *status, QPushButton *stop);

protected:
    void changed(Change what) override;

private:
    void repaintBarIfDue();

    QProgressBar *bar;
    QLabel *statusLine;
    QPushButton *stop;
    QElapsedTimer sinceRepaint;
};
