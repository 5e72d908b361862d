#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

#include "device/entries.h"

namespace transfer {

// The listings of backup and restore take only names with a dot, files and folders alike.
inline entries::ListOptions libraryListing()
{
    entries::ListOptions options;
    options.recursive = true;
    options.includeHiddenSystem = false;
    options.nameFilters = QStringList{QStringLiteral("*.*")};
    return options;
}

// Playlists are taken hidden or not.
inline entries::ListOptions playlistListing()
{
    entries::ListOptions options = libraryListing();
    options.includeHiddenSystem = true;
    return options;
}

// The folder as the listings spell their paths (absolute, clean), followed by "/".
inline QString folderWithSeparator(const QString &folder)
{
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

} // namespace transfer
