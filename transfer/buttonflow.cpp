#include "transfer/buttonflow.h"

#include "core/operationcontext.h"

namespace transfer {

QString findDriveOrReport(OperationContext &ctx)
{
    ctx.progress.setStatus(ctx.message(MSG_SEARCHING_DEVICE));
    const QString drive = ctx.deviceDrive();
    if (drive.isEmpty())
        boxes::information(ctx.dialogs, ctx.window, ctx.message(MSG_DEVICE_NOT_FOUND_TITLE),
                           ctx.message(MSG_DEVICE_NOT_FOUND_TEXT));
    return drive;
}

void reportOutcome(OperationContext &ctx, bool succeeded)
{
    if (!succeeded) {
        boxes::information(ctx.dialogs, ctx.window, ctx.message(MSG_BACKUP_ERROR_TITLE),
                           ctx.message(MSG_BACKUP_ERROR_TEXT));
    } else if (!ctx.state.stopRequested) {
        const QString done = ctx.pick("Fatto", "Done");
        boxes::information(ctx.dialogs, ctx.window, done, done);
    }
}

} // namespace transfer
