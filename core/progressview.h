#pragma once

#include <QString>

// The busy-state widgets an operation works with: a progress bar, a status line and a Stop
// button. The windows implement it over their widgets; engines never see a widget.
class ProgressView {
public:
    virtual ~ProgressView() = default;

    // Shows or hides bar, status line and Stop button together; bar to 0, status emptied.
    virtual void showBusyWidgets(bool visible) = 0;

    virtual void setMinimum(int value) = 0;
    virtual void setMaximum(int value) = 0;
    virtual void setValue(int value) = 0;
    virtual void setFormat(const QString &format) = 0;
    virtual int minimum() const = 0;
    virtual int maximum() const = 0;
    virtual int value() const = 0;
    virtual QString format() const = 0;
    virtual void repaintBar() = 0;      // immediate repaint
    virtual void updateBar() = 0;       // scheduled repaint
    virtual void setBarVisible(bool visible) = 0;

    virtual void setStatus(const QString &text) = 0;
    virtual QString status() const = 0;
    virtual void repaintStatus() = 0;
    virtual void setStatusVisible(bool visible) = 0;
};
