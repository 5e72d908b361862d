#include "operations/operations.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QObject>

#include "core/messagetable.h"
#include "core/operationcontext.h"
#include "core/operationlog.h"
#include "device/devicedrive.h"
#include "device/platform.h"
#include "device/playerlayout.h"
#include "operations/runlock.h"
#include "operations/workerthread.h"
#include "health/healthcheck.h"
#include "optimise/optimiserun.h"
#include "transfer/backup.h"
#include "transfer/backupset.h"
#include "transfer/restore.h"
#include "transfer/restoreparts.h"
#include "update/reinstall.h"
#include "update/swaprecovery.h"
#include "update/systemupdate.h"

// What the runner needs to know of an operation besides its engine.
struct Operations::Plan {
    enum class Closing { Backup, Restore, Update, Reinstall, Optimise, Health, Backups };

    QString name;            // in the log and the front ends' events
    Closing closing;
    QString folder;          // given by the front end; "" with a chooser caption: asked
    // The folder chooser's caption (marked with QT_TRANSLATE_NOOP), null when it takes no folder.
    const char *chooserCaption = nullptr;
    int statusBeforeChooser = -1;   // a message code shown while the chooser is open
    bool dryRun = false;
    std::function<QVariantMap()> details;   // the run's own fields for the front ends' end event
    // Works on the PC's folders alone (backups, verify, prune): no player looked for or locked,
    // no swap recovered; the drive, when there is one, only keeps removals off it.
    bool playerNeeded = true;
};

namespace {

// A sink for runs without a busy view of their own.
class NoProgress : public ProgressView {};

// Without dialogs every box takes its safe answer.
class SafeAnswers : public Dialogs {
public:
    int showMessage(const MessageBoxRequest &request) override { return request.safeAnswer(); }
    QString chooseFolder(const FolderRequest &) override { return QString(); }
    void aboutToolkit(QObject *) override {}
};

} // namespace

Operations::Operations(FrontEnd frontEnd) : front(std::move(frontEnd)) {}

Operations::Operations() : Operations(FrontEnd()) {}

Operations::~Operations()
{
    // What the worker started lives on the worker: it ends there too.
    if (worker)
        worker->run([this] { optimiseState.defragProcess.reset(); });
}

Dialogs &Operations::dialogs()
{
    static SafeAnswers safe;
    return front.dialogs ? *front.dialogs : safe;
}

QString Operations::deviceDrive() const
{
    return front.findDeviceDrive ? front.findDeviceDrive() : findDeviceDrive();
}

SystemCheck Operations::check()
{
    SystemCheck result;
    result.drive = deviceDrive();
    if (result.drive.isEmpty())
        return result;
    // A swap a crash interrupted is finished or undone first, unless a run elsewhere holds the
    // player: then the check only looks.
    RunLock lock;
    if (lock.acquire(result.drive)) {
        NoProgress nowhere;
        Plan plan{QStringLiteral("check"), Plan::Closing::Update};
        recoverSwap(plan, front.progress ? *front.progress : nowhere, result.drive);
    }
    result.missing = playerlayout::missingSystemFiles(result.drive);
    return result;
}

SwapRecovery Operations::recoverSwap(const Plan &plan, ProgressView &view, const QString &drive)
{
    SwapRecovery recovery = SwapRecovery::Nothing;
    Plan recovering = plan;
    recovering.dryRun = false;   // finishing an interrupted swap is never a rehearsal
    execute(recovering, view, drive, QString(), [&recovery](OperationContext &ctx, const QString &) {
        recovery = recoverInterruptedSwap(ctx);
        return Outcome();
    });
    return recovery;
}

