#pragma once

#include <functional>
#include <memory>
#include <QString>
#include <QStringList>

#include "core/dialogs.h"
#include "core/operationcontext.h"
#include "core/operationstate.h"
#include "core/progressview.h"
#include "optimise/optimiserun.h"

class QObject;
class QProcess;

// What the system check found.
struct SystemCheck {
    QString drive;          // the player's drive root, "" when no player was found
    QStringList missing;    // the system files that are not there, relative to the drive root
    bool playerFound() const { return !drive.isEmpty(); }
    bool clean() const { return playerFound() && missing.isEmpty(); }
};

// The operations core: the state every operation reads (language, Stop, success flag), the
// optimisation's scan, title and split state, and every operation, each wired to its engines
// through one OperationContext. Both windows and the command-line tool run operations only
// through here, with their own dialogs, busy view and device lookup.
//
// Each operation returns how it ended. It is judged from what the engines report, the same way
// for every front end:
//   Stopped         Stop was pressed;
//   PlayerNotFound  the drive lookup came back empty and the operation ended without its work;
//   Declined        a question to go on (a confirmation, a deletion) got an answer other than
//                   going on, or a folder chooser was cancelled;
//   Failed          a box of kind Error, a copy that failed (the continue-after-error question),
//                   operationOk cleared, or the engine's own success report missing (the update's
//                   result, the closing "Done" box of backup and restore, the end-of-setup box
//                   of the reinstalls);
//   Done            none of these.
// Keeping an existing file (an overwrite answered "No") is a choice, not a failure.
class Operations {
public:
    enum class Result { Done, Failed, Declined, Stopped, PlayerNotFound };
    enum class ReinstallKind { KeepSongs, Erase, SaveAndRestore };

    struct FrontEnd {
        Dialogs *dialogs = nullptr;                 // not owned; null: every box takes its safe answer
        ProgressView *progress = nullptr;           // not owned; null: progress shows nowhere
        QObject *window = nullptr;                  // parent of the operations' boxes
        std::function<QString()> findDeviceDrive;   // null: the mounted volumes (device/devicedrive.h)
        std::function<void(const QString &operation)> onStart;
        std::function<void(const QString &operation, Result result)> onEnd;
        std::function<void(const QString &action, const QString &path, const QString &target, bool ok)> onFileAction;
    };

    Operations();
    explicit Operations(FrontEnd frontEnd);
    ~Operations();
    Operations(const Operations &) = delete;
    Operations &operator=(const Operations &) = delete;

    FrontEnd &frontEnd() { return front; }
    void setDialogs(Dialogs *dialogs) { front.dialogs = dialogs; }

    // The one context every engine of an operation works with; progress: the busy view of this
    // run (the front end's own when null).
    OperationContext context(ProgressView *progress = nullptr);
    QString deviceDrive() const;

    // The three files a working system needs, relative to the drive root.
    static QStringList systemFiles();
    SystemCheck check() const;
    // The start-up repair: the plain reinstall.
    Result repair(ProgressView *busy = nullptr);
    Result update(bool showEndMessage = true, ProgressView *busy = nullptr);
    // folder "": asked through the front end's folder chooser.
    Result backup(const QString &folder = QString(), ProgressView *busy = nullptr);
    Result restore(const QString &folder = QString(), ProgressView *busy = nullptr);
    // folder: where SaveAndRestore keeps the songs ("": asked).
    Result reinstall(ReinstallKind kind, const QString &folder = QString(), ProgressView *busy = nullptr);
    // A dry run lists through onFileAction every action a real run would take, and changes nothing.
    Result optimise(const OptimiseSteps &steps, bool dryRun = false, ProgressView *busy = nullptr);

    static QString resultName(Result result);

    OperationState state;
    OptimiseState optimiseState;    // the scan, title and split state, and the defragmenter
    QString packagePath;            // the full package of the last plain reinstall

private:
    class WatchingDialogs;
    struct Run;

    Result runOperation(const QString &name, const QString &presetFolder, ProgressView *busy, bool dryRun,
                        const std::function<bool(OperationContext &ctx)> &work);

    FrontEnd front;
    std::unique_ptr<WatchingDialogs> watcher;
};
