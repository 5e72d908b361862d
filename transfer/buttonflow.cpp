#include "transfer/buttonflow.h"

#include <QDir>

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

void reportNotCopied(OperationContext &ctx, int failed, int total, bool restoring)
{
    const QString log = QDir::toNativeSeparators(oplog::path());
    MessageBoxRequest box;
    box.kind = QuestionKind::Error;
    box.icon = BoxIcon::Warning;
    box.parent = ctx.window;
    box.buttons = {{BoxRole::Ok, QStringLiteral("Ok")}};
    if (restoring) {
        box.title = ctx.pick("Ripristino incompleto", "Restore incomplete");
        box.text = ctx.state.italian()
            ? QStringLiteral("%1 files su %2 non sono stati ripristinati sul Corvel3.\nL'elenco delle operazioni è in:\n%3")
            : QStringLiteral("%1 of %2 files were not restored to the Corvel3.\nThe log of operations is in:\n%3");
    } else {
        box.title = ctx.pick("Backup incompleto", "Backup incomplete");
        box.text = ctx.state.italian()
            ? QStringLiteral("%1 files su %2 non sono stati salvati nella copia di backup.\nL'elenco delle operazioni è in:\n%3")
            : QStringLiteral("%1 of %2 files were not saved in the backup.\nThe log of operations is in:\n%3");
    }
    box.text = box.text.arg(failed).arg(total).arg(log);
    ctx.dialogs.showMessage(box);
}

} // namespace transfer
