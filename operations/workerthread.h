#pragma once

#include <functional>
#include <memory>
#include <QThread>

#include "core/dialogs.h"
#include "core/progressview.h"

class QObject;

// A thread of its own for the operations' work, kept for the runner's life so that what an
// engine leaves running between runs (a defragmenter) keeps a live home. run() hands it one piece
// of work and returns when it has ended, the calling thread's events processed meanwhile: the
// window repaints and Stop can be pressed.
class WorkerThread {
public:
    WorkerThread();
    ~WorkerThread();   // waits for the thread's end
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    void run(const std::function<void()> &work);

private:
    QThread thread;
    QObject *context;   // lives on the thread; work is queued to it
};

// The front end's dialogs, reached from the worker: each question is asked on the front end's
// thread (the one that owns home) and the worker waits for the answer. Called on that thread
// itself, it asks directly.
class DialogsBridge : public Dialogs {
public:
    DialogsBridge(Dialogs &inner, QObject *home) : inner(inner), home(home) {}

    int showMessage(const MessageBoxRequest &request) override;
    QString chooseFolder(const FolderRequest &request) override;
    void aboutToolkit(QObject *parent) override;
    int chooseItem(const ChoiceRequest &request) override;
    bool choosePart(const PartRequest &request, QStringList *parts) override;

private:
    void onHome(const std::function<void()> &call);

    Dialogs &inner;
    QObject *home;
};

// The front end's progress view, fed from the worker: every change is passed on as data, in
// order, to the front end's thread, which repaints when it sees fit.
class ProgressBridge : public ProgressView {
public:
    ProgressBridge(ProgressView &inner, QObject *home);

protected:
    void changed(Change what) override;

private:
    ProgressView &inner;
    QObject *home;
};
