#include "ui/core/delay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

void delay(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
}
