#pragma once

#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// What one library scan collected. Owned once, by the operations window; emptied at the start of
// every optimisation run (the extension lists excepted) and read by the later steps.
struct LibraryScanState {
    QString libraryDevicePath;        // the drive root at the start of the scan, ending with "/"
    QStringList songExtensions;       // ".mp3", ".midi", ".mid", ".mf3", ".mf4", ".mf5", ".kar"
    QStringList imageExtensions;      // ".jpg", ".jpeg", ".png", ".bmp", ".tiff"
    QStringList keptExtensions;       // ".txt", ".cdg", ".dat", ".bak"
    QList<QFileInfo> librarySongs;
    QList<QFileInfo> imagesToMove;
    QList<QFileInfo> unsupportedFiles;
    QList<QFileInfo> oversizedFolders;
    QString oversizedFoldersText;
    int folderSongCount = 0;
    QFileInfoList folderListing;      // the folder listing being classified
    QString currentFolderPath;
    QString currentFileName;
    // Dry run: the name a shortened file would get -> its name on disk, so that later steps read
    // the file where it is and report it under the name a real run would give it.
    QHash<QString, QString> realPaths;

    // Dry run: the playlists as the steps so far would have rewritten them.
    mutable QHash<QString, QByteArray> dryRunPlaylists;

    QString realPath(const QString &path) const { return realPaths.value(path, path); }

    // Empties everything the run starts afresh with; the extension lists stay.
    void clearForRun()
    {
        oversizedFolders.clear();
        librarySongs.clear();
        imagesToMove.clear();
        unsupportedFiles.clear();
        folderListing.clear();
        oversizedFoldersText.clear();
        libraryDevicePath.clear();
        currentFolderPath.clear();
        currentFileName.clear();
        folderSongCount = 0;
        realPaths.clear();
        dryRunPlaylists.clear();
    }
};
