#include "optimise/junkandimages.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "device/entries.h"
#include "core/dialogs.h"

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

void JunkAndImages::showDone(const QString &text)
{
    ctx.progress.setStatus(ctx.pick("Operazione completata", "Operation completed"));
    boxes::information(ctx.dialogs, ctx.window, ctx.pick("Operazione Completata", "Operation completed"), text);
}

void JunkAndImages::deleteUnsupportedFiles()
{
    const QList<QFileInfo> &files = state.unsupportedFiles;
    if (files.isEmpty()) {
        showDone(ctx.pick("Nessun file incompatibile trovato", "No unsupported file found"));
        return;
    }
    ctx.progress.setMinimum(0);
    ctx.progress.setMaximum(files.size());
    ctx.progress.setValue(0);
    // This label exists in Italian only.
    ctx.progress.setStatus(QStringLiteral("Cancellazione file non supportati..."));
    int handled = 0;
    while (handled < files.size() && !ctx.state.stopRequested) {
        QFile::remove(files.at(handled).absoluteFilePath());
        ctx.progress.setValue(++handled);
    }
    if (ctx.state.stopRequested) {
        ctx.state.stopRequested = false;   // ends this step only
        return;
    }
    showDone(ctx.pick("Tutti i file non supportati sono stati eliminati",
                      "All the unsupported files have been deleted"));
    ctx.progress.setValue(0);
}

void JunkAndImages::moveImagesToFolder()
{
    ctx.progress.setStatus(ctx.pick("Spostamento immagini...", "Shifting images..."));
    if (state.imagesToMove.isEmpty()) {
        showDone(ctx.pick("Nessuna immagine trovata", "No picture found"));
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
    // "Images" is named whatever its case on the drive; it is not created here.
    const QString imagesFolder = entries::resolve(state.libraryDevicePath, QStringLiteral("Images")) + QLatin1Char('/');
    for (int i = 0; i < count; ++i) {
        const QFileInfo image = state.imagesToMove.at(i);
        QString target = imagesFolder + image.fileName();
        int n = 0;
        bool clashing = false;
        while (QFileInfo::exists(target)) {
            target = imagesFolder + numberedName(image.fileName(), ++n);
            clashing = true;
        }
        if (clashing)
            moveThroughTemporaryName(image.absoluteFilePath(), imagesFolder, target);
        else
            QFile::rename(image.absoluteFilePath(), target);
        ctx.progress.setValue(i + 1);
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
    showDone(ctx.pick("Tutte le immagini sono state spostate nella cartella ''Images''",
                      "All the images have been moved into the folder ''Images''"));
    ctx.progress.setValue(0);
}

void JunkAndImages::moveThroughTemporaryName(const QString &source, const QString &imagesFolder, const QString &target)
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
    if (temporaryName.isEmpty()) {
        QFile::rename(source, target);
        return;
    }
    // Each rename is made only if the one before it succeeded, for the same reason; an image
    // that cannot reach "Images" gets its own name back.
    if (!QFile::rename(source, ownFolder + temporaryName))
        return;
    if (!QFile::rename(ownFolder + temporaryName, imagesFolder + temporaryName)) {
        QFile::rename(ownFolder + temporaryName, source);
        return;
    }
    QFile::rename(imagesFolder + temporaryName, target);
}