Operations::Result Operations::run(const Plan &plan, ProgressView *busy, const Work &work)
{
    NoProgress nowhere;
    ProgressView &view = busy ? *busy : front.progress ? *front.progress : nowhere;
    Dialogs &asked = dialogs();
    inRun = true;
    state.stopRequested = false;
    state.stopPressed = false;
    state.operationOk = false;
    last = RunEnd();
    last.operation = plan.name;
    last.dryRun = plan.dryRun;
    if (front.onStart)
        front.onStart(plan.name);
    if (!plan.dryRun)
        oplog::begin(plan.name);

    view.showBusyWidgets(true);
    if (plan.playerNeeded)
        view.setStatus(messageText(state.currentLanguage, MSG_SEARCHING_DEVICE));
    const QString drive = deviceDrive();
    driveVolume = drive.isEmpty() ? QByteArray() : platform::volumeIdentity(drive);
    RunLock lock;
    QString folder = plan.folder;
    Outcome outcome;
    if (!plan.playerNeeded) {
        if (chooseFolder(plan, view, &folder))
            outcome = execute(plan, view, drive, folder, work);
        else
            outcome = Outcome::of(Outcome::Status::Declined);
    } else if (drive.isEmpty()) {
        boxes::information(asked, front.window, messageText(state.currentLanguage, MSG_DEVICE_NOT_FOUND_TITLE),
                           messageText(state.currentLanguage, MSG_DEVICE_NOT_FOUND_TEXT),
                           QStringLiteral("device.notFound"));
        outcome = Outcome::of(Outcome::Status::PlayerNotFound);
    } else if (!lock.acquire(drive)) {
        boxes::information(asked, front.window, state.translate("Operations", "Operation in progress"),
                           state.translate("Operations", "Another operation is running on the Corvel3.\nWait for it to end, then try again."),
                           QStringLiteral("lock.busy"));
        outcome = Outcome::failure(true);
    } else if (recoverSwap(plan, view, drive) == SwapRecovery::Failed
               && (plan.closing == Plan::Closing::Update || plan.closing == Plan::Closing::Reinstall)) {
        outcome = Outcome::failure(true);   // no new system goes on a player whose last swap is unsettled
    } else if (!chooseFolder(plan, view, &folder)) {
        outcome = Outcome::of(Outcome::Status::Declined);
    } else {
        outcome = execute(plan, view, drive, folder, work);
        // A player that went away (or left only its mount point behind) explains the failure.
        if (outcome.status == Outcome::Status::Failed && platform::volumeIdentity(drive) != driveVolume)
            outcome.status = Outcome::Status::PlayerNotFound;
    }

    Result result = Result::Done;
    switch (outcome.status) {
    case Outcome::Status::Done: result = Result::Done; break;
    case Outcome::Status::Failed: result = Result::Failed; break;
    case Outcome::Status::Declined: result = Result::Declined; break;
    case Outcome::Status::Stopped: result = Result::Stopped; break;
    case Outcome::Status::PlayerNotFound: result = Result::PlayerNotFound; break;
    }
    // The closing box comes while the busy widgets still show the run it closes.
    if (result != Result::PlayerNotFound || !drive.isEmpty() || !plan.playerNeeded)
        closingBox(plan, outcome);
    view.showBusyWidgets(false);
    lock.release();
    state.operationOk = result == Result::Done;
    if (!plan.dryRun)
        oplog::end(plan.name, state.operationOk);
    last.result = result;
    last.outcome = outcome;
    if (plan.details)
        last.details = plan.details();
    inRun = false;
    if (front.onEnd)
        front.onEnd(last);
    return result;
}

bool Operations::chooseFolder(const Plan &plan, ProgressView &view, QString *folder)
{
    if (!plan.chooserCaption)
        return true;   // the operation takes no folder
    if (folder->isEmpty()) {
        if (plan.statusBeforeChooser >= 0)
            view.setStatus(messageText(state.currentLanguage, plan.statusBeforeChooser));
        FolderRequest request;
        request.caption = state.translate("Operations", plan.chooserCaption);
        request.parent = front.window;
        *folder = dialogs().chooseFolder(request);
    }
    return !folder->isEmpty();
}

