#include "transfer/restoreparts.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

#include "core/operationcontext.h"
#include "transfer/backupdestination.h"
#include "transfer/backupmanifest.h"
#include "transfer/restore.h"

namespace transfer {

QString cleanPart(const QString &given)
{
    QString path = given;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // "C:..." names a place on a drive, not in the backup.
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || (path.size() >= 2 && path.at(1) == QLatin1Char(':')))
        return QString();
    QStringList steps;
    for (const QString &step : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (step == QLatin1String(".."))
            return QString();
        if (step != QLatin1String("."))
            steps << step;
    }
    return steps.join(QLatin1Char('/'));
}

bool inPart(const QString &relative, const QString &part)
{
    if (part.isEmpty() || !relative.startsWith(part, Qt::CaseInsensitive))
        return false;
    return relative.size() == part.size() || relative.at(part.size()) == QLatin1Char('/');
}

bool inParts(const QString &relative, const QStringList &parts)
{
    if (parts.isEmpty())
        return true;
    for (const QString &part : parts)
        if (inPart(relative, part))
            return true;
    return false;
}

QStringList partsMatchingNothing(const QStringList &files, const QStringList &parts)
{
    QStringList unmatched;
    for (const QString &part : parts)
        if (std::none_of(files.cbegin(), files.cend(), [&](const QString &file) { return inPart(file, part); }))
            unmatched << part;
    return unmatched;
}

QStringList backupFiles(OperationContext &ctx, const QString &folder, bool *readable)
{
    const QString backup = QDir::cleanPath(backupToRestore(QDir::cleanPath(folder)));
    *readable = true;
    QStringList files;
    if (QFileInfo::exists(backup + QLatin1Char('/') + QLatin1String(backupmanifest::kFileName))) {
        for (const backupmanifest::Entry &e : backupmanifest::read(backup, readable))
            files << e.path;
        return files;
    }
    bool stopped = false;
    for (const QString &file : restoreList(ctx, backup, &stopped))
        files << file.mid(backup.size() + 1);
    *readable = !stopped;
    return files;
}

} // namespace transfer
