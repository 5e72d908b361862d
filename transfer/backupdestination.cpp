#include "transfer/backupdestination.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include "device/entries.h"
#include "transfer/backupmanifest.h"
#include "transfer/folderremoval.h"
#include "core/operationcontext.h"

namespace transfer {

namespace {

bool isMountPoint(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    const QStorageInfo volume(canonical);
    return volume.isValid() && QFileInfo(volume.rootPath()).canonicalFilePath() == canonical;
}

} // namespace

DestinationProblem destinationProblem(const QString &folder, const QString &deviceRoot)
{
    // The forms compared include the folder with its links resolved: a link to the player, or
    // a folder reached through one, counts as the player.
    if (!deviceRoot.isEmpty() && entries::sameOrAbove(deviceRoot, folder))
        return DestinationProblem::OnPlayer;
    if (!deviceRoot.isEmpty() && entries::sameOrAbove(folder, deviceRoot))
        return DestinationProblem::HoldsPlayer;
    if (isProtectedFolder(folder, QString()))
        return DestinationProblem::SystemFolder;
    if (isMountPoint(folder))
        return DestinationProblem::MountPoint;
    return DestinationProblem::None;
}

void refuseDestination(OperationContext &ctx, DestinationProblem problem)
{
    QString text;
    switch (problem) {
    case DestinationProblem::None:
        return;
    case DestinationProblem::OnPlayer:
        text = ctx.translate("backupdestination", "The chosen folder is on the Corvel3 (or leads there through a link).\n"
                                                  "The backup must be saved on the PC: choose another folder.");
        break;
    case DestinationProblem::HoldsPlayer:
        text = ctx.translate("backupdestination", "The chosen folder holds the Corvel3.\nChoose another folder.");
        break;
    case DestinationProblem::MountPoint:
        text = ctx.translate("backupdestination", "The chosen folder is the root of a drive.\nCreate or choose a folder inside it.");
        break;
    case DestinationProblem::SystemFolder:
        text = ctx.translate("backupdestination", "The chosen folder is the system's root, your home folder or a folder above it.\n"
                                                  "Create or choose a folder inside it.");
        break;
    }
    MessageBoxRequest box;
    box.kind = QuestionKind::Error;
    box.title = ctx.translate("backupdestination", "Unsuitable folder");
    box.text = text;
    box.icon = BoxIcon::Warning;
    box.buttons = {{BoxRole::Ok, QStringLiteral("Ok")}};
    box.parent = ctx.window;
    ctx.dialogs.showMessage(box);
}

QString createDatedFolder(const QString &folder, const QDateTime &when)
{
    const QString base = QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) + QStringLiteral("/Corvel3 backup ")
        + when.toString(QStringLiteral("yyyy-MM-dd HHmm"));
    // mkdir fails on a folder that exists, so an older backup is never written into.
    for (int n = 1; n < 1000; ++n) {
        const QString path = n == 1 ? base : base + QStringLiteral(" (%1)").arg(n);
        if (QFileInfo::exists(path))
            continue;
        if (QDir().mkdir(path))
            return path;
        if (!QFileInfo::exists(path))
            return QString();   // the parent is missing or refuses
    }
    return QString();
}

QString backupToRestore(const QString &folder, int *backupsInside)
{
    if (backupsInside)
        *backupsInside = 0;
    const QString manifestName = QLatin1String(backupmanifest::kFileName);
    if (QFileInfo::exists(folder + QLatin1Char('/') + manifestName))
        return folder;
    QString best;
    QDateTime bestTime;
    bool bestComplete = false;
    const QFileInfoList inside = QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &candidate : inside) {
        const QFileInfo manifest(candidate.absoluteFilePath() + QLatin1Char('/') + manifestName);
        if (!manifest.isFile())
            continue;
        if (backupsInside)
            ++*backupsInside;
        const bool complete = backupmanifest::isComplete(candidate.absoluteFilePath());
        const QDateTime time = manifest.lastModified();
        if (best.isEmpty() || (complete && !bestComplete) || (complete == bestComplete && time > bestTime)) {
            best = candidate.absoluteFilePath();
            bestTime = time;
            bestComplete = complete;
        }
    }
    return best.isEmpty() ? folder : best;
}

} // namespace transfer
