#include "transfer/backupset.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QVariantMap>

#include "core/dialogs.h"
#include "core/operationcontext.h"
#include "device/platform.h"
#include "transfer/backupmanifest.h"
#include "transfer/folderremoval.h"

namespace transfer {

namespace {

QString manifestOf(const QString &folder)
{
    return folder + QLatin1Char('/') + QLatin1String(backupmanifest::kFileName);
}

// Fills in what the manifest of info.folder says; false when it has none that can be read.
// Without entries, only its header (complete, created).
bool readBackup(BackupInfo &info, bool look, bool entriesToo = true)
{
    const QString manifest = manifestOf(info.folder);
    QFile in(manifest);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    info.link = platform::isLink(info.folder);
    // The header as this tool writes it, read from the file's start: a base is chosen among many
    // backups without parsing every file list.
    static const QRegularExpression written(
        QStringLiteral("^\\{\\s*\"format\": 1,\\s*\"created\": \"([^\"]*)\",\\s*\"complete\": (true|false),\\s*\"files\""));
    const QRegularExpressionMatch head = entriesToo ? QRegularExpressionMatch()
                                                    : written.match(QString::fromUtf8(in.peek(512)));
    if (head.hasMatch()) {
        info.created = QDateTime::fromString(head.captured(1), Qt::ISODate);
        info.complete = head.captured(2) == QLatin1String("true");
        return info.created.isValid();
    }
    const QJsonObject header = QJsonDocument::fromJson(in.readAll()).object();
    bool found = !entriesToo && header.value(QStringLiteral("format")).toInt() == 1;
    const QVector<backupmanifest::Entry> entries = entriesToo ? backupmanifest::read(info.folder, &found)
                                                              : QVector<backupmanifest::Entry>();
    if (!found)
        return false;
    info.complete = header.value(QStringLiteral("complete")).toBool(true);
    info.created = QDateTime::fromString(header.value(QStringLiteral("created")).toString(), Qt::ISODate);
    if (!info.created.isValid())
        info.created = QFileInfo(manifest).lastModified();
    info.songs = entries.size();
    info.verified = look;
    for (const backupmanifest::Entry &e : entries) {
        info.size += e.size;
        if (!look || !e.pathBytes.isEmpty())
            continue;
        const QString path = info.folder + QLatin1Char('/') + e.path;
        const QFileInfo file(path);
        if (!file.isFile() || file.size() != e.size) {
            info.verified = false;
            continue;
        }
        (platform::linkCount(path) > 1 ? info.bytesLinked : info.bytesNew) += e.size;
    }
    return true;
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / 1e6, 'f', 1) + QStringLiteral(" MB");
}

// The backup the operations take when folder holds several: folder itself when it has a
// manifest, else the newest complete one inside (else the newest).
bool chosenBackup(const QString &folder, BackupInfo *backup)
{
    const QVector<BackupInfo> all = listBackups(folder, false);
    for (const BackupInfo &b : all)
        if (b.complete) {
            *backup = b;
            return true;
        }
    if (all.isEmpty())
        return false;
    *backup = all.first();
    return true;
}

void refuseNoBackup(OperationContext &ctx, const QString &folder)
{
    boxes::information(ctx.dialogs, ctx.window, ctx.translate("backupset", "Backups"),
                       ctx.translate("backupset", "The folder holds no backups:")
                           + QLatin1Char('\n') + QDir::toNativeSeparators(folder),
                       QStringLiteral("backups.none"));
}

} // namespace

namespace {

QVector<BackupInfo> backupsIn(const QString &folder, bool look, bool entriesToo)
{
    QVector<BackupInfo> found;
    const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    BackupInfo self;
    self.folder = root;
    if (QFileInfo::exists(manifestOf(root))) {
        if (readBackup(self, look, entriesToo))
            found << self;
        return found;
    }
    const QFileInfoList inside = QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo &candidate : inside) {
        BackupInfo info;
        info.folder = candidate.absoluteFilePath();
        if (QFileInfo(manifestOf(info.folder)).isFile() && readBackup(info, look, entriesToo))
            found << info;
    }
    // Made in the same second, the later one has the higher "(n)" suffix: a longer name, or the
    // same length and a greater one ("(10)" after "(9)").
    std::stable_sort(found.begin(), found.end(), [](const BackupInfo &a, const BackupInfo &b) {
        if (a.created != b.created)
            return a.created > b.created;
        return a.folder.size() != b.folder.size() ? a.folder.size() > b.folder.size() : a.folder > b.folder;
    });
    return found;
}

} // namespace

