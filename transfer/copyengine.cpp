#include "transfer/copyengine.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include "device/platform.h"
#include "core/dialogs.h"
#include "core/operationcontext.h"

namespace transfer {

namespace {

namespace fs = std::filesystem;

fs::path nativePath(const QString &path)
{
    return fs::u8path(path.toUtf8().toStdString());
}

QString folderOf(const QString &path)
{
    const int end = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1String("\\ ")));
    return path.left(end);
}

// Short and hidden, so it fits beside any name and no listing picks up a leftover.
QString temporaryNameBeside(const QString &destination)
{
    static const QString name = QStringLiteral("/.corvel3-%1.part").arg(QCoreApplication::applicationPid());
    return QFileInfo(destination).absolutePath() + name;
}

// A copy killed before its rename leaves its temporary behind. Only one run works on a drive at a
// time (the runner holds its lock), so any other run's temporary in a folder we write is such a
// leftover: removed, and logged, when the folder is first entered.
void removeLeftTemporaries(OperationContext &ctx, const QString &folder)
{
    const QString own = temporaryNameBeside(folder + QStringLiteral("/x")).section(QLatin1Char('/'), -1);
    const QStringList found = QDir(folder).entryList({QStringLiteral(".corvel3-*.part")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : found)
        if (name != own)
            ctx.fileAction(QStringLiteral("delete"), folder + QLatin1Char('/') + name, QString(),
                           QFile::remove(folder + QLatin1Char('/') + name));
}

enum class ExistsAnswer { Replace, ReplaceAll, Skip };

ExistsAnswer askReplace(OperationContext &ctx, const QString &destination)
{
    MessageBoxRequest box;
    box.kind = QuestionKind::Overwrite;
    box.safeButton = 1;
    box.proceedButton = 2;
    box.icon = BoxIcon::Question;
    box.parent = nullptr;
    box.title = ctx.translate("copyengine", "File Already Exists");
    box.text = ctx.translate("copyengine", "File\n") + destination + ctx.translate("copyengine", "\nAlready exists. Replace it? ");
    // The Italian wording names its buttons; the English one keeps the front end's standard ones.
    if (ctx.state.italian())
        box.buttons = {{BoxRole::Yes, ctx.translate("copyengine", "Yes")}, {BoxRole::No, ctx.translate("copyengine", "No")},
                       {BoxRole::YesToAll, ctx.translate("copyengine", "Yes to All")}};
    else
        box.buttons = {{BoxRole::Yes, QString()}, {BoxRole::No, QString()}, {BoxRole::YesToAll, QString()}};
    box.defaultButton = 0;
    box.escapeButton = 1;   // closing the box keeps the file
    switch (ctx.dialogs.showMessage(box)) {
    case 0: return ExistsAnswer::Replace;
    case 2: return ExistsAnswer::ReplaceAll;
    default: return ExistsAnswer::Skip;
    }
}

enum class FailureAnswer { Continue, ContinueAlways, Abort };

// This box has only its Italian wording, whatever the language.
FailureAnswer askAfterFailure(OperationContext &ctx, const QString &destination)
{
    MessageBoxRequest box;
    box.kind = QuestionKind::ContinueAfterError;
    box.safeButton = 1;
    box.proceedButton = 0;
    box.icon = BoxIcon::Question;
    box.parent = nullptr;
    box.title = QStringLiteral("Errore sulla copia");
    box.text = QStringLiteral("Il File\n") + destination + QString::fromUtf8("\non è stato copiato. Vuoi continuare a copiare? ");
    box.buttons = {{BoxRole::Yes, QStringLiteral("Si")}, {BoxRole::No, QStringLiteral("No")},
                   {BoxRole::Cancel, QStringLiteral("Continua sempre")}};
    box.defaultButton = 0;
    box.escapeButton = 1;   // closing the box stops the run rather than hiding further failures
    switch (ctx.dialogs.showMessage(box)) {
    case 0: return FailureAnswer::Continue;
    case 2: return FailureAnswer::ContinueAlways;
    default: return FailureAnswer::Abort;
    }
}

} // namespace

