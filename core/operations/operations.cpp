#include "core/operations/operations.h"

#include <QFileInfo>
#include <QProcess>

#include "core/operationlog.h"
#include "device/devicedrive.h"
#include "device/entries.h"
#include "optimise/defrag.h"
#include "optimise/foldersplit.h"
#include "optimise/junkandimages.h"
#include "optimise/libraryscan.h"
#include "transfer/backup.h"
#include "transfer/copyengine.h"
#include "transfer/folderremoval.h"
#include "transfer/restore.h"
#include "update/reinstall.h"
#include "update/systemupdate.h"

// What one run of an operation saw, for judging how it ended.
struct Operations::Run {
    bool errorShown = false;       // a box of kind Error
    bool copyFailed = false;       // the continue-after-error question came up
    bool declined = false;         // a go-on question not answered with going on, a chooser cancelled
    bool driveMissing = false;     // the drive lookup came back empty
    QStringList informationTitles; // titles of the plain boxes, where the engines say "Done"
};

// The front end's dialogs, watched: every answer is noted for the run in hand, and a folder
// given in advance (the command line's) answers the folder chooser.
class Operations::WatchingDialogs : public Dialogs {
public:
    explicit WatchingDialogs(Operations &owner) : owner(owner) {}

    int showMessage(const MessageBoxRequest &request) override
    {
        Dialogs *inner = owner.front.dialogs;
        const int answer = inner ? inner->showMessage(request) : request.safeAnswer();
        if (Run *run = current) {
            switch (request.kind) {
            case QuestionKind::Error: run->errorShown = true; break;
            case QuestionKind::ContinueAfterError: run->copyFailed = true; break;
            case QuestionKind::Confirm:
            case QuestionKind::ConfirmDeletion:
                if (answer != request.proceedAnswer())
                    run->declined = true;
                break;
            case QuestionKind::Information: run->informationTitles << request.title; break;
            case QuestionKind::Overwrite: break;
            }
        }
        return answer;
    }

    QString chooseFolder(const FolderRequest &request) override
    {
        QString folder = presetFolder;
        if (folder.isEmpty() && owner.front.dialogs)
            folder = owner.front.dialogs->chooseFolder(request);
        if (folder.isEmpty() && current)
            current->declined = true;
        return folder;
    }

    void aboutToolkit(QObject *parent) override
    {
        if (owner.front.dialogs)
            owner.front.dialogs->aboutToolkit(parent);
    }

    Operations &owner;
    Run *current = nullptr;
    QString presetFolder;
};

namespace {

// A sink for runs without a busy view of their own.
ProgressView &nowhere()
{
    static ProgressView view;
    return view;
}

} // namespace

Operations::Operations(FrontEnd frontEnd) : front(std::move(frontEnd)), watcher(std::make_unique<WatchingDialogs>(*this))
{
}

Operations::Operations() : Operations(FrontEnd()) {}

Operations::~Operations() = default;

OperationContext Operations::context(ProgressView *progress)
{
    ProgressView &view = progress ? *progress : front.progress ? *front.progress : nowhere();
    OperationContext ctx{state, *watcher, view};
    ctx.window = front.window;
    ctx.findDeviceDrive = [this] {
        const QString drive = deviceDrive();
        if (drive.isEmpty() && watcher->current)
            watcher->current->driveMissing = true;
        return drive;
    };
    ctx.onFileAction = front.onFileAction;
    return ctx;
}

QString Operations::deviceDrive() const
{
    return front.findDeviceDrive ? front.findDeviceDrive() : findDeviceDrive();
}

QStringList Operations::systemFiles()
{
    return {QStringLiteral("AUTOEXEC.BAT"), QStringLiteral("System/Corvel/Corvel.exe"),
            QStringLiteral("System/DispProc/DispProc.exe")};
}

SystemCheck Operations::check() const
{
    SystemCheck result;
    result.drive = deviceDrive();
    if (result.drive.isEmpty())
        return result;
    for (const QString &file : systemFiles())
        if (!QFileInfo::exists(result.drive + file))
            result.missing << file;
    return result;
}

