#pragma once

#include <memory>
#include <QProcess>

#include "optimise/libraryscanstate.h"
#include "optimise/songtitle.h"
#include "optimise/splitstate.h"
#include "core/operationcontext.h"
#include "core/outcome.h"

// The steps the user chose in the optimise panel.
struct OptimiseSteps {
    bool deleteUnsupported = false;
    bool moveImages = false;
    bool split = false;
    bool defragment = true;   // the split's closing defragmentation
    bool any() const { return deleteUnsupported || moveImages || split; }
    static OptimiseSteps full() { return OptimiseSteps{true, true, true, true}; }
};

// Everything the optimise run keeps between its steps, owned once by its front end.
struct OptimiseState {
    LibraryScanState scan;        // what the last scan collected
    SongTitleReader titles;       // the title readers' shared state
    SplitState split;
    // Kept for the owner's life once started: a defragmenter still at work after the wait goes on.
    std::unique_ptr<QProcess> defragProcess;
};

namespace optimise {

// The optimise run: a split that a crash interrupted has its playlists completed first; then the
// library scan, the deletion of unsupported files, the gathering of images and the split with its
// defragmentation, each only when chosen and while no Stop is pending (the scan's folder walk
// leaves its Stop set and so ends the run; the other steps clear theirs). In a dry run
// (ctx.dryRun) every step reports through ctx.fileAction what it would do and nothing changes:
// no file, no playlist, no journal, no defragmentation. Works on the drive at ctx.driveRoot.
// Failed when any action on a file failed (with the counts) or a step could not go on.
Outcome run(OperationContext &ctx, OptimiseState &state, const OptimiseSteps &steps);

// The drive's defragmentation at the end of a split.
void defragment(OperationContext &ctx, OptimiseState &state);

} // namespace optimise
