#include "core/delay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void delay(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        const qint64 left = ms - clock.elapsed();
        if (left <= 0)
            break;
        // Sleep until something happens (or the time is up) instead of spinning on an empty queue.
        QEventLoop idle;
        QTimer::singleShot(int(qMin<qint64>(left, 100)), &idle, &QEventLoop::quit);
        idle.processEvents(QEventLoop::WaitForMoreEvents);
    }
}
