#include "optimise/optimiserun.h"

#include <QFile>
#include <QFileInfo>

#include "core/dialogs.h"

#include "optimise/defrag.h"
#include "optimise/foldersplit.h"
#include "optimise/junkandimages.h"
#include "optimise/libraryscan.h"

namespace optimise {

void defragment(OperationContext &ctx, OptimiseState &state)
{
    if (ctx.dryRun)
        return;
    if (!state.defragProcess)
        state.defragProcess = std::make_unique<QProcess>();
    const QString root = state.scan.libraryDevicePath.isEmpty() ? ctx.driveRoot : state.scan.libraryDevicePath;
    defrag::defragmentDrive(ctx, *state.defragProcess, root);
}

namespace {

// Whether a file can be made at the drive's root: a player mounted read-only, or one whose disk
// refuses writes, would otherwise fail file after file, or have nothing to do and seem fine.
bool rootWritable(const QString &root)
{
    QFile probe(root + QStringLiteral(".corvel3-write-check"));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    probe.close();
    return probe.remove();
}

} // namespace

Outcome run(OperationContext &ctx, OptimiseState &state, const OptimiseSteps &steps)
{
    // The run is judged by what was done to the files: every action counts, every failed one too.
    OperationContext counted = ctx;
    int actions = 0;
    QStringList notDone;
    counted.onFileAction = [&](const QString &action, const QString &path, const QString &target, bool ok) {
        ++actions;
        if (!ok)
            notDone << action + QLatin1Char(' ') + path;
        if (ctx.onFileAction)
            ctx.onFileAction(action, path, target, ok);
    };
    state.scan.clearForRun();
    state.split.resetForFolder();
    const auto present = [&ctx] { return !ctx.driveRoot.isEmpty() && QFileInfo(ctx.driveRoot).isDir(); };
    if (!present())
        return Outcome::of(Outcome::Status::PlayerNotFound);
    if (!ctx.dryRun && !rootWritable(ctx.driveRoot)) {
        boxes::critical(ctx.dialogs, ctx.window, ctx.translate("optimiserun", "ERROR"),
                        ctx.translate("optimiserun", "The Corvel3's disk is read-only or cannot be written: no file has been changed.\n"
                                                     "Check the Corvel3's connection and try again."),
                        QStringLiteral("optimise.readOnly"));
        return Outcome::failure(true);
    }

    // A step that could not keep the playlists in line ends the run: nothing more moves.
    bool ok = FolderSplit::resumeUnfinished(counted, ctx.driveRoot, &state.scan.dryRunPlaylists);
    const auto goOn = [&] { return ok && !ctx.state.stopRequested && present(); };
    if (goOn() && steps.any())
        ok = LibraryScanner(counted, state.scan).scanLibrary();
    if (steps.deleteUnsupported && goOn())
        JunkAndImages(counted, state.scan).deleteUnsupportedFiles();
    if (steps.moveImages && goOn())
        JunkAndImages(counted, state.scan).moveImagesToFolder();
    if (steps.split && goOn()) {
        FolderSplit split(counted, state.scan, state.titles, state.split);
        if (steps.defragment)
            split.defragment = [&counted, &state] { defragment(counted, state); };
        ok = split.splitFoldersByTitle();
    }

    Outcome outcome;
    outcome.total = actions;
    for (const QString &line : notDone)
        outcome.addNotDone(line, QString());
    if (!present())
        outcome.status = Outcome::Status::PlayerNotFound;
    else if (ctx.state.stopRequested || ctx.state.stopPressed)
        outcome.status = Outcome::Status::Stopped;
    else if (!ok && outcome.status == Outcome::Status::Done)
        outcome = Outcome::failure(true);   // the step's own box said why
    return outcome;
}

} // namespace optimise
