#include "update/systemupdate.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QUrl>

#include "device/entries.h"
#include "core/delay.h"
#include "core/messagetable.h"
#include "device/platform.h"
#include "device/playerlayout.h"
#include "transfer/folderremoval.h"
#include "update/downloadmanager.h"
#include "update/runfolder.h"
#include "update/stagedinstall.h"
#include "update/unpack.h"
#include "update/updateserver.h"

namespace {
constexpr int kPollMs = 200;
// A server that sends nothing for this long (a link that went dead, a proxy holding the
// connection) has failed: the wait must end without Stop too.
constexpr qint64 kStalledMs = 60000;
// Anything shorter is an error page or a cut-off answer, never a package.
constexpr qint64 kSmallestPackage = 10000;
} // namespace

QString downloadPackage(OperationContext &ctx, const QString &address, const QString &folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    DownloadManager manager(folder);
    if (!manager.download(address))
        return QString();

    ProgressView &bar = ctx.progress;
    bar.setValue(0);
    bar.setMaximum(100);
    bar.setMinimum(0);
    int shown = -1;
    qint64 lastReceived = -1;
    QElapsedTimer sinceBytes;
    sinceBytes.start();
    while (!manager.downloadDone) {
        const int percent = manager.downloadPercent;
        if (percent != shown)
            bar.setValue(percent);
        if (manager.received != lastReceived) {
            lastReceived = manager.received;
            sinceBytes.restart();
        }
        if (ctx.state.stopRequested || sinceBytes.elapsed() >= kStalledMs)
            break;
        delay(kPollMs);
        shown = percent;
    }
    bar.setValue(100);

    const QString saved = manager.savePath;
    if (!manager.downloadDone || !manager.downloadOk)
        return QString();
    delay(kPollMs);
    const QFileInfo info(saved);
    if (info.exists() && info.size() >= kSmallestPackage)
        return saved;
    return QString();
}

QString SystemUpdate::downloadUpdate(const QString &folder)
{
    return downloadPackage(ctx, updateServerAddress(QString::fromLatin1(kUpdatePackagePath)), folder);
}

void SystemUpdate::downloadError(int code)
{
    const int lang = ctx.state.currentLanguage;
    boxes::critical(ctx.dialogs, ctx.window,
                    messageText(lang, MSG_DOWNLOAD_ERROR_TITLE) + QString::asprintf(", Cod %i", code),
                    messageText(lang, MSG_DOWNLOAD_ERROR_TEXT));
}

Outcome SystemUpdate::run()
{
    const int lang = ctx.state.currentLanguage;
    ProgressView &progress = ctx.progress;
    const QString drive = ctx.driveRoot;
    const auto stopped = [] { return Outcome::of(Outcome::Status::Stopped); };
    if (ctx.state.stopRequested)
        return stopped();

    progress.setStatus(messageText(lang, MSG_DOWNLOADING_RELEASE));
    // Removed with everything in it however the update ends.
    const RunFolder work;
    const QString archive = work.isValid() ? downloadUpdate(work.filePath(QStringLiteral("package"))) : QString();
    // A Stop ends the update silently, even when too little had arrived to keep.
    if (ctx.state.stopRequested)
        return stopped();
    if (archive.isEmpty()) {
        downloadError(1);
        return Outcome::failure(true);
    }

    const QString packageFolder = QFileInfo(archive).absolutePath();
    // A package that did not unpack cleanly, or lacks the update folder, is no update.
    if (!unpackPackage(archive, progress) || !isCompleteUpdatePackage(packageFolder)) {
        if (ctx.state.stopRequested)
            return stopped();
        downloadError(2);
        return Outcome::failure(true);
    }
    if (ctx.state.stopRequested)
        return stopped();

    progress.setStatus(messageText(lang, MSG_COPYING_UPDATE_FILES));
    copyReported = false;
    if (!copyUpdateFiles(packageFolder, drive)) {
        // The device keeps the update folder it had; only the unpacked package goes.
        transfer::removeFolderTree(ctx, packageFolder, {});
        if (ctx.state.stopRequested)
            return stopped();
        if (!QFileInfo(drive).isDir())
            return Outcome::of(Outcome::Status::PlayerNotFound);
        if (!copyReported)
            downloadError(3);
        return Outcome::failure(true);
    }

    progress.setStatus(QString());
    progress.setStatusVisible(false);
    progress.setBarVisible(false);
    transfer::removeFolderTree(ctx, packageFolder, {});
    return Outcome::done();
}

bool SystemUpdate::copyUpdateFiles(const QString &packageFolder, const QString &drivePath)
{
    StagedInstall install(ctx, drivePath);
    install.isComplete = isCompleteUpdatePackage;
    install.atStep = atSwapStep;
    const QString name = QLatin1String(playerlayout::kUpdateFolder);
    if (!install.stage(packageFolder, {name}, false)) {
        copyReported = install.reported;
        return false;
    }
    // A Stop before the swap leaves the device as it was; after it, the update is whole.
    if (ctx.state.stopRequested || !install.swap({name}))
        return false;
    // The end box tells the user to switch the player off: everything must be on its disk.
    return platform::flushToDevice(install.installedFiles(), drivePath);
}
