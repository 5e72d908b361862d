#pragma once

#include <QString>
#include <QVector>

// The record of one system swap, kept on the player itself (a hidden file at its drive root) from
// before the first rename until the swap has cleaned up after itself, so that a run cut short by a
// crash or a power cut is finished or undone by the next start. Every path in it is relative to
// the drive root. It is written whole under a temporary name, pushed to the disk, renamed into
// place and the root folder synced: when it is there, it is whole.
struct SwapJournal {
    static const char kName[];       // ".corvel3-swap.journal"
    static const char kWritingName[];   // ".corvel3-swap.journal.new", while it is written

    struct Rename {
        QString from, to;
    };
    struct File {
        QString path;    // where the new entry's file lies once placed
        qint64 size = 0;
    };

    QString aside;                // the folder the old entries go to
    QString staging;              // the folder the new entries come from
    QVector<Rename> renames;      // in the order they are made: the old entries aside, then the new in place
    QVector<File> files;          // every file of the new entries, as checked before the first rename

    // Writes the journal at driveRoot (ending with "/"); false when it is not surely on the disk.
    bool write(const QString &driveRoot) const;
    // Reads the journal at driveRoot; false when there is none or it is not whole.
    bool read(const QString &driveRoot);
    // The rename is made, as the drive shows it now.
    bool done(const QString &driveRoot, int index) const;

    static bool exists(const QString &driveRoot);
    // Removes the journal (and a half-written one) and syncs the root folder: the swap is over.
    static bool remove(const QString &driveRoot);
    static QString path(const QString &driveRoot) { return driveRoot + QLatin1String(kName); }
};
