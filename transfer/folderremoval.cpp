#include "transfer/folderremoval.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVector>

#include "device/entries.h"
#include "ui/core/operationcontext.h"

namespace transfer {

namespace {

// The forms a path can take: as written (made absolute and clean) and with links resolved.
QStringList pathForms(const QString &path)
{
    QStringList forms;
    const QFileInfo info(path);
    forms << QDir::cleanPath(info.absoluteFilePath());
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty() && !forms.contains(canonical))
        forms << canonical;
    return forms;
}

// Case-insensitive on purpose: refusing too much is harmless here, refusing too little is not.
bool sameOrAbove(const QString &candidate, const QString &target)
{
    if (candidate.compare(target, Qt::CaseInsensitive) == 0)
        return true;
    const QString prefix = candidate.endsWith(QLatin1Char('/')) ? candidate : candidate + QLatin1Char('/');
    return target.startsWith(prefix, Qt::CaseInsensitive);
}

bool isDeviceRoot(const QString &folder, const QString &deviceRoot)
{
    if (deviceRoot.isEmpty())
        return false;
    const QStringList roots = pathForms(deviceRoot);
    for (const QString &form : pathForms(folder))
        for (const QString &root : roots)
            if (form.compare(root, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

} // namespace

bool isProtectedFolder(const QString &folder, const QString &deviceRoot)
{
    const QStringList homes = pathForms(QDir::homePath());
    const QStringList roots = deviceRoot.isEmpty() ? QStringList() : pathForms(deviceRoot);
    for (const QString &form : pathForms(folder)) {
        if (QDir(form).isRoot())
            return true;
        for (const QString &home : homes)
            if (sameOrAbove(form, home))
                return true;
        for (const QString &root : roots)
            if (form.compare(root, Qt::CaseInsensitive) != 0 && sameOrAbove(form, root))
                return true;
    }
    return false;
}

bool removeFolderTree(OperationContext &ctx, const QString &folder, const std::function<void()> &repaint)
{
    const QString deviceRoot = ctx.deviceDrive();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return true;
    if (isProtectedFolder(folder, deviceRoot))
        return false;

    entries::ListOptions options;
    options.recursive = false;
    options.includeHiddenSystem = true;
    options.foldersFirstByName = true;
    const bool emptied = entries::walk(folder, options, [&](const QFileInfo &entry) {
        if (repaint)
            repaint();
        QCoreApplication::processEvents();
        const QString path = entry.absoluteFilePath();
        const bool removed = (entry.isDir() && !entry.isSymLink()) ? removeFolderTree(ctx, path, repaint)
                                                                   : QFile::remove(path);
        return removed && !ctx.state.stopRequested;
    });
    if (!emptied)
        return false;

    // The drive itself is emptied, never removed.
    if (isDeviceRoot(folder, deviceRoot))
        return true;
    return QDir().rmdir(folder);
}

bool recreateFolder(OperationContext &ctx, const QString &folder)
{
    if (!removeFolderTree(ctx, folder, [&ctx] { ctx.progress.repaintBar(); }))
        return false;
    return QDir().mkdir(folder);
}

} // namespace transfer
