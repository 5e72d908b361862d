#include "optimise/junkandimages.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QFileInfo>
#include <QRandomGenerator>

#include "device/entries.h"
#include "core/dialogs.h"
#include "optimise/libraryscan.h"

namespace {
constexpr int kTemporaryNameRange = 1000000;   // temporary names are 0..999999 + suffix
constexpr int kTemporaryNameDraws = 1000;      // draws before giving up on a free temporary name
} // namespace

QString JunkAndImages::numberedName(const QString &fileName, int n)
{
    const int firstDot = fileName.indexOf(QLatin1Char('.'));
    const QString base = firstDot < 0 ? fileName : fileName.left(firstDot);
    const QString suffix = firstDot < 0 ? QString() : fileName.mid(firstDot + 1);
    return base + QLatin1Char('_') + QString::number(n) + QLatin1Char('.') + suffix;
}

bool JunkAndImages::playerGone() const
{
    return !QFileInfo(state.libraryDevicePath).isDir();
}

void JunkAndImages::showDone(const QString &text)
{
    ctx.progress.setStatus(ctx.translate("JunkAndImages", "Operation completed"));
    boxes::information(ctx.dialogs, ctx.window, ctx.translate("JunkAndImages", "Operation completed", "it: Operazione Completata"), text);
}

void JunkAndImages::deleteUnsupportedFiles()
{
    const QList<QFileInfo> &files = state.unsupportedFiles;
    if (files.isEmpty()) {
        showDone(ctx.translate("JunkAndImages", "No unsupported file found"));
        return;
    }
    ctx.progress.setMinimum(0);
    ctx.progress.setMaximum(files.size());
    ctx.progress.setValue(0);
    // This label exists in Italian only.
    ctx.progress.setStatus(QStringLiteral("Cancellazione file non supportati..."));
    int handled = 0;
    QStringList failed;
    while (handled < files.size() && !ctx.state.stopRequested) {
        const QString path = files.at(handled).absoluteFilePath();
        // The scan never lists the player's own entries; this keeps it so whatever the list holds.
        if (!scanrules::isInsidePlayerOwnEntry(state.libraryDevicePath, path)) {
            const bool removed = ctx.dryRun || QFile::remove(state.realPath(path));
            ctx.fileAction(QStringLiteral("delete"), path, QString(), removed);
            if (!removed && playerGone())
                return;   // the run says the player is not found
            if (!removed)
                failed << path;
        }
        ctx.progress.setValue(++handled);
        pump.poll();
    }
    if (ctx.state.stopRequested) {
        ctx.state.stopRequested = false;   // ends this step only
        return;
    }
    if (ctx.dryRun)
        showDone(ctx.translate("JunkAndImages", "Would delete %1 unsupported files")
                     .arg(files.size()));
    else if (failed.isEmpty())
        showDone(ctx.translate("JunkAndImages", "All the unsupported files have been deleted"));
    else
        showDone(ctx.translate("JunkAndImages", "Unsupported files deleted: %1 of %2. These could not be deleted:\n")
                     .arg(files.size() - failed.size())
                     .arg(files.size())
                     + failed.join(QLatin1Char('\n')));
    ctx.progress.setValue(0);
}

