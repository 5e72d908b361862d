#pragma once

#include <functional>
#include <QString>
#include <QStringList>

#include "core/operationcontext.h"

// The folder operations the update borrows from the file-transfer side. The operations window
// hands over its own members, so their prompts, progress and Stop handling are the same ones
// every other operation shows.
struct UpdateFileOps {
    std::function<bool(const QString &folder)> recreateFolder;
    std::function<bool(const QString &folder)> removeFolderTree;
    std::function<bool(const QStringList &files, const QString &destinationRoot, const QString &sourceRoot)>
        copyFileList;
};

// Name of the update folder, in the package and at the root of the device.
extern const char kUpdateFolderName[];   // "CorvelUpdate"

// Downloads address into the save folder, mirroring the percentage on ctx.progress's bar every
// 200 ms and leaving the wait when Stop is pressed. Returns the saved file's path when it holds
// at least 10000 bytes, else "" (an error page, or nothing). After a Stop the caller must test
// the Stop flag itself: a partial file may still come back. clearFolder empties the save folder
// first.
QString downloadPackage(OperationContext &ctx, const UpdateFileOps &ops, const QString &address,
                        bool clearFolder);

// The update operation: download, unpack, copy "CorvelUpdate" onto the device.
class SystemUpdate {
public:
    SystemUpdate(OperationContext &ctx, UpdateFileOps ops) : ctx(ctx), ops(std::move(ops)) {}

    // True when the update files are on the device. Failures show one box (", Cod 1/2/3" titles)
    // and leave the busy widgets visible for the caller to hide.
    bool updateSystem(bool showEndMessage);
    // The update package into the emptied save folder; its path or "".
    QString downloadUpdate();
    // Replaces "CorvelUpdate" on the device with the one unpacked in packageFolder.
    bool copyUpdateFiles(const QString &packageFolder, const QString &drivePath);

private:
    void downloadError(int code);

    OperationContext &ctx;
    UpdateFileOps ops;
};
