#include "transfer/folderremoval.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVector>

#include "device/entries.h"
#include "device/platform.h"
#include "core/operationcontext.h"

namespace transfer {

namespace {

bool isDeviceRoot(const QString &folder, const QString &deviceRoot)
{
    return !deviceRoot.isEmpty() && entries::samePath(folder, deviceRoot);
}

} // namespace

bool isProtectedFolder(const QString &folder, const QString &deviceRoot)
{
    return entries::isProtectedFolder(folder, deviceRoot);
}

bool removeFolderTree(OperationContext &ctx, const QString &folder, const std::function<void()> &repaint)
{
    const QString deviceRoot = ctx.driveRoot;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return true;
    if (isProtectedFolder(folder, deviceRoot))
        return false;
    // A folder that is a link goes as a link: what it points to is someone else's.
    if (platform::isLink(folder)) {
        const bool removed = ctx.dryRun || platform::removeEntry(folder);
        ctx.fileAction(QStringLiteral("delete"), folder, QString(), removed);
        return removed;
    }

    entries::ListOptions options;
    options.recursive = false;
    options.includeHiddenSystem = true;
    options.foldersFirstByName = true;
    const bool emptied = entries::walk(folder, options, [&](const QFileInfo &entry) {
        if (repaint)
            repaint();
        QCoreApplication::processEvents();
        const QString path = entry.absoluteFilePath();
        if (entry.isDir() && !platform::isLink(path))
            return removeFolderTree(ctx, path, repaint) && !ctx.state.stopRequested;
        const bool removed = ctx.dryRun || platform::removeEntry(path);
        ctx.fileAction(QStringLiteral("delete"), path, QString(), removed);
        return removed && !ctx.state.stopRequested;
    });
    if (!emptied)
        return false;

    // The drive itself is emptied, never removed.
    if (isDeviceRoot(folder, deviceRoot))
        return true;
    const bool removed = ctx.dryRun || QDir().rmdir(folder);
    ctx.fileAction(QStringLiteral("delete"), folder, QString(), removed);
    return removed;
}

bool recreateFolder(OperationContext &ctx, const QString &folder)
{
    if (!removeFolderTree(ctx, folder, [] {}))
        return false;
    return ctx.dryRun || QDir().mkdir(folder);
}

} // namespace transfer
