#pragma once

#include <QString>

#include "device/platform.h"
#include "core/operationcontext.h"

class QProcess;

// Defragmentation of the player's drive: the platform's defragmenter runs while the bar shows a
// busy indicator. The program only knows that the tool writes output while it works; the wait
// ends after a stretch of silence, and the tool, if still running, goes on in the background.
namespace defrag {

// How long the defragmenter may stay silent before the wait gives up on it, and the pause
// between two looks at its output.
constexpr int silenceLimitMs = 30000;
constexpr int pauseMs = 200;

// Runs command in process and waits as above. A process that is still running from an earlier
// defragmentation is waited for instead of being started again.
void run(OperationContext &ctx, QProcess &process, const platform::Command &command,
         int silenceMs = silenceLimitMs);

// The drive's own defragmenter (platform::defragCommand).
void defragmentDrive(OperationContext &ctx, QProcess &process, const QString &deviceRoot,
                     int silenceMs = silenceLimitMs);

} // namespace defrag
