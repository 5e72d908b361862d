#pragma once

#include <QFile>
#include <QString>
#include <QVector>

#include "optimise/playlists.h"

// The split's journal in the user's data folder: the moves and group renames of each batch are
// written before they are made, and the batch is marked once the playlists follow them. After a
// crash, a later run on the same drive finds the unmarked entries and brings the playlists in
// line with what really moved.
class SplitJournal {
public:
    // One file per drive root.
    static QString pathFor(const QString &deviceRoot);

    // Starts a new journal for deviceRoot; false when it cannot be written.
    bool start(const QString &deviceRoot);
    // Appends planned entries (absolute paths) and makes them durable before anything moves.
    bool plan(const QVector<playlists::LineRule> &entries);
    bool markDone();
    // The split ended cleanly: the journal goes.
    void finish();
    bool isOpen() const { return file.isOpen(); }

    // Of an unfinished journal for deviceRoot, the entries after the last mark that really took
    // place (the old path gone, the new one there), as playlist rules in their order. False when
    // there is no unfinished journal.
    static bool unfinished(const QString &deviceRoot, QVector<playlists::LineRule> *rules);
    static void discard(const QString &deviceRoot);

private:
    QFile file;
};
