#include "transfer/restore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cstdio>

#include "device/entries.h"
#include "device/platform.h"
#include "device/playerlayout.h"
#include "transfer/backupdestination.h"
#include "transfer/backupmanifest.h"
#include "transfer/backupset.h"
#include "transfer/copyengine.h"
#include "transfer/restoreparts.h"
#include "transfer/transferlistings.h"
#include "core/messagetable.h"
#include "core/operationcontext.h"

namespace transfer {

QStringList restoreList(OperationContext &ctx, const QString &backupFolder, bool *stopped)
{
    QStringList files;
    *stopped = false;
    const bool mainDone = entries::walk(backupFolder, libraryListing(), [&](const QFileInfo &entry) {
        if (ctx.state.stopRequested)
            return false;
        if (!entry.isDir())   // folders come with their files
            files.append(entry.absoluteFilePath());
        return true;
    });
    if (!mainDone || ctx.state.stopRequested) {
        *stopped = true;
        return QStringList();
    }

    // The backup takes hidden playlists too; bring back those the listing above left out.
    const QSet<QString> listed(files.cbegin(), files.cend());
    const QString playlists = entries::resolve(backupFolder, QLatin1String(playerlayout::kPlaylistFolder));
    const bool playlistsDone = entries::walk(playlists, playlistListing(), [&](const QFileInfo &entry) {
        if (ctx.state.stopRequested)
            return false;
        const QString path = entry.absoluteFilePath();
        if (!entry.isDir() && !listed.contains(path))
            files.append(path);
        return true;
    });
    if (!playlistsDone || ctx.state.stopRequested) {
        *stopped = true;
        return QStringList();
    }
    return files;
}

namespace {

QString withoutTrailingSeparator(const QString &folder)
{
    QString path = folderWithSeparator(folder);
    if (path.size() > 1)
        path.chop(1);
    return path;
}

bool askRestoreWithoutManifest(OperationContext &ctx)
{
    MessageBoxRequest box;
    box.kind = QuestionKind::Confirm;
    box.icon = BoxIcon::Question;
    box.parent = ctx.window;
    box.title = ctx.translate("restore", "Backup cannot be checked");
    box.text = ctx.translate("restore", "This backup has no list of the saved files (an earlier version of the program made it): "
                                        "it cannot be checked.\nDo you want to restore it anyway ?");
    box.buttons = {{BoxRole::Ok, QStringLiteral("Ok")}, {BoxRole::No, QStringLiteral("No")}};
    box.defaultButton = 1;
    box.escapeButton = 1;
    box.safeButton = 1;
    box.proceedButton = 0;
    return ctx.dialogs.showMessage(box) == 0;
}

void refuseDamagedBackup(OperationContext &ctx, const backupmanifest::Check &check)
{
    QStringList names;
    for (const QString &path : check.missing)
        names << ctx.translate("restore", "missing: ") + QDir::toNativeSeparators(path);
    for (const QString &path : check.changed)
        names << ctx.translate("restore", "changed: ") + QDir::toNativeSeparators(path);
    const int shown = 10;
    const int more = names.size() - shown;
    if (more > 0) {
        names = names.mid(0, shown);
        names << ctx.translate("restore", "... and %1 more").arg(more);
    }
    const QString text = check.found
                             ? ctx.translate("restore", "Some files of the backup are missing or have changed since it was made.\n"
                                                        "Restore cancelled: nothing was written to the Corvel3.\n\n")
                                   + names.join(QLatin1Char('\n'))
                             : ctx.translate("restore", "The list of files of this backup cannot be read.\n"
                                                        "Restore cancelled: nothing was written to the Corvel3.");
    boxes::critical(ctx.dialogs, ctx.window, ctx.translate("restore", "Damaged backup"), text);
}

// Every byte of the backup's entries against its manifest, with the bar following and Stop honoured.
backupmanifest::Check checkBackup(OperationContext &ctx, const QString &folder, const QVector<backupmanifest::Entry> &entries)
{
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    ctx.progress.setFormat(QStringLiteral("%v"));
    return backupmanifest::verify(folder, entries, [&](int done, int total) {
        if (sinceEvents.elapsed() >= 50) {
            ctx.progress.setMaximum(total);
            ctx.progress.setValue(done);
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
        return !ctx.state.stopRequested;
    });
}

// The parts of the backup to restore: those given, else those the user chooses when asked, else
// all (empty). Any that is not in files (relative paths) refuses the restore with a box. False
// when nothing is to be restored: *report says why.
bool chooseParts(OperationContext &ctx, const RestoreChoice &choice, const QStringList &files, QStringList *parts,
                 RestoreReport *report)
{
    *parts = choice.only;
    if (parts->isEmpty() && choice.ask) {
        PartRequest request;
        request.title = ctx.translate("restore", "What to restore");
        request.text = ctx.translate("restore", "Choose the folders, songs and playlists to copy back onto the Corvel3.");
        request.files = files;
        request.okCaption = QStringLiteral("Ok");
        request.cancelCaption = ctx.translate("restore", "Cancel");
        request.parent = ctx.window;
        if (!ctx.dialogs.choosePart(request, parts)) {
            report->declined = true;
            return false;
        }
    }
    QStringList cleaned, wrong;
    for (const QString &part : qAsConst(*parts)) {
        const QString clean = cleanPart(part);
        (clean.isEmpty() ? wrong : cleaned) << (clean.isEmpty() ? part : clean);
    }
    wrong += partsMatchingNothing(files, cleaned);
    *parts = cleaned;
    if (wrong.isEmpty())
        return true;
    boxes::critical(ctx.dialogs, ctx.window, ctx.translate("restore", "Part not found"),
                    ctx.translate("restore", "The backup holds no:\n%1\nRestore cancelled: nothing was written to the Corvel3.")
                        .arg(wrong.join(QLatin1Char('\n'))),
                    QStringLiteral("restore.partNotFound"));
    report->reported = true;
    return false;
}

// A file on the player against the backup's: the same size and date is a file restored before
// (kept as it is, nothing asked); a shorter one that holds the start of the backup's is a copy
// cut short (an older version of this tool wrote under the file's own name), replaced without a
// question; anything else is the user's to decide.
Existing judgeExisting(const QString &source, const QString &destination)
{
    const QFileInfo from(source), to(destination);
    if (!to.isFile())
        return Existing::Ask;
    if (to.size() == from.size() && to.lastModified() == from.lastModified())
        return Existing::Keep;
    if (to.size() >= from.size())
        return Existing::Ask;
    QFile cut(destination), whole(source);
    if (!cut.open(QIODevice::ReadOnly) || !whole.open(QIODevice::ReadOnly))
        return Existing::Ask;
    while (!cut.atEnd()) {
        const QByteArray piece = cut.read(1 << 20);
        if (piece.isEmpty() || whole.read(piece.size()) != piece)
            return Existing::Ask;
    }
    return Existing::Replace;
}

// Writes back the songs whose names the PC cannot show, byte for byte, each checked against the
// manifest as it is read; returns how many came back or were already there whole. A song of that
// name already on the player and different is left as it is (counted as not restored, in the
// log): no question can show its name.
int restoreRawFiles(OperationContext &ctx, const QVector<backupmanifest::Entry> &entries, const QString &folder,
                    const QString &deviceRoot)
{
    const QByteArray from = QFile::encodeName(folder) + '/', to = QFile::encodeName(deviceRoot);
    const QString player = QFileInfo(deviceRoot).canonicalFilePath();
    int done = 0;
    for (const backupmanifest::Entry &e : entries) {
        if (ctx.state.stopRequested)
            break;
        const QByteArray destination = to + e.pathBytes;
        const QString where = QFile::decodeName(destination.left(destination.lastIndexOf('/')));
        // Only into a folder of the player itself, never through a link out of it: the nearest
        // folder that exists is looked at before any is made.
        QString existing = where;
        while (!QFileInfo::exists(existing) && existing.size() > deviceRoot.size())
            existing = QFileInfo(existing).path();
        const QString real = QFileInfo(existing).canonicalFilePath();
        bool ok = !player.isEmpty() && (real == player || real.startsWith(player + QLatin1Char('/')))
                  && QDir().mkpath(where);
        qint64 size = -1;
        const QByteArray there = ok ? platform::rawFileSha256(destination, &size) : QByteArray();
        if (ok && size >= 0) {
            ok = size == e.size && there == e.sha256;
        } else if (ok) {
            QByteArray sha;
            ok = platform::copyRawFile(from + e.pathBytes, destination, &sha, &size);
            if (ok && (size != e.size || sha != e.sha256)) {
                std::remove(destination.constData());   // ours, just written from a backup that changed
                ok = false;
            }
            if (ok)
                ctx.fileAction(QStringLiteral("copy"), QFile::decodeName(destination), folder + QLatin1Char('/') + e.path);
        }
        if (ok)
            ++done;
        else
            ctx.fileAction(QStringLiteral("copy"), QFile::decodeName(destination), QString(), false);
    }
    return done;
}

} // namespace

RestoreReport restoreBackup(OperationContext &ctx, const QString &backupFolder, const QString &deviceRoot,
                            const RestoreChoice &choice)
{
    RestoreReport report;
    const QString folder = withoutTrailingSeparator(backupToRestore(withoutTrailingSeparator(backupFolder)));
    QStringList files;
    QVector<backupmanifest::Entry> rawEntries;   // names the PC cannot show
    QString sourceRoot, destinationRoot;

    if (QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(backupmanifest::kFileName))) {
        bool found = false;
        const QVector<backupmanifest::Entry> listed = backupmanifest::read(folder, &found);
        if (!found) {
            refuseDamagedBackup(ctx, backupmanifest::Check());
            report.reported = true;
            return report;
        }
        QStringList names, parts;
        for (const backupmanifest::Entry &e : listed)
            names << e.path;
        if (!chooseParts(ctx, choice, names, &parts, &report))
            return report;
        QVector<backupmanifest::Entry> chosen;
        for (const backupmanifest::Entry &e : listed)
            if (inParts(e.path, parts))
                chosen << e;
        const backupmanifest::Check check = checkBackup(ctx, folder, chosen);
        if (check.stopped)
            return report;
        if (!check.ok()) {
            refuseDamagedBackup(ctx, check);
            report.reported = true;
            return report;
        }
        // Exactly the files checked, nothing the backup folder gained since.
        for (const backupmanifest::Entry &e : chosen) {
            if (e.pathBytes.isEmpty())
                files << folder + QLatin1Char('/') + e.path;
            else
                rawEntries << e;
        }
        sourceRoot = folder + QLatin1Char('/');
        destinationRoot = folderWithSeparator(deviceRoot);
    } else {
        if (!askRestoreWithoutManifest(ctx)) {
            report.declined = true;
            return report;
        }
        // Each relative part starts with "/" and follows the drive root's own (a doubled
        // separator is accepted everywhere).
        bool stopped = false;
        entries::ListingWatch listing;   // a backup folder not read whole is not restored as if it were
        files = restoreList(ctx, folder, &stopped);
        if (stopped)
            return report;
        if (!listing.unreadable().isEmpty()) {
            for (const QString &unread : listing.unreadable())
                ctx.fileAction(QStringLiteral("list"), unread, QString(), false);
            report.total = files.size() + listing.unreadable().size();
            report.failed = listing.unreadable().size();
            return report;
        }
        QStringList names, parts;
        for (const QString &file : qAsConst(files))
            names << file.mid(folder.size() + 1);
        if (!chooseParts(ctx, choice, names, &parts, &report))
            return report;
        if (!parts.isEmpty()) {
            files.clear();
            for (const QString &name : qAsConst(names))
                if (inParts(name, parts))
                    files << folder + QLatin1Char('/') + name;
        }
        sourceRoot = folder;
        destinationRoot = deviceRoot;
    }

