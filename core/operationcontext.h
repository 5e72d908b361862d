#pragma once

#include <functional>
#include <QString>

#include "core/dialogs.h"
#include "core/messagetable.h"
#include "core/operationlog.h"
#include "core/operationstate.h"
#include "core/progressview.h"

class QObject;

// What an engine needs from the run it works for. The runner fills it in; engines read it.
struct OperationContext {
    OperationState &state;
    Dialogs &dialogs;
    ProgressView &progress;
    QObject *window = nullptr;                    // parent of boxes that belong to the operations window
    // The player's drive root, ending in "/", as the runner found it at the start of the run;
    // guards compare against it ("" outside a run).
    QString driveRoot;
    // The volume the drive was on when the run found it (platform::volumeIdentity): a copy onto
    // the drive checks it is still there, not a mount point the unplugged player left behind.
    QByteArray driveVolume;

    // The operation's name in the log and in front ends' events ("backup", "optimise", ...).
    QString operationName;
    // A dry run: engines that support it report every action they would take, through
    // fileAction, and change nothing.
    bool dryRun = false;
    // Told of every file action (after the log has it): a front end lists or reports them.
    std::function<void(const QString &action, const QString &path, const QString &target, bool ok)> onFileAction;

    QString translate(const char *context, const char *source, const char *disambiguation = nullptr) const
    {
        return state.translate(context, source, disambiguation);
    }
    // Reports one action on a file ("delete", "move", "rename", "replace", "create", "rewrite",
    // "erase"...), taken or, in a dry run, planned: the operation log records what was taken
    // and the front end hears of both. target: where a move or rename goes, else "".
    void fileAction(const QString &action, const QString &path, const QString &target = QString(), bool ok = true) const
    {
        if (!dryRun)
            oplog::record(operationName, action, path, ok, target.isEmpty() ? QString() : QStringLiteral("-> ") + target);
        if (onFileAction)
            onFileAction(action, path, target, ok);
    }
    // A message of the table in the current language.
    QString message(int code) const { return messageText(state.currentLanguage, code); }
};
