#include "device/playerlayout.h"

#include <QFileInfo>

#include "device/entries.h"

namespace playerlayout {

const char kStartFile[] = "AUTOEXEC.BAT";
const char kSystemFolder[] = "System";
const char kPlaylistFolder[] = "System/Playlist";
const char kUpdateFolder[] = "CorvelUpdate";
const char kAttributeBatch[] = "MATTRB.BAT";
const char kDriveLock[] = ".corvel3-lock";

namespace {

QString firstComponent(const QString &relativePath)
{
    int start = 0;
    while (start < relativePath.size() && relativePath.at(start) == QLatin1Char('/'))
        ++start;
    const int end = relativePath.indexOf(QLatin1Char('/'), start);
    return relativePath.mid(start, end < 0 ? -1 : end - start);
}

} // namespace

const QStringList &systemFiles()
{
    static const QStringList files{QLatin1String(kStartFile), QStringLiteral("System/Corvel/Corvel.exe"),
                                   QStringLiteral("System/DispProc/DispProc.exe")};
    return files;
}

QStringList missingSystemFiles(const QString &driveRoot)
{
    QStringList missing;
    for (const QString &file : systemFiles())
        if (!QFileInfo(entries::resolve(driveRoot, file)).isFile())
            missing << file;
    return missing;
}

const QStringList &systemEntries()
{
    static const QStringList names{QLatin1String(kStartFile), QLatin1String(kSystemFolder), QStringLiteral("BRIDGES"),
                                   QStringLiteral("EFFECTS")};
    return names;
}

const QStringList &ownRootEntries()
{
    static const QStringList names = systemEntries() + QStringList{QLatin1String(kUpdateFolder)};
    return names;
}

bool isOwnRootEntry(const QString &rootEntryName)
{
    return ownRootEntries().contains(rootEntryName, Qt::CaseInsensitive);
}

bool isOwnPath(const QString &relativePath)
{
    return isOwnRootEntry(firstComponent(relativePath));
}

bool isPlaylistPath(const QString &relativePath)
{
    QString path = relativePath;
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    const QString folder = QLatin1String(kPlaylistFolder) + QLatin1Char('/');
    return path.startsWith(folder, Qt::CaseInsensitive) && path.size() > folder.size();
}

bool isToolEntry(const QString &rootEntryName)
{
    return rootEntryName.compare(QLatin1String(kAttributeBatch), Qt::CaseInsensitive) == 0
           || rootEntryName.startsWith(QStringLiteral(".corvel3-"));
}

} // namespace playerlayout