Outcome Operations::execute(const Plan &plan, ProgressView &view, const QString &drive, const QString &folder,
                            const Work &work)
{
    // The engine's questions and progress go to this thread as data; so do its file actions.
    QObject home;
    DialogsBridge bridgedDialogs(dialogs(), &home);
    ProgressBridge bridgedProgress(view, &home);
    OperationContext ctx{state, bridgedDialogs, bridgedProgress};
    ctx.window = front.window;
    ctx.driveRoot = drive;
    ctx.driveVolume = driveVolume;
    ctx.operationName = plan.name;
    ctx.dryRun = plan.dryRun;
    if (front.onFileAction) {
        const auto told = front.onFileAction;
        ctx.onFileAction = [told, &home](const QString &action, const QString &path, const QString &target, bool ok) {
            if (QThread::currentThread() == home.thread())
                told(action, path, target, ok);
            else
                QMetaObject::invokeMethod(&home, [=] { told(action, path, target, ok); }, Qt::QueuedConnection);
        };
    }
    Outcome outcome;
    const auto engine = [&] { outcome = work(ctx, folder); };
    if (front.workerThread) {
        if (!worker)
            worker = std::make_unique<WorkerThread>();
        worker->run(engine);
    } else {
        engine();
    }
    // Stop pressed while the last step was ending still makes the run a stopped one.
    if ((state.stopRequested || state.stopPressed) && outcome.status == Outcome::Status::Done)
        outcome.status = Outcome::Status::Stopped;
    return outcome;
}

// The one box that closes a run: the operation's own success box, or, when the engine's boxes
// have not said so already, what went wrong.
void Operations::closingBox(const Plan &plan, const Outcome &outcome)
{
    if (plan.dryRun)
        return;
    Dialogs &asked = dialogs();
    const int lang = state.currentLanguage;
    const auto table = [lang](int code) { return messageText(lang, code); };
    const QString log = QDir::toNativeSeparators(oplog::path());
    const bool counted = outcome.failed > 0 && outcome.total > 0;

    // A backup cut short by the player going away still says how many files it could not save.
    const bool savedPart = plan.closing == Plan::Closing::Backup && counted;
    if (outcome.status == Outcome::Status::PlayerNotFound && !savedPart) {
        boxes::information(asked, front.window, table(MSG_DEVICE_NOT_FOUND_TITLE), table(MSG_DEVICE_NOT_FOUND_TEXT),
                           QStringLiteral("device.notFound"));
        return;
    }
    if (plan.closing == Plan::Closing::Health) {
        healthBox(outcome);
        return;
    }
    if (outcome.status == Outcome::Status::Done) {
        switch (plan.closing) {
        case Plan::Closing::Backup:
        case Plan::Closing::Restore: {
            const QString done = state.translate("Operations", "Done");
            boxes::information(asked, front.window, done, done, plan.name + QStringLiteral(".done"));
            break;
        }
        case Plan::Closing::Update:
            boxes::information(asked, front.window, table(MSG_UPDATE_END_TITLE), table(MSG_UPDATE_DOWNLOADED_TEXT),
                               QStringLiteral("update.done"));
            break;
        case Plan::Closing::Reinstall:
            boxes::information(asked, front.window, table(MSG_END_OPERATION_TITLE), table(MSG_SETUP_FINISHED_TEXT),
                               QStringLiteral("reinstall.done"));
            break;
        case Plan::Closing::Optimise:
        case Plan::Closing::Health:
            break;   // each step has said how it went
        case Plan::Closing::Backups:
            if (plan.name != QLatin1String("backups")) {   // a listing is its own answer
                const QString done = state.translate("Operations", "Done");
                boxes::information(asked, front.window, done, done, plan.name + QStringLiteral(".done"));
            }
            break;
        }
        return;
    }
    if ((outcome.status != Outcome::Status::Failed && !savedPart) || outcome.told)
        return;

    MessageBoxRequest box;
    box.kind = QuestionKind::Error;
    box.icon = BoxIcon::Warning;
    box.parent = front.window;
    box.buttons = {{BoxRole::Ok, QStringLiteral("Ok")}};
    box.code = plan.name + QStringLiteral(".failed");
    switch (plan.closing) {
    case Plan::Closing::Backup:
    case Plan::Closing::Restore:
        if (counted && plan.closing == Plan::Closing::Restore) {
            box.code = QStringLiteral("restore.incomplete");
            box.title = state.translate("Operations", "Restore incomplete");
            box.text = state.translate("Operations", "%1 of %2 files were not restored to the Corvel3.\n"
                                                     "The log of operations is in:\n%3");
        } else if (counted) {
            box.code = QStringLiteral("backup.incomplete");
            box.title = state.translate("Operations", "Backup incomplete");
            box.text = state.translate("Operations", "%1 of %2 files were not saved in the backup.\n"
                                                     "The log of operations is in:\n%3");
        } else {
            box.icon = BoxIcon::Information;
            box.title = table(MSG_BACKUP_ERROR_TITLE);
            box.text = table(MSG_BACKUP_ERROR_TEXT);
            asked.showMessage(box);
            return;
        }
        box.text = box.text.arg(outcome.failed).arg(outcome.total).arg(log);
        break;
    case Plan::Closing::Optimise:
        if (counted) {
            box.title = state.translate("Operations", "Optimisation incomplete");
            box.text = state.translate("Operations", "%1 of %2 actions on the Corvel3's files failed.\n"
                                                     "The log of operations is in:\n%3")
                           .arg(outcome.failed)
                           .arg(outcome.total)
                           .arg(log);
            break;
        }
        Q_FALLTHROUGH();
    case Plan::Closing::Update:
    case Plan::Closing::Reinstall:
    case Plan::Closing::Health:
    case Plan::Closing::Backups:
        box.title = box.text = state.translate("Operations", "ERROR");
        break;
    }
    asked.showMessage(box);
}

