#pragma once

#include <QString>

// What an operation shows while it runs: a busy state, a bar (range, value, format) and a status
// line. Engines only report data here; a front end subclass reflects each change on its widgets
// or its terminal and decides itself when to repaint. The base keeps the data, so a plain
// ProgressView is a valid sink that shows nothing.
class ProgressView {
public:
    enum class Change { Busy, Range, Value, Format, BarVisible, Status, StatusVisible };

    virtual ~ProgressView() = default;

    // Shows or hides bar, status line and Stop together; the bar goes to 0, the status is emptied.
    void showBusyWidgets(bool visible);

    void setRange(int minimum, int maximum);
    void setMinimum(int value) { setRange(value, barMaximum); }
    void setMaximum(int value) { setRange(barMinimum, value); }
    void setValue(int value);
    void setFormat(const QString &format);
    void setBarVisible(bool visible);
    void setStatus(const QString &text);
    void setStatusVisible(bool visible);

    int minimum() const { return barMinimum; }
    int maximum() const { return barMaximum; }
    int value() const { return barValue; }
    QString format() const { return barFormat; }
    bool busy() const { return busyShown; }
    bool barVisible() const { return barShown; }
    QString status() const { return statusText; }
    bool statusVisible() const { return statusShown; }

protected:
    // Called after every change, with the data already updated.
    virtual void changed(Change what) { Q_UNUSED(what) }
    // For a subclass that starts from widgets already on screen.
    void adopt(int minimum, int maximum, int value, const QString &format, bool barIsVisible,
               const QString &status, bool statusIsVisible);

private:
    int barMinimum = 0;
    int barMaximum = 100;
    int barValue = 0;
    QString barFormat = QStringLiteral("%p%");
    bool busyShown = false;
    bool barShown = false;
    QString statusText;
    bool statusShown = false;
};
