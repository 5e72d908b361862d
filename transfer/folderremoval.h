#pragma once

#include <functional>
#include <QString>

struct OperationContext;

namespace transfer {

// Folders no removal may ever touch: the system's root, the user's home folder and every folder
// above it, and every folder above the player's drive root (deviceRoot; "" when none).
bool isProtectedFolder(const QString &folder, const QString &deviceRoot);

// Deletes everything inside folder, depth first (hidden and system entries too, sorted by name
// with folders first), then the folder itself unless it is the player's drive root, which is
// only emptied. The drive is looked up again at every level. repaint is called before each
// entry, followed by one round of event processing. Symbolic links are removed, never followed.
// True when everything was removed or there was nothing to remove; false at the first entry
// that cannot be deleted, after a Stop, or for a protected folder (then nothing is touched).
bool removeFolderTree(OperationContext &ctx, const QString &folder, const std::function<void()> &repaint);

// Empties folder as above (repainting the context's bar) and creates it again, one level.
// False when the removal failed or the folder could not be created (the drive root, which is
// never removed, therefore always gives false).
bool recreateFolder(OperationContext &ctx, const QString &folder);

} // namespace transfer
