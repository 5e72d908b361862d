#pragma once

#include <functional>
#include <memory>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "core/dialogs.h"
#include "core/operationcontext.h"
#include "core/operationstate.h"
#include "core/outcome.h"
#include "core/progressview.h"
#include "health/healthreport.h"
#include "optimise/optimiserun.h"

class QObject;
class WorkerThread;
enum class SwapRecovery;

// What the system check found.
struct SystemCheck {
    QString drive;          // the player's drive root, "" when no player was found
    QStringList missing;    // the system files that are not there, relative to the drive root
    bool playerFound() const { return !drive.isEmpty(); }
    bool clean() const { return playerFound() && missing.isEmpty(); }
};

// The operations runner: every front end (both windows, the command-line tool) runs every
// operation through here, and only here is a run framed. For each run the runner, exactly once:
// finds the player's drive (or shows the not-found box and ends), takes the player's and the
// user's run locks (another run under way: a box, and nothing is touched), finishes or undoes a
// system swap a crash interrupted, clears Stop, names the run,
// writes one begin and one end line in the operation log, shows and hides the busy widgets,
// asks for the folder when the front end gave none, runs the engine on a worker thread (its
// questions and progress reach the front end's thread as data), and turns the engine's Outcome
// into the closing box, operationOk, the Result and, for the command line, the exit code.
// Nothing here or anywhere else judges a run by what a box said.
class Operations {
public:
    enum class Result { Done, Failed, Declined, Stopped, PlayerNotFound };
    enum class ReinstallKind { KeepSongs, Erase, SaveAndRestore };

    // How a run ended, for the front ends' events.
    struct RunEnd {
        QString operation;
        Result result = Result::Done;
        Outcome outcome;
        bool dryRun = false;
        QVariantMap details;   // fields of the operation's own (health: findings, songs, space)
    };

    struct FrontEnd {
        Dialogs *dialogs = nullptr;                 // not owned; null: every box takes its safe answer
        ProgressView *progress = nullptr;           // not owned; null: progress shows nowhere
        QObject *window = nullptr;                  // parent of the operations' boxes
        std::function<QString()> findDeviceDrive;   // null: the mounted volumes (device/devicedrive.h)
        // Told on the front end's thread, in the order things happened.
        std::function<void(const QString &operation)> onStart;
        std::function<void(const RunEnd &end)> onEnd;
        std::function<void(const QString &action, const QString &path, const QString &target, bool ok)> onFileAction;
        // false: the engines run on the calling thread (benchmarks, engine tests).
        bool workerThread = true;
    };

    Operations();
    explicit Operations(FrontEnd frontEnd);
    ~Operations();
    Operations(const Operations &) = delete;
    Operations &operator=(const Operations &) = delete;

    FrontEnd &frontEnd() { return front; }
    void setDialogs(Dialogs *dialogs) { front.dialogs = dialogs; }

    // The player's drive root ending in "/", or "".
    QString deviceDrive() const;
    // True while a run is under way (a second one is refused by the front ends).
    bool running() const { return inRun; }
    // Presses Stop: the run in hand ends at its next safe point (within half a second).
    void requestStop() { state.pressStop(); }

    // Looks for the player and its system files, after finishing or undoing a system swap that a
    // crash interrupted (one box says which, when there was one).
    SystemCheck check();
    // The start-up repair: the plain reinstall, with the busy widgets given.
    Result repair(ProgressView *busy = nullptr);
    Result update(ProgressView *busy = nullptr);
    // folder "": asked through the front end's folder chooser.
    Result backup(const QString &folder = QString(), ProgressView *busy = nullptr);
    Result restore(const QString &folder = QString(), ProgressView *busy = nullptr);
    // Only the parts of the backup given (paths relative to the player's root, as the backup
    // holds them: a folder with everything below it, a file alone); none asks (the window's tree).
    Result restoreParts(const QString &folder, const QStringList &parts, ProgressView *busy = nullptr);
    // Of parts, those a restore from folder would refuse: outside the backup ("..", absolute) or
    // matching none of its files (all of them when it cannot be read). Reads the backup only.
    static QStringList partsNotInBackup(const QString &folder, const QStringList &parts);
    // folder: where SaveAndRestore keeps the songs ("": asked).
    Result reinstall(ReinstallKind kind, const QString &folder = QString(), ProgressView *busy = nullptr);
    // A dry run lists through onFileAction every action a real run would take, and changes nothing.
    Result optimise(const OptimiseSteps &steps, bool dryRun = false, ProgressView *busy = nullptr);

    // The library health check: reports what the player will trip over; fixGroups (health::Group
    // flags) offers those fixes, each after a question. A dry run lists the fixes and changes
    // nothing. Done when nothing is left to report, Failed when something is.
    Result health(int fixGroups = 0, bool dryRun = false, ProgressView *busy = nullptr);
    // The backups folder holds, listed in the outcome (report, details); no player needed.
    Result backups(const QString &folder = QString(), ProgressView *busy = nullptr);
    // The backup in folder (or the newest complete one it holds) against its manifest: presence
    // and sizes, with readData every byte; Failed naming each missing or damaged file.
    Result verify(const QString &folder = QString(), bool readData = false, ProgressView *busy = nullptr);
    // Removes the backups in folder older than its keep (at least 1) newest complete ones.
    Result prune(const QString &folder, int keep, bool dryRun = false, ProgressView *busy = nullptr);

    // The outcome of the last run, as its engine reported it.
    const Outcome &lastOutcome() const { return last.outcome; }
    const RunEnd &lastRun() const { return last; }

    static QString resultName(Result result);
    // The command line's exit code: 0 done, 1 failed, declined or stopped, 3 no player.
    static int exitCode(Result result);

    OperationState state;
    OptimiseState optimiseState;    // the scan, title and split state, and the defragmenter
    QString packagePath;            // the full package of the last plain reinstall
    health::Report healthReport;    // what the last health check found

private:
    struct Plan;
    // folder: the one the front end gave or the chooser returned ("" when the operation takes none).
    using Work = std::function<Outcome(OperationContext &ctx, const QString &folder)>;

    Result run(const Plan &plan, ProgressView *busy, const Work &work);
    // The plan's folder, or the one the chooser gives; false when it takes one and has none.
    bool chooseFolder(const Plan &plan, ProgressView &view, QString *folder);
    // Finishes or undoes a swap a crash left on the drive (update/swaprecovery.h).
    SwapRecovery recoverSwap(const Plan &plan, ProgressView &view, const QString &drive);
    // The engine's work on the worker thread, with this run's context.
    Outcome execute(const Plan &plan, ProgressView &view, const QString &drive, const QString &folder, const Work &work);
    void closingBox(const Plan &plan, const Outcome &outcome);
    void healthBox(const Outcome &outcome);
    Dialogs &dialogs();

    FrontEnd front;
    RunEnd last;
    bool inRun = false;
    QByteArray driveVolume;   // the run's drive's volume as the run found it
    std::unique_ptr<WorkerThread> worker;
};
