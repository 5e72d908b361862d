#include "optimise/optimiserun.h"

#include <QFileInfo>

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

    FolderSplit::resumeUnfinished(counted, ctx.driveRoot, &state.scan.dryRunPlaylists);
    bool ok = true;
    if (steps.deleteUnsupported || steps.moveImages || steps.split)
        LibraryScanner(counted, state.scan).scanLibrary();
    if (steps.deleteUnsupported && !ctx.state.stopRequested)
        JunkAndImages(counted, state.scan).deleteUnsupportedFiles();
    if (steps.moveImages && !ctx.state.stopRequested)
        JunkAndImages(counted, state.scan).moveImagesToFolder();
    if (steps.split && !ctx.state.stopRequested) {
        FolderSplit split(counted, state.scan, state.titles, state.split);
        if (steps.defragment)
            split.defragment = [&counted, &state] { defragment(counted, state); };
        ok = split.splitFoldersByTitle() && ok;
    }

    Outcome outcome;
    outcome.total = actions;
    for (const QString &line : notDone)
        outcome.addNotDone(line, QString());
    if (ctx.state.stopRequested || ctx.state.stopPressed)
        outcome.status = Outcome::Status::Stopped;
    else if (!QFileInfo(ctx.driveRoot).isDir())
        outcome.status = Outcome::Status::PlayerNotFound;
    else if (!ok && outcome.status == Outcome::Status::Done)
        outcome = Outcome::failure(true);   // the split's own box said why
    return outcome;
}

} // namespace optimise
