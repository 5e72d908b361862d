#include "update/swaprecovery.h"

#include <QDir>
#include <QFileInfo>

#include "core/operationlog.h"
#include "device/entries.h"
#include "device/platform.h"
#include "transfer/folderremoval.h"
#include "update/stagedinstall.h"
#include "update/swapjournal.h"

namespace {

bool present(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

class Recovery {
    OperationContext &ctx;

public:
    explicit Recovery(OperationContext &ctx)
        : ctx(ctx), drive(ctx.driveRoot.endsWith(QLatin1Char('/')) ? ctx.driveRoot : ctx.driveRoot + QLatin1Char('/'))
    {
    }

    SwapRecovery journal();
    void leftovers();
    SwapRecovery result() const
    {
        return failed ? SwapRecovery::Failed
               : undone ? SwapRecovery::RolledBack
               : finished ? SwapRecovery::Completed
                          : SwapRecovery::Nothing;
    }

    const QString drive;   // ends with "/"
    bool failed = false, undone = false, finished = false;

private:
    bool rename(const QString &from, const QString &to)
    {
        const bool ok = platform::moveNoReplace(drive + from, drive + to);
        ctx.fileAction(QStringLiteral("rename"), drive + from, drive + to, ok);
        return ok;
    }
    // Removes an entry of the tool's own below the root, whole.
    bool remove(const QString &name)
    {
        const QString path = drive + name;
        if (!present(path))
            return true;
        if (QFileInfo(path).isDir() && !platform::isLink(path)) {
            // The run has not begun: a Stop pressed now belongs to it, not to this.
            const bool stop = ctx.state.stopRequested.exchange(false);
            const bool removed = transfer::removeFolderTree(ctx, path, {});
            ctx.state.stopRequested = stop || ctx.state.stopRequested;
            return removed;
        }
        const bool removed = platform::removeEntry(path);
        ctx.fileAction(QStringLiteral("delete"), path, QString(), removed);
        return removed;
    }
    bool removeJournal()
    {
        const bool removed = SwapJournal::remove(drive);
        ctx.fileAction(QStringLiteral("delete"), SwapJournal::path(drive), QString(), removed);
        return removed;
    }
    bool newEntriesWhole(const SwapJournal &journal, int made) const;
};

// Every file of the new entries is where the renames made so far put it, with its size.
bool Recovery::newEntriesWhole(const SwapJournal &journal, int made) const
{
    for (const SwapJournal::File &file : journal.files) {
        const QString top = file.path.section(QLatin1Char('/'), 0, 0);
        bool placed = false;
        for (int i = 0; i < made; ++i)
            placed = placed || journal.renames.at(i).to == top;
        const QFileInfo info(drive + (placed ? QString() : journal.staging + QLatin1Char('/')) + file.path);
        if (!info.isFile() || info.size() != file.size)
            return false;
    }
    return true;
}

SwapRecovery Recovery::journal()
{
    SwapJournal journal;
    if (!journal.read(drive)) {
        // Unreadable: the leftovers are judged without it, and it goes.
        failed = !removeJournal();
        finished = true;
        return result();
    }
    const int count = journal.renames.size();
    // The renames were made one after the other: the last one made tells how far the swap went.
    int made = 0;
    for (int i = count - 1; i >= 0 && made == 0; --i)
        if (journal.done(drive, i))
            made = i + 1;

    if (made < count) {
        // Forward while everything still to be renamed is there and the new entries are whole.
        bool forward = newEntriesWhole(journal, made);
        for (int i = made; forward && i < count; ++i)
            forward = present(drive + journal.renames.at(i).from);
        if (forward) {
            QDir().mkpath(drive + journal.aside);
            platform::setHiddenSystem(drive + journal.aside);
            for (; made < count && rename(journal.renames.at(made).from, journal.renames.at(made).to); ++made) {}
            forward = made == count;
        }
        if (!forward) {
            for (; made > 0 && rename(journal.renames.at(made - 1).to, journal.renames.at(made - 1).from); --made) {}
            if (made > 0) {
                failed = true;   // neither way: the journal stays for another try
                return result();
            }
            platform::syncFolder(drive);
            // What was staged goes; the folder for the old entries is empty again.
            const QString aside = drive + journal.aside;
            if (!remove(journal.staging) || (present(aside) && !QDir().rmdir(aside)) || !removeJournal())
                failed = true;
            undone = true;
            return result();
        }
    }
    platform::syncFolder(drive);
    if (!remove(journal.aside) || !remove(journal.staging) || !removeJournal())
        failed = true;
    finished = true;
    return result();
}

// What a swap without a journal left (one cut short while it staged, or by an earlier version of
// the tool): an old entry the root lacks goes back in place, the rest goes.
void Recovery::leftovers()
{
    const QStringList found = QDir(drive).entryList({QStringLiteral(".corvel3-*")},
                                                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : found) {
        if (!name.startsWith(QLatin1String(StagedInstall::kAsidePrefix)) || !QFileInfo(drive + name).isDir())
            continue;
        bool back = false;
        const QStringList old =
            QDir(drive + name).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &entry : old) {
            if (present(entries::resolve(drive, entry)))
                continue;
            if (!rename(name + QLatin1Char('/') + entry, entry))
                failed = true;
            back = true;
        }
        undone = undone || back;
        finished = finished || !back;
        if (!failed && !remove(name))
            failed = true;
    }
    for (const QString &name : {QString::fromLatin1(StagedInstall::kStagingName), QString::fromLatin1(SwapJournal::kWritingName)}) {
        if (!present(drive + name))
            continue;
        // Nothing of it was in place yet: the drive has its previous system.
        undone = true;
        if (!remove(name))
            failed = true;
    }
}

void tell(OperationContext &ctx, SwapRecovery result)
{
    const QString cut = ctx.translate("SwapRecovery", "The last installation of the system on Corvel3 was cut short (the program closed, "
                                                      "the PC switched off or Corvel3 unplugged).\n");
    const QString songs = ctx.translate("SwapRecovery", "\nIf the installation was to save the songs and bring them back, they are in the "
                                                        "backup folder chosen: the Restore button brings them back to Corvel3.");
    switch (result) {
    case SwapRecovery::Nothing:
        return;
    case SwapRecovery::Completed:
        boxes::information(ctx.dialogs, ctx.window, ctx.translate("SwapRecovery", "Installation completed"),
                           cut + ctx.translate("SwapRecovery", "It has now been completed: Corvel3 has the new system.")
                               + songs,
                           QStringLiteral("recovery.completed"));
        return;
    case SwapRecovery::RolledBack:
        boxes::information(ctx.dialogs, ctx.window, ctx.translate("SwapRecovery", "Installation undone"),
                           cut + ctx.translate("SwapRecovery", "It has now been undone: Corvel3 has its previous system again.")
                               + songs,
                           QStringLiteral("recovery.rolledBack"));
        return;
    case SwapRecovery::Failed:
        boxes::critical(ctx.dialogs, ctx.window, ctx.translate("SwapRecovery", "Recovery failed"),
                        cut
                            + ctx.translate("SwapRecovery", "It could be neither completed nor undone: Corvel3 may be write-protected or "
                                                            "damaged. No installation is possible until it is.\nReconnect Corvel3 and start "
                                                            "the program again.\nThe log of operations is in:\n%1")
                                  .arg(QDir::toNativeSeparators(oplog::path())),
                        QStringLiteral("recovery.failed"));
        return;
    }
}

} // namespace

SwapRecovery recoverInterruptedSwap(OperationContext &ctx)
{
    if (ctx.driveRoot.isEmpty() || ctx.dryRun)
        return SwapRecovery::Nothing;
    Recovery recovery(ctx);
    // One look at the root: the journal and every leftover start with the same prefix.
    if (QDir(recovery.drive)
            .entryList({QStringLiteral(".corvel3-*")}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
            .isEmpty())
        return SwapRecovery::Nothing;
    if (SwapJournal::exists(recovery.drive))
        recovery.journal();
    if (!recovery.failed)
        recovery.leftovers();
    const SwapRecovery result = recovery.result();
    tell(ctx, result);
    return result;
}