Operations::Result Operations::repair(ProgressView *busy)
{
    return reinstall(ReinstallKind::KeepSongs, QString(), busy);
}

Operations::Result Operations::update(ProgressView *busy)
{
    Plan plan{QStringLiteral("update"), Plan::Closing::Update};
    return run(plan, busy, [](OperationContext &ctx, const QString &) { return SystemUpdate(ctx).run(); });
}

Operations::Result Operations::backup(const QString &folder, ProgressView *busy)
{
    Plan plan{QStringLiteral("backup"), Plan::Closing::Backup, folder, QT_TRANSLATE_NOOP("Operations", "Choose a folder where save your files")};
    return run(plan, busy, [](OperationContext &ctx, const QString &chosen) { return transfer::backup(ctx, chosen); });
}

Operations::Result Operations::restore(const QString &folder, ProgressView *busy)
{
    return restoreParts(folder, QStringList(), busy);
}

Operations::Result Operations::restoreParts(const QString &folder, const QStringList &parts, ProgressView *busy)
{
    Plan plan{QStringLiteral("restore"), Plan::Closing::Restore, folder, QT_TRANSLATE_NOOP("Operations", "Choose a folder where to get your saved files"), MSG_RESTORING_BACKUP};
    transfer::RestoreChoice choice;
    choice.only = parts;
    choice.ask = parts.isEmpty();
    return run(plan, busy, [choice](OperationContext &ctx, const QString &chosen) { return transfer::restore(ctx, chosen, choice); });
}

QStringList Operations::partsNotInBackup(const QString &folder, const QStringList &parts)
{
    OperationState quiet;
    SafeAnswers safe;
    NoProgress nowhere;
    OperationContext ctx{quiet, safe, nowhere};
    bool readable = false;
    const QStringList files = transfer::backupFiles(ctx, folder, &readable);
    if (!readable)
        return parts;
    QStringList wrong;
    for (const QString &part : parts) {
        const QString clean = transfer::cleanPart(part);
        if (clean.isEmpty() || !transfer::partsMatchingNothing(files, {clean}).isEmpty())
            wrong << part;
    }
    return wrong;
}

Operations::Result Operations::reinstall(ReinstallKind kind, const QString &folder, ProgressView *busy)
{
    Plan plan{QStringLiteral("reinstall"), Plan::Closing::Reinstall};
    switch (kind) {
    case ReinstallKind::KeepSongs:
        return run(plan, busy, [this](OperationContext &ctx, const QString &) { return Reinstall(ctx).keepSongs(packagePath); });
    case ReinstallKind::Erase:
        plan.name = QStringLiteral("reinstall and delete songs");
        return run(plan, busy, [](OperationContext &ctx, const QString &) { return Reinstall(ctx).eraseSongs(); });
    case ReinstallKind::SaveAndRestore:
        plan.name = QStringLiteral("reinstall and restore songs");
        plan.folder = folder;
        plan.chooserCaption = QT_TRANSLATE_NOOP("Operations", "Choose a folder to save your files");
        plan.statusBeforeChooser = MSG_BACKUP_TO_PC;
        return run(plan, busy, [](OperationContext &ctx, const QString &chosen) { return Reinstall(ctx).saveAndRestore(chosen); });
    }
    return Result::Failed;
}

