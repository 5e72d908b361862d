#pragma once

#include "core/operationcontext.h"

enum class SwapRecovery { Nothing, Completed, RolledBack, Failed };

// Finishes or undoes a swap a crash interrupted on the drive at ctx.driveRoot (by its journal,
// update/swapjournal.h), and removes the tool's leftovers (.corvel3-staging,
// .corvel3-previous-*). A swap whose new entries are all still whole is finished; one that
// cannot be is undone. Shows one box (codes "recovery.completed", "recovery.rolledBack",
// "recovery.failed") only when it did something, and logs every action through ctx.fileAction.
// Nothing to do, or a dry run: returns Nothing at once, after one look at the root folder. Failed
// keeps the journal, and with it every swap off the drive, until a later recovery succeeds.
SwapRecovery recoverInterruptedSwap(OperationContext &ctx);
