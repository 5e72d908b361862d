#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

// Keeps the window alive during long work without waiting: pending events (the Stop button
// among them) are processed at the first poll and then whenever at least intervalMs have passed
// since the last time.
class EventPump {
public:
    explicit EventPump(int intervalMs) : interval(intervalMs) {}
    void poll()
    {
        if (clock.isValid() && clock.elapsed() < interval)
            return;
        QCoreApplication::processEvents();
        clock.start();
    }

private:
    int interval;
    QElapsedTimer clock;
};
