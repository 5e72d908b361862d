#include "optimise/optimiserun.h"

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
    const QString root = state.scan.libraryDevicePath.isEmpty() ? ctx.deviceDrive() : state.scan.libraryDevicePath;
    defrag::defragmentDrive(ctx, *state.defragProcess, root);
}

bool run(OperationContext &ctx, OptimiseState &state, const OptimiseSteps &steps)
{
    if (ctx.operationName.isEmpty())
        ctx.operationName = QStringLiteral("optimise");
    state.scan.clearForRun();
    state.split.resetForFolder();
    ctx.progress.showBusyWidgets(true);

    FolderSplit::resumeUnfinished(ctx, ctx.deviceDrive(), &state.scan.dryRunPlaylists);
    bool ok = true;
    if (steps.deleteUnsupported || steps.moveImages || steps.split)
        LibraryScanner(ctx, state.scan).scanLibrary();
    if (steps.deleteUnsupported) {
        ok = ok && !ctx.state.stopRequested;
        if (!ctx.state.stopRequested)
            JunkAndImages(ctx, state.scan).deleteUnsupportedFiles();
    }
    if (steps.moveImages) {
        ok = ok && !ctx.state.stopRequested;
        if (!ctx.state.stopRequested)
            JunkAndImages(ctx, state.scan).moveImagesToFolder();
    }
    if (steps.split) {
        ok = ok && !ctx.state.stopRequested;
        if (!ctx.state.stopRequested) {
            FolderSplit split(ctx, state.scan, state.titles, state.split);
            if (steps.defragment)
                split.defragment = [&ctx, &state] { defragment(ctx, state); };
            ok = split.splitFoldersByTitle() && ok;
        }
    }
    ok = ok && !ctx.state.stopRequested;
    ctx.progress.showBusyWidgets(false);
    return ok;
}

} // namespace optimise