bool createFoldersFor(const QString &destination, QString *lastFolder)
{
    // Songs come folder by folder: when the folder is the one just made or seen, nothing to do.
    const QString folder = folderOf(destination);
    if (lastFolder && !lastFolder->isEmpty() && *lastFolder == folder)
        return true;
    static const QRegularExpression cut(QStringLiteral("(\\\\ |\\/)"));
    const QStringList parts = destination.split(cut);
    QString path;
    for (int i = 0; i + 1 < parts.size(); ++i) {
        path += parts.at(i) + QDir::separator();
        if (!QFileInfo(path).isDir() && !QDir().mkdir(path))
            return false;
    }
    if (lastFolder)
        *lastFolder = folder;
    return true;
}

namespace {

// A piece of a long copy takes about this long, so Stop and the bytes shown never wait much more.
constexpr qint64 kPieceNanoseconds = 50 * 1000 * 1000;
constexpr qint64 kFirstPiece = 1 << 20;
constexpr qint64 kSmallestPiece = 256 << 10;
constexpr qint64 kLargestPiece = 16 << 20;

// The next piece, from the pace of the last whole one, in whole 64 KiB.
qint64 nextPiece(qint64 copied, qint64 nanoseconds)
{
    if (nanoseconds <= 0)
        return kLargestPiece;
    const qint64 piece = qint64(double(copied) * double(kPieceNanoseconds) / double(nanoseconds)) & ~qint64(0xffff);
    return std::clamp(piece, kSmallestPiece, kLargestPiece);
}

} // namespace

bool copyWholeFile(const QString &source, const QString &destination, qint64 *bytes, bool nothingToReplace,
                   QByteArray *sha256, const CopyWatch *watch)
{
    constexpr qint64 kHashedOnTheWay = 32 * 1024;
    // One buffer for every copy: large enough for full-speed transfers, and memory stays flat
    // however many files a run copies.
    static QByteArray buffer(1 << 20, Qt::Uninitialized);

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;   // a missing source, or a folder handed over as a file (Qt refuses to open one)
    // A file that replaces nothing is written under its own name, never over one that appeared.
    const QString temporary = nothingToReplace ? destination : temporaryNameBeside(destination);
    QFile out(temporary);
    const QIODevice::OpenMode mode = nothingToReplace ? QIODevice::NewOnly : QIODevice::Truncate;
    if (!out.open(QIODevice::WriteOnly | mode | QIODevice::Unbuffered))
        return false;

    qint64 total = 0;
    bool whole = true;
    bool atEnd = false;
    if (sha256) {
        // Up to a buffer's worth first. A small file is hashed on its way: opening and reading it
        // again would cost more than hashing it. A larger one is left to the caller, whose other
        // threads hash it while the next files are copied; one longer than the buffer is finished
        // in pieces below.
        sha256->clear();
        qint64 filled = 0;
        while (filled < buffer.size()) {
            const qint64 got = in.read(buffer.data() + filled, buffer.size() - filled);
            if (got <= 0) {
                whole = got == 0;
                atEnd = true;
                break;
            }
            filled += got;
        }
        whole = whole && out.write(buffer.constData(), filled) == filled;
        total = filled;
        if (whole && atEnd && filled <= kHashedOnTheWay) {
            static backupmanifest::Hasher hasher;
            hasher.add(buffer.constData(), filled);
            *sha256 = hasher.hex();
        }
    }
    // The rest in pieces sized to the pace (a song read over USB, or from memory), watched between
    // them; inside the system where it can, through the buffer where it cannot.
    qint64 size = -1;   // asked only of a file that takes more than one piece
    bool bySystem = true;
    bool systemCopied = false;
    qint64 piece = kFirstPiece;
    QElapsedTimer pace;
    while (whole && !atEnd) {
        if (watch && total > 0 && size < 0)
            size = in.size();
        if (watch && total > 0 && total < size) {   // all there: only the end is left to see
            if (watch->bytes)
                watch->bytes(total, size);
            if (watch->stop && watch->stop()) {
                whole = false;
                break;
            }
        }
        pace.start();
        qint64 got = 0;
        const int direct = bySystem ? platform::copyFileContents(in, out, &got, piece) : 0;
        if (direct == 0 && !systemCopied)
            bySystem = false;   // nothing written: this piece, and the rest, through the buffer
        const qint64 wanted = bySystem ? piece : std::min<qint64>(piece, buffer.size());
        if (bySystem) {
            whole = direct > 0;
            systemCopied = true;
            atEnd = got < wanted;
        } else {
            got = in.read(buffer.data(), wanted);
            // A full disk shows up in the write.
            whole = got >= 0 && (got == 0 || out.write(buffer.constData(), got) == got);
            atEnd = got == 0;
        }
        if (whole && got > 0)
            total += got;
        if (got == wanted)   // a short piece, the last, tells nothing of the pace
            piece = nextPiece(got, pace.nsecsElapsed());
    }
    if (bytes)
        *bytes = total;
    // Songs keep their date (set through the open files: no path looked up again), but a lost
    // date is no reason to fail the copy. The mode is the new file's default, as with a plain copy.
    if (whole)
        platform::keepModificationTime(in, out);
    in.close();
    out.close();
    whole = whole && out.error() == QFileDevice::NoError;   // a failed close loses data too

    std::error_code error;
    if (whole && !nothingToReplace)
        fs::rename(nativePath(temporary), nativePath(destination), error);   // replaces in one step
    if (!whole || error) {
        // A second try: a temporary name left behind would sit among the songs for good.
        if (!QFile::remove(temporary))
            QFile::remove(temporary);
        return false;
    }
    return true;
}

