#include "transfer/backup.h"

#include <algorithm>
#include <memory>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <QWaitCondition>

#include "device/entries.h"
#include "device/platform.h"
#include "device/playerlayout.h"
#include "transfer/backupdestination.h"
#include "transfer/backupmanifest.h"
#include "transfer/backupset.h"
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

// A song unchanged since the newest whole backup in chosenFolder (same path, size and date) gets a
// second name for that backup's file, its hash taken from that backup's manifest: nothing is
// copied, hashed or stored twice, and the new folder is a whole backup on its own. What cannot be
// linked stays in *files, to be copied. Nothing is ever written into a linked file: copies go to
// new names only, so an older backup's files keep their bytes.
QVector<backupmanifest::Entry> linkUnchanged(OperationContext &ctx, const QString &chosenFolder, const QString &root,
                                             const QString &folder, QStringList *files, bool *stopped)
{
    QVector<backupmanifest::Entry> linked;
    const QString base = incrementalBase(chosenFolder);
    bool found = false;
    const QVector<backupmanifest::Entry> entries = base.isEmpty() ? QVector<backupmanifest::Entry>()
                                                                   : backupmanifest::read(base, &found);
    if (!found)
        return linked;
    // A folder that cannot give a file a second name (FAT, exFAT, some network shares) gets full
    // copies, and the user hears so once.
    const QString probe = folder + QStringLiteral("/.corvel3-link-probe");
    if (!platform::hardLink(base + QLatin1Char('/') + QLatin1String(backupmanifest::kFileName), probe)) {
        boxes::information(ctx.dialogs, ctx.window, QStringLiteral("BackUp"),
                           ctx.translate("backup", "The chosen folder cannot share files between backups (a FAT or exFAT drive, "
                                                   "a network share):\nevery file is copied in full."),
                           QStringLiteral("backup.fullCopy"));
        return linked;
    }
    platform::removeEntry(probe);

    QHash<QString, int> byPath;
    byPath.reserve(entries.size());
    for (int i = 0; i < entries.size(); ++i)
        if (entries.at(i).pathBytes.isEmpty())
            byPath.insert(entries.at(i).path, i);
    QStringList rest;
    QString lastFolder;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    ctx.progress.setMaximum(files->size());
    for (int i = 0; i < files->size(); ++i) {
        if (ctx.state.stopRequested) {
            *stopped = true;
            break;
        }
        const QString &source = files->at(i);
        const QString relative = source.mid(root.size());
        const auto at = byPath.constFind(relative);
        bool done = false;
        if (at != byPath.constEnd()) {
            const backupmanifest::Entry &e = entries.at(*at);
            const QString was = base + QLatin1Char('/') + relative;
            qint64 size = -1, modified = -1, baseSize = -1, baseModified = -2;
            // A base file that vanished or changed since is copied afresh from the player. Times
            // as numbers: a date in the local zone costs more than the rest of the check.
            if (platform::regularFile(source, &size, &modified) && size == e.size
                && platform::regularFile(was, &baseSize, &baseModified) && baseSize == e.size && baseModified == modified) {
                const QString destination = folder + QLatin1Char('/') + relative;
                done = createFoldersFor(destination, &lastFolder) && platform::hardLink(was, destination);
            }
            if (done)
                linked.append(e);
        }
        if (!done)
            rest << source;
        if (sinceEvents.elapsed() >= 50) {
            ctx.progress.setValue(i + 1);
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
    }
    *files = *stopped ? QStringList() : rest;
    return linked;
}

// More copies than this and a backup is flushed volume-wide, not file by file.
constexpr int kManyCopies = 256;

// Writes a long backup's files out to their disk while the copy goes on, so the flush that must
// come before "complete" finds little left instead of all of it at the end. Paced by the disk:
// the next round starts as soon as one ends while there is much to write, a tenth of a second
// later when there was little. A write error heard here is kept: the system tells of it once, and
// the flush at the end would not hear of it again.
class EarlyWriteback : public QThread {
public:
    explicit EarlyWriteback(const QString &folder) : folder(folder)
    {
        setObjectName(QThread::currentThread()->objectName());   // part of the operation that starts it
        start();
    }
    ~EarlyWriteback() override { stop(); }

    // Ends the writing (a round under way first finishes); true when a write error was heard.
    bool stop()
    {
        {
            const QMutexLocker lock(&mutex);
            stopping = true;
            changed.wakeAll();
        }
        wait();
        return failed;
    }

protected:
    void run() override
    {
        QMutexLocker lock(&mutex);
        do {   // one round at least, however short the copy
            lock.unlock();
            QElapsedTimer took;
            took.start();
            const platform::Writeback result = platform::writeBackVolume(folder);
            const bool little = took.elapsed() < 20;
            lock.relock();
            if (result != platform::Writeback::Done) {
                failed = result == platform::Writeback::Failed;
                return;
            }
            if (little && !stopping)
                changed.wait(&mutex, 100);
        } while (!stopping);
    }

private:
    const QString folder;
    QMutex mutex;
    QWaitCondition changed;
    bool stopping = false;
    bool failed = false;
};

// Pushes a backup's files to its disk before its manifest may call it complete. A few copies
// (the usual incremental backup) and the folders that hold its names, each on its own: the
// volume-wide sync would also wait for everything else written to that disk. Many copies, or
// names the PC cannot show: the whole volume at once, where the system can.
bool flushBackup(const QString &folder, const QVector<backupmanifest::Entry> &copied,
                 const QVector<backupmanifest::Entry> &saved)
{
    const bool raw = std::any_of(saved.cbegin(), saved.cend(), [](const backupmanifest::Entry &e) {
        return !e.pathBytes.isEmpty();
    });
    if (raw || copied.size() > kManyCopies) {
        const platform::Writeback volume = platform::writeBackVolume(folder);
        if (volume != platform::Writeback::Unsupported)
            return volume == platform::Writeback::Done;
    }
    bool ok = true;
    for (const backupmanifest::Entry &e : copied) {
        QFile file(folder + QLatin1Char('/') + e.path);
        ok = file.open(QIODevice::ReadOnly) && platform::syncFile(file) && ok;
    }
    QSet<QString> folders{QString()};
    for (const backupmanifest::Entry &e : saved)
        for (int slash = e.path.indexOf(QLatin1Char('/')); slash > 0; slash = e.path.indexOf(QLatin1Char('/'), slash + 1))
            folders.insert(e.path.left(slash));
    for (const QString &inside : folders)
        ok = platform::syncFolder(inside.isEmpty() ? folder : folder + QLatin1Char('/') + inside) && ok;
    return ok;
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
    QStringList toCopy = files;
    bool linkStopped = false;
    QVector<backupmanifest::Entry> saved;
    if (!direct)
        saved = linkUnchanged(ctx, chosenFolder, root, report.folder, &toCopy, &linkStopped);
    std::unique_ptr<EarlyWriteback> early;
    if (toCopy.size() > kManyCopies)
        early = std::make_unique<EarlyWriteback>(report.folder);
    const CopyReport copy = copyFiles(ctx, toCopy, report.folder + QLatin1Char('/'), root, true);
    const bool writeError = early && early->stop();
    report.copied = true;
    report.stopped = copy.stopped || linkStopped;
    // A link is made whole in one step, to a file just found with its size: only copies are looked at.
    report.notSaved = countNotSaved(report.folder, copy.copied, files.size() - saved.size()) + unread.size();
    const QVector<backupmanifest::Entry> copied = copy.copied;
    saved += copied;
    if (copy.endedEarly || linkStopped)
        report.notSaved += rawFiles.size();
    else
        report.notSaved += copyRawFiles(ctx, rawFiles, root, report.folder, &saved);
    report.stopped = report.stopped || ctx.state.stopRequested;
    // Only a backup whose every file has reached the disk is called complete: a power cut must
    // never leave one that a later backup would take as its base.
    if (report.notSaved == 0 && (writeError || !flushBackup(report.folder, copied, saved)))
        report.notSaved = 1;
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