Operations::Result Operations::runOperation(const QString &name, const QString &presetFolder, ProgressView *busy,
                                            bool dryRun, const std::function<bool(OperationContext &)> &work)
{
    Run run;
    Run *outer = watcher->current;
    const QString outerFolder = watcher->presetFolder;
    watcher->current = &run;
    if (!presetFolder.isEmpty())
        watcher->presetFolder = presetFolder;

    OperationContext ctx = context(busy);
    ctx.operationName = name;
    ctx.dryRun = dryRun;
    if (!outer) {
        if (!dryRun)
            oplog::begin(name);
        if (front.onStart)
            front.onStart(name);
    }
    state.operationOk = true;
    const bool engineDone = work(ctx);

    Result result = Result::Done;
    if (state.stopRequested)
        result = Result::Stopped;
    else if (run.driveMissing && !engineDone)
        result = Result::PlayerNotFound;
    else if (run.declined)
        result = Result::Declined;
    else if (run.errorShown || run.copyFailed || !state.operationOk || !engineDone)
        result = Result::Failed;
    state.operationOk = result == Result::Done;

    watcher->current = outer;
    watcher->presetFolder = outerFolder;
    if (outer) {
        // A step of a larger operation: its troubles are the larger one's.
        outer->errorShown |= run.errorShown;
        outer->copyFailed |= run.copyFailed;
        outer->declined |= run.declined;
        outer->driveMissing |= run.driveMissing;
        outer->informationTitles << run.informationTitles;
    } else {
        if (!dryRun)
            oplog::end(name, result == Result::Done);
        if (front.onEnd)
            front.onEnd(name, result);
    }
    return result;
}

Operations::Result Operations::repair(ProgressView *busy)
{
    return reinstall(ReinstallKind::KeepSongs, QString(), busy);
}

Operations::Result Operations::update(bool showEndMessage, ProgressView *busy)
{
    return runOperation(QStringLiteral("update"), QString(), busy, false, [&](OperationContext &ctx) {
        return SystemUpdate(ctx).updateSystem(showEndMessage);
    });
}

Operations::Result Operations::backup(const QString &folder, ProgressView *busy)
{
    return runOperation(QStringLiteral("backup"), folder, busy, false, [&](OperationContext &ctx) {
        transfer::runBackup(ctx);
        return watcher->current->informationTitles.contains(ctx.pick("Fatto", "Done"));
    });
}

Operations::Result Operations::restore(const QString &folder, ProgressView *busy)
{
    return runOperation(QStringLiteral("restore"), folder, busy, false, [&](OperationContext &ctx) {
        transfer::runRestore(ctx);
        return watcher->current->informationTitles.contains(ctx.pick("Fatto", "Done"));
    });
}

Operations::Result Operations::reinstall(ReinstallKind kind, const QString &folder, ProgressView *busy)
{
    return runOperation(QStringLiteral("reinstall"), folder, busy, false, [&](OperationContext &ctx) {
        Reinstall engine(ctx);
        switch (kind) {
        case ReinstallKind::KeepSongs: engine.reinstallSystem(packagePath); break;
        case ReinstallKind::Erase: engine.reinstallAndClean(); break;
        case ReinstallKind::SaveAndRestore: engine.reinstallAndRestore(); break;
        }
        return watcher->current->informationTitles.contains(ctx.message(MSG_END_OPERATION_TITLE));
    });
}

Operations::Result Operations::optimise(const OptimiseSteps &steps, bool dryRun, ProgressView *busy)
{
    return runOperation(QStringLiteral("optimise"), QString(), busy, dryRun, [&](OperationContext &ctx) {
        if (!steps.any())
            return true;
        state.stopRequested = false;
        return optimise::run(ctx, optimiseState, steps);
    });
}

QString Operations::resultName(Result result)
{
    switch (result) {
    case Result::Done: return QStringLiteral("done");
    case Result::Failed: return QStringLiteral("failed");
    case Result::Declined: return QStringLiteral("declined");
    case Result::Stopped: return QStringLiteral("stopped");
    case Result::PlayerNotFound: return QStringLiteral("player-not-found");
    }
    return QString();
}