namespace {

void showFolderError(OperationContext &ctx)
{
    const QString error = ctx.translate("copyengine", "ERROR");
    boxes::information(ctx.dialogs, ctx.window, error, error);
}

// After a failed copy: a source folder that has gone, or a destination folder that has gone and
// cannot be made again, means a drive went away; every further file would fail the same way.
bool folderWentAway(const QString &source, const QString &destination)
{
    if (!QFileInfo(QFileInfo(source).absolutePath()).isDir())
        return true;
    if (QFileInfo(folderOf(destination)).isDir())
        return false;
    return !createFoldersFor(destination);
}

} // namespace

namespace {

// Where a run may write: below its destination root as the run found it, on the volume it was on
// then. A root still to be made is judged by the deepest folder on its way that exists.
class DestinationGuard {
public:
    enum Verdict { Inside, Outside, Gone };

    // expectedVolume: the one the root must be on (the player's, as the run found it), "" for
    // the one it is on now.
    DestinationGuard(const QString &root, const QByteArray &expectedVolume)
    {
        anchor = QDir::cleanPath(root);
        QString rest;
        while (!QFileInfo(anchor).exists() && QFileInfo(anchor).absolutePath() != anchor) {
            rest = QFileInfo(anchor).fileName() + (rest.isEmpty() ? QString() : QLatin1Char('/') + rest);
            anchor = QFileInfo(anchor).absolutePath();
        }
        volume = expectedVolume.isEmpty() ? platform::volumeIdentity(anchor) : expectedVolume;
        const QString canonical = QFileInfo(anchor).canonicalFilePath();
        canonicalRoot = rest.isEmpty() ? canonical : QDir::cleanPath(canonical + QLatin1Char('/') + rest);
    }

