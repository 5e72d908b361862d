#pragma once

#include <functional>
#include <QChar>
#include <QFileInfo>
#include <QString>

#include "optimise/libraryscanstate.h"
#include "optimise/playlists.h"
#include "optimise/songtitle.h"
#include "optimise/splitstate.h"
#include "core/operationcontext.h"

// Splits every folder the scan found oversized into group subfolders by the first letter of the
// song titles ("a".."z", "0-9"), at most 1000 files a group. Songs take their companions along
// and the playlists follow every move and every renamed group. Runs without processing events.
class FolderSplit {
public:
    FolderSplit(OperationContext &ctx, const LibraryScanState &scan, SongTitleReader &titles, SplitState &state);

    // Run after the last folder, before the closing boxes (the window's defragmentation).
    std::function<void()> defragment;

    void splitFoldersByTitle();
    // Gives the full letter group state.fullGroup the range of titles it holds as its name and
    // appends its successor, named after the current song's title, to the groups.
    void retireFullGroup();
    // Appends the next "0-9 (n)" group.
    void addDigitsGroup();

    // 'a'..'z' for a key starting with a letter (accented and other Latin letters under their
    // base letter), '#' for everything filed under "0-9".
    static QChar familyOf(QChar first);
    // A title made fit to be part of a folder name on the player's FAT disk and on every PC.
    static QString safeTitle(const QString &title);

private:
    bool splitFolder(const QFileInfo &folder);   // false when Stop was seen
    void fileSong(const QFileInfo &song);
    QString chooseGroup(QChar family);
    QString groupPath(const QString &group) const;
    QString folderPath() const;
    QString freeName(const QString &name) const;
    void resetFolder();

    OperationContext &ctx;
    const LibraryScanState &scan;
    SongTitleReader &titles;
    SplitState &state;
    QHash<QString, QString> namesByLowerCase;   // F's files, to find companions whatever their case
    // Playlist lines follow the moves in batches of this many songs, and at the end of every
    // folder, at Stop and before the defragmentation.
    static constexpr int playlistBatch = 100;
    playlists::PendingUpdates pendingPlaylists;
};
