#include "transfer/backup.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include "device/entries.h"
#include "device/platform.h"
#include "device/playerlayout.h"
#include "transfer/backupdestination.h"
#include "transfer/backupmanifest.h"
#include "transfer/copyengine.h"
#include "transfer/transferlistings.h"
#include "core/messagetable.h"
#include "core/operationcontext.h"

namespace transfer {

bool isLeftOutOfBackup(const QString &pathBelowRoot)
{
    return playerlayout::isOwnPath(pathBelowRoot);
}

QStringList backupList(OperationContext &ctx, const QString &deviceRoot, bool *stopped)
{
    const QString root = folderWithSeparator(deviceRoot);
    QStringList files;
    *stopped = false;
    QElapsedTimer sinceEvents;
    sinceEvents.start();

    const bool mainDone = entries::walk(root, libraryListing(), [&](const QFileInfo &entry) {
        if (sinceEvents.elapsed() >= 50) {
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
        if (ctx.state.stopRequested)
            return false;
        const QString path = entry.absoluteFilePath();
        // Only what lies below the root counts, so a mount point's own path never matters.
        if (!entry.isDir() && !isLeftOutOfBackup(path.mid(root.size())))
            files.append(path);
        return true;
    });
    if (!mainDone || ctx.state.stopRequested) {
        *stopped = true;
        return QStringList();
    }

    const QString playlists = entries::resolve(root, QLatin1String(playerlayout::kPlaylistFolder));
    const bool playlistsDone = entries::walk(playlists, playlistListing(), [&](const QFileInfo &entry) {
        if (ctx.state.stopRequested)
            return false;
        if (!entry.isDir())
            files.append(entry.absoluteFilePath());
        return true;
    });
    if (!playlistsDone || ctx.state.stopRequested) {
        *stopped = true;
        return QStringList();
    }
    return files;
}

namespace {

void showError(OperationContext &ctx)
{
    const QString error = ctx.translate("backup", "ERROR");
    boxes::information(ctx.dialogs, ctx.window, error, error);
}

// The copies against what was hashed on the way: every file there, with its size. Reading each
// one back would double the backup's time and, from the system's cache, prove little; the
// restore checks every byte before it writes.
int countNotSaved(const QString &folder, const QVector<backupmanifest::Entry> &saved, int listed)
{
    int notSaved = listed - saved.size();
    for (const backupmanifest::Entry &e : saved) {
        const QFileInfo copy(folder + QLatin1Char('/') + e.path);
        if (!copy.isFile() || copy.size() != e.size)
            ++notSaved;
    }
    return notSaved;
}

// Copies the songs whose names the PC cannot show byte for byte, names and all, adding them to
// saved; returns how many could not be saved (a FAT or NTFS folder refuses such names), each
// named in the log.
int copyRawFiles(OperationContext &ctx, const QList<QByteArray> &files, const QString &root, const QString &folder,
                 QVector<backupmanifest::Entry> *saved)
{
    const QByteArray from = QFile::encodeName(root), to = QFile::encodeName(folder) + '/';
    int failed = 0;
    for (int i = 0; i < files.size(); ++i) {
        if (ctx.state.stopRequested)
            return failed + files.size() - i;
        const QByteArray &source = files.at(i);
        const QByteArray relative = source.mid(from.size());
        const QByteArray destination = to + relative;
        backupmanifest::Entry entry;
        entry.path = QFile::decodeName(relative);
        entry.pathBytes = relative;
        QDir().mkpath(QFile::decodeName(destination.left(destination.lastIndexOf('/'))));
        const bool ok = platform::copyRawFile(source, destination, &entry.sha256, &entry.size);
        if (ok)
            saved->append(entry);
        else
            ++failed;
        ctx.fileAction(QStringLiteral("copy"), QFile::decodeName(destination), QFile::decodeName(source), ok);
    }
    return failed;
}

} // namespace

BackupReport backUp(OperationContext &ctx, const QString &deviceRoot, const QString &chosenFolder, bool intoEmptyFolder)
{
    BackupReport report;
    ProgressView &progress = ctx.progress;
    progress.setFormat(QStringLiteral("%v"));

    const DestinationProblem problem = destinationProblem(chosenFolder, deviceRoot);
    if (problem != DestinationProblem::None) {
        refuseDestination(ctx, problem);
        report.refused = true;
        return report;
    }
    if (ctx.dryRun)
        return report;

    // A new folder of its own: nothing the chosen folder holds is ever touched.
    const QDir chosen(chosenFolder);
    const bool empty = chosen.exists() && chosen.isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const bool direct = intoEmptyFolder && empty;
    report.folder = direct ? QDir::cleanPath(chosen.absolutePath()) : createDatedFolder(chosenFolder, QDateTime::currentDateTime());
    if (report.folder.isEmpty()) {
        showError(ctx);
        report.refused = true;
        return report;
    }
    if (!direct)
        ctx.fileAction(QStringLiteral("create"), report.folder);
    // An empty folder left by a backup that never started would only puzzle; one we made is ours
    // to remove.
    const auto dropFolder = [&] {
        if (!direct && QDir().rmdir(report.folder))
            report.folder.clear();
    };

    progress.setStatus(ctx.message(MSG_SCANNING_STORAGE));
    progress.setMaximum(0);
    progress.setValue(0);

    const QString root = folderWithSeparator(deviceRoot);
    // A folder that could not be read whole (a read error, names the PC cannot show) counts as a
    // file not saved and is named in the log: the backup is then incomplete, never "Done".
    entries::ListingWatch listing(true);
    const QStringList files = backupList(ctx, root, &report.stopped);
    if (report.stopped) {
        dropFolder();
        return report;
    }
    const QStringList unread = listing.unreadable();
    for (const QString &folder : unread)
        ctx.fileAction(QStringLiteral("list"), folder, QString(), false);
    QList<QByteArray> rawFiles;   // names the PC cannot show: copied byte for byte
    const QByteArray rootBytes = QFile::encodeName(root);
    for (const QByteArray &path : listing.rawFiles())
        if (path.startsWith(rootBytes) && !isLeftOutOfBackup(QFile::decodeName(path.mid(rootBytes.size()))))
            rawFiles << path;
    report.listed = files.size() + unread.size() + rawFiles.size();

    if (files.size() > 1000) {
        const QString text = ctx.translate("backup", "%1 files will be copied.\nDo you want to continue ?").arg(files.size());
        if (!boxes::okOrNo(ctx.dialogs, ctx.window, QStringLiteral("BackUp"), text)) {
            dropFolder();
            report.declined = true;
            return report;
        }
    }

    progress.setStatus(ctx.message(MSG_BACKUP_TO_PC));
    const CopyReport copy = copyFiles(ctx, files, report.folder + QLatin1Char('/'), root, true);
    report.copied = true;
    report.stopped = copy.stopped;
    report.notSaved = countNotSaved(report.folder, copy.copied, files.size()) + unread.size();
    QVector<backupmanifest::Entry> saved = copy.copied;
    if (copy.endedEarly)
        report.notSaved += rawFiles.size();
    else
        report.notSaved += copyRawFiles(ctx, rawFiles, root, report.folder, &saved);
    report.stopped = report.stopped || ctx.state.stopRequested;
    const bool written = backupmanifest::write(report.folder, saved, report.notSaved == 0);
    ctx.fileAction(QStringLiteral("create"), report.folder + QLatin1Char('/') + QLatin1String(backupmanifest::kFileName),
                   QString(), written);
    if (!written)
        report.notSaved = std::max(report.notSaved, 1);
    return report;
}

bool backupToFolder(OperationContext &ctx, const QString &deviceRoot, QString destinationFolder, QString *writtenTo)
{
    const BackupReport report = backUp(ctx, deviceRoot, destinationFolder, true);
    if (writtenTo)
        *writtenTo = report.folder;
    return report.copied && (report.stopped || report.notSaved == 0);
}

Outcome backup(OperationContext &ctx, const QString &chosenFolder)
{
    const BackupReport report = backUp(ctx, ctx.driveRoot, chosenFolder);
    Outcome outcome;
    outcome.folder = report.folder;
    outcome.total = report.listed;
    if (report.stopped)
        outcome.status = Outcome::Status::Stopped;
    else if (report.declined)
        outcome.status = Outcome::Status::Declined;
    else if (report.refused)
        outcome = Outcome::failure(true);
    else if (!report.copied)
        outcome = Outcome::failure(false);
    else if (report.notSaved > 0) {
        outcome.status = Outcome::Status::Failed;
        outcome.failed = report.notSaved;
    }
    return outcome;
}

} // namespace transfer