void JunkAndImages::moveImagesToFolder()
{
    ctx.progress.setStatus(ctx.translate("JunkAndImages", "Shifting images..."));
    if (state.imagesToMove.isEmpty()) {
        showDone(ctx.translate("JunkAndImages", "No picture found"));
        return;
    }
    const int count = state.imagesToMove.size();
    ctx.progress.setMinimum(0);
    ctx.progress.setMaximum(count);
    ctx.progress.setValue(0);
    if (ctx.state.stopRequested) {
        ctx.state.stopRequested = false;
        return;
    }
    // "Images" is named whatever its case on the drive, and made when the drive has none.
    QString imagesPath = entries::resolve(state.libraryDevicePath, QStringLiteral("Images"));
    if (!QFileInfo(imagesPath).isDir()) {
        imagesPath = state.libraryDevicePath + QStringLiteral("Images");
        const bool made = ctx.dryRun || QDir().mkdir(imagesPath);
        ctx.fileAction(QStringLiteral("create"), imagesPath, QString(), made);
    }
    const QString imagesFolder = imagesPath + QLatin1Char('/');
    QSet<QString> planned;   // dry run: names a real run would have taken by now
    const auto taken = [&](const QString &path) { return QFileInfo::exists(path) || planned.contains(path); };
    int moved = 0;
    QStringList failed;
    for (int i = 0; i < count; ++i) {
        const QFileInfo image = state.imagesToMove.at(i);
        if (scanrules::isInsidePlayerOwnEntry(state.libraryDevicePath, image.absoluteFilePath())) {
            ctx.progress.setValue(i + 1);
            continue;
        }
        QString target = imagesFolder + image.fileName();
        int n = 0;
        bool clashing = false;
        while (taken(target)) {
            target = imagesFolder + numberedName(image.fileName(), ++n);
            clashing = true;
        }
        const QString source = state.realPath(image.absoluteFilePath());
        bool ok = true;
        if (ctx.dryRun)
            planned.insert(target);
        else if (clashing)
            ok = moveThroughTemporaryName(source, imagesFolder, target);
        else
            ok = QFile::rename(source, target);
        ctx.fileAction(QStringLiteral("move"), image.absoluteFilePath(), target, ok);
        if (!ok && playerGone())
            return;
        if (ok)
            ++moved;
        else
            failed << image.absoluteFilePath();
        ctx.progress.setValue(i + 1);
        pump.poll();
        if (ctx.state.stopRequested && i + 1 < count) {
            ctx.state.stopRequested = false;
            return;
        }
    }
    if (ctx.state.stopRequested) {
        ctx.state.stopRequested = false;
        return;
    }
    state.imagesToMove.clear();
    if (ctx.dryRun)
        showDone(ctx.translate("JunkAndImages", "Would move %1 images into the folder ''Images''")
                     .arg(moved));
    else if (failed.isEmpty())
        showDone(ctx.translate("JunkAndImages", "All the images have been moved into the folder ''Images''"));
    else
        showDone(ctx.translate("JunkAndImages", "Images moved into the folder ''Images'': %1 of %2. These could not be moved:\n")
                     .arg(moved)
                     .arg(count)
                     + failed.join(QLatin1Char('\n')));
    ctx.progress.setValue(0);
}

bool JunkAndImages::moveThroughTemporaryName(const QString &source, const QString &imagesFolder, const QString &target)
{
    const QFileInfo info(source);
    const QString suffix = info.completeSuffix();
    const QString ownFolder = info.absolutePath() + QLatin1Char('/');
    // The temporary name must be free in both folders: a rename never overwrites, and a later
    // rename of a name that was already taken would move somebody else's file.
    QString temporaryName;
    for (int draw = 0; draw < kTemporaryNameDraws && temporaryName.isEmpty(); ++draw) {
        const int r = drawNumber ? drawNumber() : int(QRandomGenerator::global()->bounded(kTemporaryNameRange));
        const QString name = QString::number(r) + QLatin1Char('.') + suffix;
        if (!QFileInfo::exists(ownFolder + name) && !QFileInfo::exists(imagesFolder + name))
            temporaryName = name;
    }
    if (temporaryName.isEmpty())
        return QFile::rename(source, target);
    // Each rename is made only if the one before it succeeded, for the same reason; an image
    // that cannot reach "Images" gets its own name back.
    if (!QFile::rename(source, ownFolder + temporaryName))
        return false;
    if (!QFile::rename(ownFolder + temporaryName, imagesFolder + temporaryName)) {
        QFile::rename(ownFolder + temporaryName, source);
        return false;
    }
    if (QFile::rename(imagesFolder + temporaryName, target))
        return true;
    // Left in "Images" under the temporary name: at least it is not lost, but not where it belongs.
    return false;
}
