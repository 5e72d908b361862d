#pragma once

#include <functional>
#include <QString>

#include "optimise/libraryscanstate.h"
#include "core/operationcontext.h"
#include "optimise/eventpump.h"

// The two optimisation steps that act on the scan's lists: deleting the unsupported files and
// gathering the images into the root "Images" folder. A Stop ends only the step in hand. Each
// file acted on is reported through ctx.fileAction; a dry run reports and changes nothing.
class JunkAndImages {
public:
    JunkAndImages(OperationContext &ctx, LibraryScanState &state) : ctx(ctx), state(state) {}

    void deleteUnsupportedFiles();
    void moveImagesToFolder();

    // The name an image gets in "Images" on its n-th clash: the part before the first dot, "_",
    // n, then everything after the first dot ("my.photo.jpg", 1 -> "my_1.photo.jpg").
    static QString numberedName(const QString &fileName, int n);

    // Draws the number of the temporary name in the three-rename move (0..999999); replaceable
    // so that a test can force the draws.
    std::function<int()> drawNumber;

private:
    // Moves source to target through a temporary name in the source folder and then in "Images".
    bool moveThroughTemporaryName(const QString &source, const QString &imagesFolder, const QString &target);
    void showDone(const QString &text);
    // The drive went away: the steps end without boxes of their own.
    bool playerGone() const;

    OperationContext &ctx;
    LibraryScanState &state;
    EventPump pump{50};
};