    report.total = files.size() + rawEntries.size();
    const CopyReport copy = copyFiles(ctx, files, destinationRoot, sourceRoot, false, judgeExisting);
    report.copied = !copy.endedEarly;
    const int rawDone = copy.endedEarly ? 0 : restoreRawFiles(ctx, rawEntries, folder, destinationRoot);
    report.failed = report.total - copy.done - rawDone;   // failed, or never tried after the run ended
    report.ok = copy.result && report.failed == 0;
    return report;
}

bool restoreFromFolder(OperationContext &ctx, const QString &backupFolder, const QString &deviceRoot)
{
    return restoreBackup(ctx, backupFolder, deviceRoot).ok;
}

namespace {

// Several backups: the user picks one from the list (the newest complete one offered first);
// a front end that shows no list asks question, about that one.
bool chooseAmongBackups(OperationContext &ctx, const QString &chosen, const QString &question, QString *backup)
{
    const QVector<BackupInfo> backups = listBackups(withoutTrailingSeparator(chosen));
    ChoiceRequest choice;
    choice.code = QStringLiteral("restore.chooseBackup");
    choice.title = ctx.translate("restore", "Backups");
    choice.text = ctx.translate("restore", "Choose the backup to restore:");
    choice.parent = ctx.window;
    for (int i = 0; i < backups.size(); ++i) {
        choice.items << describeBackup(ctx, backups.at(i));
        if (entries::samePath(backups.at(i).folder, *backup))
            choice.defaultItem = i;
    }
    MessageBoxRequest &box = choice.fallback;
    box.kind = QuestionKind::Confirm;
    box.safeButton = 1;
    box.title = choice.title;
    box.text = question;
    box.icon = BoxIcon::Question;
    box.buttons = {BoxButton{BoxRole::Ok, QStringLiteral("Ok")}, BoxButton{BoxRole::No, QStringLiteral("No")}};
    box.parent = ctx.window;
    const int picked = ctx.dialogs.chooseItem(choice);
    if (picked < 0 || picked >= backups.size())
        return false;
    *backup = backups.at(picked).folder;
    return true;
}

// When the user picked the folder that holds dated backups rather than one of them.
bool confirmNewestBackup(OperationContext &ctx, const QString &chosen, QString *backup)
{
    int found = 0;
    *backup = backupToRestore(withoutTrailingSeparator(chosen), &found);
    if (found == 0)
        return true;
    const QString name = QFileInfo(*backup).fileName();
    const QString text = ctx.translate("restore", "The chosen folder holds %1 backups.\nThe newest one will be restored:\n%2\nDo you want to continue ?");
    if (found < 2)
        return boxes::okOrNo(ctx.dialogs, ctx.window, ctx.translate("restore", "Backups"), text.arg(found).arg(name));
    return chooseAmongBackups(ctx, chosen, text.arg(found).arg(name), backup);
}

} // namespace

Outcome restore(OperationContext &ctx, const QString &chosenFolder, const RestoreChoice &choice)
{
    QString backup;
    if (!confirmNewestBackup(ctx, chosenFolder, &backup))
        return Outcome::of(Outcome::Status::Declined);
    const RestoreReport report = restoreBackup(ctx, backup, ctx.driveRoot, choice);
    Outcome outcome;
    outcome.total = report.total;
    if (ctx.state.stopRequested)
        outcome.status = Outcome::Status::Stopped;
    else if (report.declined)
        outcome.status = Outcome::Status::Declined;
    else if (report.reported)
        outcome = Outcome::failure(true);
    else if (!report.ok) {
        outcome.status = Outcome::Status::Failed;
        outcome.failed = report.failed;
    }
    if (outcome.status == Outcome::Status::Failed && !QFileInfo(ctx.driveRoot).isDir())
        outcome.status = Outcome::Status::PlayerNotFound;
    return outcome;
}

} // namespace transfer
