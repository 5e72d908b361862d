#pragma once

#include <QString>

struct OperationContext;

// The parts the backup and restore buttons share.
namespace transfer {

// Shows the searching status and looks the drive up; "" after the not-found box.
QString findDriveOrReport(OperationContext &ctx);

// The end of a button's run: the backup error box when the engine failed, nothing after a Stop,
// otherwise "Fatto" / "Done".
void reportOutcome(OperationContext &ctx, bool succeeded);

// The end of a run in which files failed: how many, and where the operation log is. Shown
// instead of "Fatto" / "Done".
void reportNotCopied(OperationContext &ctx, int failed, int total, bool restoring);

} // namespace transfer
