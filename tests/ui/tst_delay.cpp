// The event-pumping wait: zero returns at once; otherwise timers and queued calls run during it.
#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include "core/delay.h"

class DelayTest : public QObject {
    Q_OBJECT

private slots:
    void eventsArriveDuringTheWait()
    {
        bool ran = false;
        QMetaObject::invokeMethod(this, [&] { ran = true; }, Qt::QueuedConnection);
        delay(0);
        QVERIFY(!ran);
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(20);
        QElapsedTimer clock;
        clock.start();
        delay(300);
        QVERIFY(ran);
        QVERIFY(clock.elapsed() >= 300);
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    }
};

QTEST_MAIN(DelayTest)
#include "tst_delay.moc"
