#include "update/systemupdate.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "device/entries.h"
#include "core/delay.h"
#include "core/messagetable.h"
#include "update/downloadmanager.h"
#include "update/unpack.h"
#include "update/updateserver.h"

const char kUpdateFolderName[] = "CorvelUpdate";

namespace {
constexpr int kPollMs = 200;
// Anything shorter is an error page or a cut-off answer, never a package.
constexpr qint64 kSmallestPackage = 10000;
} // namespace

QString downloadPackage(OperationContext &ctx, const UpdateFileOps &ops, const QString &address, bool clearFolder)
{
    DownloadManager manager;
    if (clearFolder) {
        const QString path = manager.makeSavePath(QUrl(address, QUrl::TolerantMode));
        if (ops.recreateFolder)
            ops.recreateFolder(QFileInfo(path).absolutePath());
    }
    if (!manager.download(address))
        return QString();

    ProgressView &bar = ctx.progress;
    bar.setValue(0);
    bar.setMaximum(100);
    bar.setMinimum(0);
    int shown = -1;
    while (!manager.downloadDone) {
        const int percent = manager.downloadPercent;
        if (percent != shown)
            bar.setValue(percent);
        if (ctx.state.stopRequested)
            break;
        delay(kPollMs);
        shown = percent;
    }
    bar.setValue(100);

    const QString saved = manager.savePath;
    delay(kPollMs);
    const QFileInfo info(saved);
    if (info.exists() && info.size() >= kSmallestPackage)
        return saved;
    return QString();
}

QString SystemUpdate::downloadUpdate()
{
    return downloadPackage(ctx, ops, updateServerAddress(QString::fromLatin1(kUpdatePackagePath)), true);
}

void SystemUpdate::downloadError(int code)
{
    const int lang = ctx.state.currentLanguage;
    boxes::critical(ctx.dialogs, ctx.window,
                    messageText(lang, MSG_DOWNLOAD_ERROR_TITLE) + QString::asprintf(", Cod %i", code),
                    messageText(lang, MSG_DOWNLOAD_ERROR_TEXT));
}

bool SystemUpdate::updateSystem(bool showEndMessage)
{
    const int lang = ctx.state.currentLanguage;
    ProgressView &progress = ctx.progress;
    ctx.state.stopRequested = false;
    progress.showBusyWidgets(true);

    progress.setStatus(messageText(lang, MSG_SEARCHING_DEVICE));
    const QString drive = ctx.deviceDrive();
    if (drive.isEmpty()) {
        boxes::information(ctx.dialogs, ctx.window, messageText(lang, MSG_DEVICE_NOT_FOUND_TITLE),
                           messageText(lang, MSG_DEVICE_NOT_FOUND_TEXT));
        return false;
    }
    if (ctx.state.stopRequested)
        return false;

    progress.setStatus(messageText(lang, MSG_DOWNLOADING_RELEASE));
    const QString archive = downloadUpdate();
    if (archive.isEmpty()) {
        // A Stop ends the update silently, even when too little had arrived to keep.
        if (!ctx.state.stopRequested)
            downloadError(1);
        return false;
    }
    if (ctx.state.stopRequested)
        return false;

    if (!unpackPackage(archive, progress)) {
        downloadError(2);
        return false;
    }
    if (ctx.state.stopRequested)
        return false;

    const QString packageFolder = QFileInfo(archive).absolutePath();
    progress.setStatus(messageText(lang, MSG_COPYING_UPDATE_FILES));
    if (!copyUpdateFiles(packageFolder, drive)) {
        downloadError(3);
        // Neither a half-copied update on the device nor the unpacked package stays behind.
        if (ops.removeFolderTree) {
            ops.removeFolderTree(packageFolder);
            ops.removeFolderTree(drive + QDir::separator() + QLatin1String(kUpdateFolderName));
        }
        return false;
    }
    if (ctx.state.stopRequested)
        return false;

    progress.setStatus(QString());
    progress.setStatusVisible(false);
    progress.setBarVisible(false);
    if (showEndMessage)
        boxes::information(ctx.dialogs, ctx.window, messageText(lang, MSG_UPDATE_END_TITLE),
                           messageText(lang, MSG_UPDATE_DOWNLOADED_TEXT));
    if (ops.removeFolderTree)
        ops.removeFolderTree(packageFolder);
    return true;
}

bool SystemUpdate::copyUpdateFiles(const QString &packageFolder, const QString &drivePath)
{
    // The device's names are case-insensitive: a stale "corvelupdate" is the same folder.
    const QString stale = entries::resolve(drivePath, QLatin1String(kUpdateFolderName));
    const QString target = drivePath + QLatin1String(kUpdateFolderName);
    if (!ops.removeFolderTree || !ops.removeFolderTree(stale)) {
        const QString word = ctx.pick("ERRORE", "ERROR");
        boxes::information(ctx.dialogs, ctx.window, word, word);
        return false;
    }

    const QString source = entries::resolve(packageFolder, QLatin1String(kUpdateFolderName));
    entries::ListOptions options;
    options.recursive = true;
    options.includeHiddenSystem = true;
    options.files = true;
    // Folders are made by the copy on the way to their files; handing one over as a file to
    // copy would only fail.
    options.folders = false;
    options.nameFilters = QStringList{QStringLiteral("*.*")};
    QStringList files = entries::list(source, options);
    files.sort(Qt::CaseSensitive);
    return ops.copyFileList && ops.copyFileList(files, target, source);
}