QVector<BackupInfo> listBackups(const QString &folder, bool look)
{
    return backupsIn(folder, look, true);
}

QString incrementalBase(const QString &folder)
{
    const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (QFileInfo::exists(manifestOf(root)))
        return QString();   // a backup itself: new backups go beside none of its files
    // Each of its files is looked at again as it is linked: one that vanished or changed since is
    // copied from the player instead.
    for (const BackupInfo &b : backupsIn(root, false, false))
        if (b.complete && !b.link)
            return b.folder;
    return QString();
}

QString describeBackup(const OperationContext &ctx, const BackupInfo &b)
{
    QStringList parts{b.created.toString(QStringLiteral("yyyy-MM-dd HH:mm")), QFileInfo(b.folder).fileName(),
                      ctx.translate("backupset", "%1 songs").arg(b.songs), megabytes(b.size),
                      b.complete ? ctx.translate("backupset", "complete") : ctx.translate("backupset", "incomplete"),
                      b.verified ? ctx.translate("backupset", "all files there")
                                 : ctx.translate("backupset", "files missing")};
    if (b.bytesLinked > 0)
        parts << ctx.translate("backupset", "new %1, shared %2").arg(megabytes(b.bytesNew), megabytes(b.bytesLinked));
    return parts.join(QStringLiteral("  "));
}

Outcome listBackupsOperation(OperationContext &ctx, const QString &folder)
{
    ctx.progress.setStatus(ctx.translate("backupset", "Reading the backups..."));
    const QVector<BackupInfo> backups = listBackups(folder);
    Outcome outcome;
    QVariantList list;
    for (const BackupInfo &b : backups) {
        outcome.report << describeBackup(ctx, b);
        list << QVariantMap{{QStringLiteral("name"), QFileInfo(b.folder).fileName()},
                            {QStringLiteral("path"), b.folder},
                            {QStringLiteral("created"), b.created.toString(Qt::ISODate)},
                            {QStringLiteral("songs"), b.songs},
                            {QStringLiteral("size"), b.size},
                            {QStringLiteral("bytesNew"), b.bytesNew},
                            {QStringLiteral("bytesLinked"), b.bytesLinked},
                            {QStringLiteral("complete"), b.complete},
                            {QStringLiteral("verified"), b.verified},
                            {QStringLiteral("link"), b.link}};
    }
    outcome.total = backups.size();
    outcome.details.insert(QStringLiteral("backups"), list);
    if (backups.isEmpty()) {
        refuseNoBackup(ctx, folder);
        outcome.status = Outcome::Status::Failed;
        outcome.told = true;
    }
    return outcome;
}