Operations::Result Operations::optimise(const OptimiseSteps &steps, bool dryRun, ProgressView *busy)
{
    Plan plan{QStringLiteral("optimise"), Plan::Closing::Optimise};
    plan.dryRun = dryRun;
    return run(plan, busy, [this, steps](OperationContext &ctx, const QString &) {
        return steps.any() ? optimise::run(ctx, optimiseState, steps) : Outcome();
    });
}

Operations::Result Operations::health(int fixGroups, bool dryRun, ProgressView *busy)
{
    Plan plan{QStringLiteral("health"), Plan::Closing::Health};
    plan.dryRun = dryRun;
    plan.details = [this] {
        return QVariantMap{{QStringLiteral("findings"), healthReport.toVariant(state)},
                           {QStringLiteral("songs"), healthReport.songs},
                           {QStringLiteral("songBytes"), healthReport.songBytes},
                           {QStringLiteral("freeBytes"), healthReport.freeBytes},
                           {QStringLiteral("packageBytes"), healthReport.packageBytes}};
    };
    healthReport = health::Report();
    // The package a reinstall would put on the player: this session's, else the one kept.
    const QString package = QFileInfo(packagePath).isFile() ? packagePath : Reinstall::cachedPackagePath();
    return run(plan, busy, [this, fixGroups, package](OperationContext &ctx, const QString &) {
        return health::run(ctx, health::Options{fixGroups, package}, &healthReport);
    });
}

// The health check's closing box: the summary, and the fixes that did not work.
void Operations::healthBox(const Outcome &outcome)
{
    if (outcome.status != Outcome::Status::Done && outcome.status != Outcome::Status::Failed)
        return;
    if (outcome.told)
        return;
    QStringList lines = healthReport.summary(state);
    if (outcome.failed > 0)
        lines << QString() << state.translate("Operations", "%1 of %2 fixes failed:")
                                  .arg(outcome.failed)
                                  .arg(outcome.total)
              << outcome.notDone.mid(0, outcome.failed);
    const bool clean = outcome.status == Outcome::Status::Done;
    boxes::information(dialogs(), front.window, state.translate("Operations", "Library check"),
                       lines.join(QLatin1Char('\n')), clean ? QStringLiteral("health.clean") : QStringLiteral("health.findings"));
}

Operations::Result Operations::backups(const QString &folder, ProgressView *busy)
{
    Plan plan{QStringLiteral("backups"), Plan::Closing::Backups, folder, QT_TRANSLATE_NOOP("Operations", "Choose the folder of the backups")};
    plan.playerNeeded = false;
    return run(plan, busy, [](OperationContext &ctx, const QString &chosen) { return transfer::listBackupsOperation(ctx, chosen); });
}

Operations::Result Operations::verify(const QString &folder, bool readData, ProgressView *busy)
{
    Plan plan{QStringLiteral("verify"), Plan::Closing::Backups, folder, QT_TRANSLATE_NOOP("Operations", "Choose the backup to check")};
    plan.playerNeeded = false;
    return run(plan, busy, [readData](OperationContext &ctx, const QString &chosen) {
        return transfer::verifyBackups(ctx, chosen, readData);
    });
}

Operations::Result Operations::prune(const QString &folder, int keep, bool dryRun, ProgressView *busy)
{
    Plan plan{QStringLiteral("prune"), Plan::Closing::Backups, folder, QT_TRANSLATE_NOOP("Operations", "Choose the folder of the backups")};
    plan.playerNeeded = false;
    plan.dryRun = dryRun;
    return run(plan, busy, [keep](OperationContext &ctx, const QString &chosen) {
        return transfer::pruneBackups(ctx, chosen, std::max(1, keep));
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

int Operations::exitCode(Result result)
{
    switch (result) {
    case Result::Done: return 0;
    case Result::PlayerNotFound: return 3;
    default: return 1;
    }
}
