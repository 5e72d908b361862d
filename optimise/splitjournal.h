#pragma once

#include <QFile>
#include <QString>
#include <QVector>

#include "optimise/playlists.h"

// The journal of the optimiser's moves and renames, on the player itself: a hidden file at the
// drive root, so that whichever PC or user account optimises the player next completes it. The
// moves and group renames of each batch are written, and pushed to the disk, before they are
// made; the batch is marked once the playlists follow them. After a crash or a power cut, a
// later run finds the unmarked entries and brings the playlists in line with what really moved.
// Paths are kept below the drive root, as the player may be mounted elsewhere next time.
class SplitJournal {
public:
    // The journal of the player at deviceRoot.
    static QString pathFor(const QString &deviceRoot);
    // Where earlier versions kept it: the user's data folder, one file per drive root.
    static QString legacyPathFor(const QString &deviceRoot);

    // Starts a new journal for deviceRoot, its entry in the root folder on the disk; false when
    // it cannot be written. Only once every earlier journal of the drive has been completed.
    bool start(const QString &deviceRoot);
    // Appends planned entries (absolute paths below the root) and makes them durable before
    // anything moves; false when they are not on the disk.
    bool plan(const QVector<playlists::LineRule> &entries);
    bool markDone();
    // The work ended with every batch marked: the journal goes. Otherwise it stays for the next run.
    void finish();
    bool isOpen() const { return file.isOpen(); }

    enum class Unfinished { None, Entries, Unreadable };
    // Of the unfinished journals of deviceRoot (an earlier version's first, then the player's),
    // the entries after the last mark that really took place (the old path gone, the new one
    // there, once the later renames are followed), as playlist rules below the root in their
    // order. Unreadable: a journal is there but could not be read; nothing may move then.
    static Unfinished unfinished(const QString &deviceRoot, QVector<playlists::LineRule> *rules);
    static void discard(const QString &deviceRoot);

private:
    QFile file;
    QString root;
    bool unmarked = false;
};
