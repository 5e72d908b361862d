#pragma once

#include <functional>
#include <QString>

#include "core/operationcontext.h"
#include "core/outcome.h"

// Downloads address into folder (made when missing; a run's own, see update/runfolder.h),
// mirroring the percentage on ctx.progress every 200 ms and leaving the wait when Stop is
// pressed. Returns the saved file's path only when the whole reply arrived (status 200, no
// network error, every byte announced and written) and it holds at least 10000 bytes; else ""
// (an error page, a cut-off body, a Stop).
QString downloadPackage(OperationContext &ctx, const QString &address, const QString &folder);

// The update operation: download and unpack into a folder of the run's own, check, then put
// "CorvelUpdate" on the device through a staged copy, so a failure at any step leaves the
// device's own update folder as it was.
class SystemUpdate {
public:
    explicit SystemUpdate(OperationContext &ctx) : ctx(ctx) {}

    // The update of the drive at ctx.driveRoot: Done when the update files are on the device
    // and flushed to it. Every failure has shown its box (", Cod 1/2/3" titles).
    Outcome run();
    // The update package into folder; its path or "".
    QString downloadUpdate(const QString &folder);
    // Replaces "CorvelUpdate" on the device with the one unpacked in packageFolder. False with
    // the device's folder untouched; a free-space box is the only one shown here.
    bool copyUpdateFiles(const QString &packageFolder, const QString &drivePath);

    // Told of each point of the swap (StagedInstall::atStep).
    std::function<void(const QString &step)> atSwapStep;

private:
    void downloadError(int code);

    OperationContext &ctx;
    bool copyReported = false;
};
