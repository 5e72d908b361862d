#pragma once

#include <functional>
#include <QChar>
#include <QFileInfo>
#include <QHash>
#include <QString>
#include <QVector>

#include "optimise/eventpump.h"
#include "optimise/libraryscanstate.h"
#include "optimise/playlists.h"
#include "optimise/songtitle.h"
#include "optimise/splitjournal.h"
#include "optimise/splitstate.h"
#include "core/operationcontext.h"

// Splits every folder the scan found oversized into group subfolders by the first letter of the
// song titles ("a".."z", "0-9"), at most 1000 files a group. Songs take their companions along
// and the playlists follow every move and every renamed group.
//
// Songs go in batches: the batch's moves are planned from counts kept in memory, written to the
// journal, made one by one (events processed, Stop honoured between songs), and then every
// playlist is rewritten once for the whole batch and the batch is marked done. A group rename
// reaches the playlists before the next song moves. A dry run plans and reports the same moves,
// group folders and playlist rewrites, and changes nothing.
class FolderSplit {
public:
    FolderSplit(OperationContext &ctx, const LibraryScanState &scan, SongTitleReader &titles, SplitState &state);

    // Run after the last folder, before the closing boxes (the window's defragmentation).
    std::function<void()> defragment;
    // Called after each song that moved, with the number moved so far in this run.
    std::function<void(int)> afterSongMoved;

    // A batch holds at least this many songs, and at least a quarter of the playlists' lines,
    // so that rewriting the playlists once per batch costs no more than a few times the songs.
    static constexpr int batchSize = 500;
    static constexpr int eventIntervalMs = 50;

    // False when stopped, when a song could not be moved, or when the journal or a playlist
    // could not be written.
    bool splitFoldersByTitle();
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

    // Completes the playlist rewrite of a split (or of the scan's renames) that a crash or a
    // power cut interrupted on this drive, removes the copies of playlists the interrupted
    // rewrite left, and says so once. False when an unfinished journal could not be read or
    // completed: nothing more may move then, and a box has said why.
    // dryRunTexts: the run's dry-run playlists (see playlists::PendingUpdates).
    static bool resumeUnfinished(OperationContext &ctx, const QString &deviceRoot,
                                 QHash<QString, QByteArray> *dryRunTexts = nullptr);

private:
    struct Move {
        QString song;              // file name, as a real run names it
        QString realPath;          // where the file is on the disk
        QStringList companions;    // their names in the folder
        QString group;
        QString titleName;         // what the group's range of titles knows it by
    };
    enum class Choice { Group, Retire, None };

    bool splitFolder(const QFileInfo &folder);   // false when stopped or failed
    // Plans one song: its group, or the full group that must be retired first.
    Choice planSong(const QFileInfo &song, Move *move);
    Choice chooseGroup(QChar family, QString *group);
    // Journals and makes the moves of a batch; false when the journal cannot be written or the
    // player went away.
    bool moveBatch(const QVector<Move> &batch);
    // The playlists follow what moved, and the journal marks it; false when either failed.
    bool finishBatch();
    void openGroup(const QString &name, bool make);
    bool exists(const QString &name) const;
    QString groupPath(const QString &group) const;
    QString folderPath() const;
    QString freeName(const QString &name) const;
    QString realPathOf(const QString &path) const { return scan.realPath(path); }
    bool flushPlaylists();
    void resetFolder();

    OperationContext &ctx;
    const LibraryScanState &scan;
    SongTitleReader &titles;
    SplitState &state;
    QHash<QString, QString> namesByLowerCase;   // F's files, to find companions whatever their case
    QHash<QString, QString> shortNames;          // dry run: a file's path on the disk -> a real run's name
    playlists::PendingUpdates pendingPlaylists;
    SplitJournal journal;
    EventPump pump{eventIntervalMs};
    int songsMoved = 0;
    int songsNotMoved = 0;
    int groupsMade = 0;    // group folders made (or, in a dry run, that would be)
    int batchLimit = batchSize;
    bool failed = false;
};