Outcome verifyBackups(OperationContext &ctx, const QString &folder, bool readData)
{
    Outcome outcome;
    BackupInfo backup;
    if (!chosenBackup(folder, &backup)) {
        refuseNoBackup(ctx, folder);
        return Outcome::failure(true);
    }
    outcome.folder = backup.folder;
    ctx.progress.setStatus(ctx.translate("backupset", "Checking the backup..."));
    ctx.progress.setFormat(QStringLiteral("%v"));
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    const auto tick = [&](int done, int total) {
        if (sinceEvents.elapsed() >= 50) {
            ctx.progress.setMaximum(total);
            ctx.progress.setValue(done);
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
        return !ctx.state.stopRequested;
    };
    backupmanifest::Check check;
    if (readData) {
        check = backupmanifest::verify(backup.folder, tick);
    } else {
        const QVector<backupmanifest::Entry> entries = backupmanifest::read(backup.folder, &check.found);
        for (int i = 0; i < entries.size() && !check.stopped; ++i) {
            const backupmanifest::Entry &e = entries.at(i);
            qint64 size = -1;
            if (e.pathBytes.isEmpty()) {
                const QFileInfo file(backup.folder + QLatin1Char('/') + e.path);
                size = file.isFile() ? file.size() : -1;
            } else {
                platform::rawFileSha256(QFile::encodeName(backup.folder) + '/' + e.pathBytes, &size);
            }
            if (size < 0)
                check.missing << e.path;
            else if (size != e.size)
                check.changed << e.path;
            check.stopped = !tick(i + 1, entries.size());
        }
    }
    if (check.stopped)
        return Outcome::of(Outcome::Status::Stopped);
    outcome.total = backup.songs;
    if (!check.found) {
        outcome.addNotDone(QLatin1String(backupmanifest::kFileName), ctx.translate("backupset", "unreadable"));
    }
    for (const QString &path : check.missing)
        outcome.addNotDone(QDir::toNativeSeparators(path), ctx.translate("backupset", "missing"));
    for (const QString &path : check.changed)
        outcome.addNotDone(QDir::toNativeSeparators(path), ctx.translate("backupset", "damaged"));
    if (!backup.complete)
        outcome.addNotDone(QFileInfo(backup.folder).fileName(), ctx.translate("backupset", "incomplete backup"));
    backup.verified = check.found && check.missing.isEmpty() && check.changed.isEmpty();
    outcome.report << describeBackup(ctx, backup);
    outcome.report << outcome.notDone;
    if (outcome.ok())
        return outcome;
    QStringList shown = outcome.notDone.mid(0, 10);
    if (outcome.notDone.size() > 10)
        shown << ctx.translate("backupset", "... and %1 more").arg(outcome.notDone.size() - 10);
    boxes::critical(ctx.dialogs, ctx.window, ctx.translate("backupset", "Damaged backup"),
                    ctx.translate("backupset", "Some files of the backup are missing or damaged:") + QLatin1Char('\n')
                        + QDir::toNativeSeparators(backup.folder) + QStringLiteral("\n\n") + shown.join(QLatin1Char('\n')),
                    QStringLiteral("verify.damaged"));
    outcome.told = true;
    return outcome;
}

Outcome pruneBackups(OperationContext &ctx, const QString &folder, int keep)
{
    Outcome outcome;
    const QVector<BackupInfo> backups = listBackups(folder);
    if (backups.isEmpty()) {
        refuseNoBackup(ctx, folder);
        return Outcome::failure(true);
    }
    // Links are left alone and count for nothing: what they lead to is not this folder's.
    QVector<BackupInfo> removed;
    int keptComplete = 0;
    for (const BackupInfo &b : backups) {
        if (b.link)
            continue;
        if (keptComplete >= keep)
            removed << b;
        else if (b.complete)
            ++keptComplete;
    }
    outcome.total = removed.size();
    ctx.progress.setStatus(ctx.translate("backupset", "Removing the older backups..."));
    ctx.progress.setMaximum(removed.size());
    for (int i = 0; i < removed.size(); ++i) {
        if (ctx.state.stopRequested)
            return Outcome::of(Outcome::Status::Stopped);
        const QString path = removed.at(i).folder;
        if (ctx.dryRun) {
            outcome.report << ctx.translate("backupset", "would remove: ") + describeBackup(ctx, removed.at(i));
            ctx.fileAction(QStringLiteral("remove"), path);
            continue;
        }
        outcome.report << ctx.translate("backupset", "removed: ") + describeBackup(ctx, removed.at(i));
        // The manifest first: a removal cut short leaves no backup that looks whole.
        const QString manifest = manifestOf(path);
        bool ok = platform::removeEntry(manifest);
        ctx.fileAction(QStringLiteral("delete"), manifest, QString(), ok);
        ok = ok && removeFolderTree(ctx, path, [&] { ctx.progress.setValue(i); });
        if (!ok && !ctx.state.stopRequested)
            outcome.addNotDone(QDir::toNativeSeparators(path), ctx.translate("backupset", "not removed"));
        ctx.progress.setValue(i + 1);
    }
    if (ctx.state.stopRequested)
        outcome.status = Outcome::Status::Stopped;
    return outcome;
}

} // namespace transfer