    Verdict check(const QString &folder) const
    {
        if (volume.isEmpty() || platform::volumeIdentity(anchor) != volume)
            return Gone;
        // The deepest folder on the way that exists: what is still to be made is made inside it.
        QString existing = QDir::cleanPath(folder);
        while (!QFileInfo(existing).exists() && QFileInfo(existing).absolutePath() != existing)
            existing = QFileInfo(existing).absolutePath();
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        const bool below = canonical == canonicalRoot || canonicalRoot == QLatin1String("/")
                           || canonical.startsWith(canonicalRoot + QLatin1Char('/'))
                           || canonicalRoot.startsWith(canonical + QLatin1Char('/'));   // the root, not made yet
        return below && platform::volumeIdentity(existing) == volume ? Inside : Outside;
    }

private:
    QString anchor;          // the root, or the deepest folder on its way that exists
    QString canonicalRoot;   // the root with links resolved
    QByteArray volume;
};

// With hashing: queued lists, by hash number, the copies whose hashing went to the queue.
CopyReport copyRun(OperationContext &ctx, const QStringList &files, const QString &destinationRoot,
                   const QString &sourceRoot, backupmanifest::HashQueue *hashing, std::vector<int> *queued,
                   const std::function<Existing(const QString &, const QString &)> &judgeExisting)
{
    const QString driveRoot = QDir::cleanPath(ctx.driveRoot);
    const QString cleanRoot = QDir::cleanPath(destinationRoot);
    const bool ontoDrive = !ctx.driveRoot.isEmpty()
                           && (cleanRoot == driveRoot || cleanRoot.startsWith(driveRoot + QLatin1Char('/')));
    const DestinationGuard guard(destinationRoot, ontoDrive ? ctx.driveVolume : QByteArray());
    const bool hash = hashing != nullptr;
    ProgressView &bar = ctx.progress;
    CopyReport report;
    int done = 0;
    bool replaceAll = false;
    bool continueAlways = false;
    QString lastFolder;
    bool folderIsNew = false;   // made by this run: nothing in it can be replaced
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    if (hash)
        report.copied.reserve(files.size());

    const QString countFormat = QStringLiteral("%v");
    bar.setFormat(countFormat);
    bar.setMaximum(files.size());
    bar.setValue(0);

    // A long file shows its MB beside the count, at the bar's pace; Stop ends it between pieces.
    bool showingBytes = false;
    CopyWatch watch;
    watch.stop = [&ctx] { return ctx.state.stopRequested.load(); };
    watch.bytes = [&](qint64 copied, qint64 size) {
        if (sinceEvents.elapsed() < 50)
            return;
        bar.setFormat(QStringLiteral("%v  (%1 / %2 MB)").arg(copied >> 20).arg(size >> 20));
        showingBytes = true;
        sinceEvents.restart();
    };

    const auto endEarly = [&] {
        report.result = false;
        report.endedEarly = true;
        bar.setValue(done);
        return report;
    };

    for (const QString &source : files) {
        const QString relative = source.mid(sourceRoot.size());
        const QString destination = destinationRoot + relative;

        const QString folder = folderOf(destination);
        if (folder != lastFolder && !ctx.dryRun) {
            switch (guard.check(folder)) {
            case DestinationGuard::Inside: break;
            case DestinationGuard::Gone:
                showFolderError(ctx);
                return endEarly();
            case DestinationGuard::Outside:   // a link out of the destination: never written through
                ++report.failed;
                report.result = false;
                ctx.fileAction(QStringLiteral("copy"), destination, source, false);
                continue;
            }
        }
        if (folder != lastFolder) {
            folderIsNew = !QFileInfo(folder).isDir();
            if (!folderIsNew && !ctx.dryRun)
                removeLeftTemporaries(ctx, folder);
        }
        if (!ctx.dryRun && !createFoldersFor(destination, &lastFolder)) {
            showFolderError(ctx);
            return endEarly();
        }

        bool skip = false;
        const bool exists = !folderIsNew && QFileInfo::exists(destination);
        const Existing verdict = exists && judgeExisting ? judgeExisting(source, destination) : Existing::Ask;
        if (verdict == Existing::Keep) {
            skip = true;
            report.result = true;
            ++report.done;
        } else if (exists && !replaceAll && verdict == Existing::Ask) {
            switch (askReplace(ctx, destination)) {
            case ExistsAnswer::Replace: break;
            case ExistsAnswer::ReplaceAll: replaceAll = true; break;
            case ExistsAnswer::Skip: skip = true; report.result = true; ++report.done; break;
            }
        }

        if (!skip && ctx.dryRun) {
            ctx.fileAction(exists ? QStringLiteral("replace") : QStringLiteral("copy"), destination, source);
        } else if (!skip) {
            backupmanifest::Entry entry;
            report.result = copyWholeFile(source, destination, &entry.size, folderIsNew && hash,
                                          hash ? &entry.sha256 : nullptr, &watch);
            if (showingBytes) {
                bar.setFormat(countFormat);
                showingBytes = false;
            }
            if (!report.result && ctx.state.stopRequested) {   // not copied, and not a failure to ask about
                report.stopped = true;
                return endEarly();
            }
            if (exists || !report.result)   // the log names every replacement and every failed copy
                ctx.fileAction(exists ? QStringLiteral("replace") : QStringLiteral("copy"), destination, source,
                               report.result);
            if (report.result)
                ++report.done;
            if (report.result && hash) {
                // A longer file is hashed from its copy while the next files are copied: what
                // the manifest vouches for is what the backup holds.
                entry.path = relative;
                if (entry.sha256.isEmpty()) {
                    hashing->add(destination);
                    queued->push_back(report.copied.size());
                }
                report.copied.append(entry);
            }
            if (!report.result) {
                ++report.failed;
                if (folderWentAway(source, destination)) {
                    showFolderError(ctx);
                    return endEarly();
                }
                if (!continueAlways) {
                    switch (askAfterFailure(ctx, destination)) {
                    case FailureAnswer::Continue: break;
                    case FailureAnswer::ContinueAlways: continueAlways = true; break;
                    case FailureAnswer::Abort: return endEarly();
                    }
                }
            }
        }

        if (done != bar.maximum())
            ++done;
        // Events and the bar at a steady pace (after the first file, then every 50 ms): once per
        // file would cost more than a small song's copy.
        if (done == 1 || sinceEvents.elapsed() >= 50) {
            bar.setValue(done);
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
        if (ctx.state.stopRequested) {
            report.stopped = true;
            return endEarly();
        }
    }

    bar.setMaximum(files.size());
    bar.setValue(0);
    bar.setFormat(QStringLiteral("%p%"));
    return report;
}

} // namespace

CopyReport copyFiles(OperationContext &ctx, const QStringList &files, const QString &destinationRoot,
                     const QString &sourceRoot, bool hash,
                     const std::function<Existing(const QString &, const QString &)> &existing)
{
    if (!hash || ctx.dryRun)
        return copyRun(ctx, files, destinationRoot, sourceRoot, nullptr, nullptr, existing);
    backupmanifest::HashQueue hashing(QThread::idealThreadCount());
    std::vector<int> queued;
    CopyReport report = copyRun(ctx, files, destinationRoot, sourceRoot, &hashing, &queued, existing);
    const std::vector<QByteArray> hashes = hashing.finish();
    for (size_t n = 0; n < hashes.size(); ++n)
        report.copied[queued[n]].sha256 = hashes[n];
    // A copy that cannot be read back is not saved.
    QVector<backupmanifest::Entry> copied;
    copied.reserve(report.copied.size());
    for (int i = 0; i < report.copied.size(); ++i) {
        const backupmanifest::Entry &entry = report.copied.at(i);
        if (!entry.sha256.isEmpty()) {
            copied.append(entry);
            continue;
        }
        ++report.failed;
        --report.done;
        ctx.fileAction(QStringLiteral("hash"), destinationRoot + entry.path, QString(), false);
    }
    report.copied = copied;
    return report;
}

bool copyFileList(OperationContext &ctx, const QStringList &files, const QString &destinationRoot,
                  const QString &sourceRoot)
{
    return copyFiles(ctx, files, destinationRoot, sourceRoot).result;
}

} // namespace transfer
