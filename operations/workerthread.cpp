#include "operations/workerthread.h"

#include <atomic>

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QTimer>

WorkerThread::WorkerThread() : context(new QObject)
{
    thread.setObjectName(QStringLiteral("corvel3 operations"));
    context->moveToThread(&thread);
    thread.start();
}

WorkerThread::~WorkerThread()
{
    thread.quit();
    thread.wait();
    delete context;
}

void WorkerThread::run(const std::function<void()> &work)
{
    QEventLoop loop;
    std::atomic<bool> ended{false};
    // The end is posted to the loop's thread after everything the work posted there (progress,
    // file actions), so those have all been delivered when run() returns. The timer looks at the
    // flag too: a wake-up that never arrives must not leave this thread waiting for ever.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (ended)
            loop.quit();
    });
    watch.start(50);
    QMetaObject::invokeMethod(
        context,
        [&] {
            work();
            QMetaObject::invokeMethod(&loop, [&] { loop.quit(); }, Qt::QueuedConnection);
            ended = true;
        },
        Qt::QueuedConnection);
    while (!ended)
        loop.exec();
    // What the work posted before it ended is delivered before run() returns.
    QCoreApplication::sendPostedEvents();
}

void DialogsBridge::onHome(const std::function<void()> &call)
{
    if (QThread::currentThread() == home->thread())
        call();
    else
        QMetaObject::invokeMethod(home, call, Qt::BlockingQueuedConnection);
}

int DialogsBridge::showMessage(const MessageBoxRequest &request)
{
    int answer = request.safeAnswer();
    onHome([&] { answer = inner.showMessage(request); });
    return answer;
}

QString DialogsBridge::chooseFolder(const FolderRequest &request)
{
    QString folder;
    onHome([&] { folder = inner.chooseFolder(request); });
    return folder;
}

void DialogsBridge::aboutToolkit(QObject *parent)
{
    onHome([&] { inner.aboutToolkit(parent); });
}

int DialogsBridge::chooseItem(const ChoiceRequest &request)
{
    int chosen = -1;
    onHome([&] { chosen = inner.chooseItem(request); });
    return chosen;
}

bool DialogsBridge::choosePart(const PartRequest &request, QStringList *parts)
{
    bool chosen = false;
    onHome([&] { chosen = inner.choosePart(request, parts); });
    return chosen;
}

ProgressBridge::ProgressBridge(ProgressView &inner, QObject *home) : inner(inner), home(home)
{
    adopt(inner.minimum(), inner.maximum(), inner.value(), inner.format(), inner.barVisible(), inner.status(),
          inner.statusVisible());
}

void ProgressBridge::changed(Change what)
{
    // A copy of the data travels: by the time it arrives, this side may have moved on.
    const int min = minimum(), max = maximum(), val = value();
    const QString fmt = format(), text = status();
    const bool isBusy = busy(), bar = barVisible(), statusShown = statusVisible();
    ProgressView *target = &inner;
    const auto apply = [=] {
        switch (what) {
        case Change::Busy: target->showBusyWidgets(isBusy); break;
        case Change::Range: target->setRange(min, max); break;
        case Change::Value: target->setValue(val); break;
        case Change::Format: target->setFormat(fmt); break;
        case Change::BarVisible: target->setBarVisible(bar); break;
        case Change::Status: target->setStatus(text); break;
        case Change::StatusVisible: target->setStatusVisible(statusShown); break;
        }
    };
    if (QThread::currentThread() == home->thread())
        apply();
    else
        QMetaObject::invokeMethod(home, apply, Qt::QueuedConnection);
}
