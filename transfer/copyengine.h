#pragma once

#include <functional>

#include <QString>
#include <QStringList>
#include <QVector>

#include "transfer/backupmanifest.h"

struct OperationContext;

namespace transfer {

// Copies files into destinationRoot, each keeping its path relative to sourceRoot (only the
// length of sourceRoot is used: that many characters are cut from each source path). Creates the
// folders a destination needs, asks before replacing a file and after a failed copy, advances
// the bar by one per file and processes pending events after each file. True when the run got
// to the end and its last file was copied or skipped by choice; false when it ended early
// (folder not created, "No" after a failed copy, Stop) or the last file's copy failed.
bool copyFileList(OperationContext &ctx, const QStringList &files, const QString &destinationRoot,
                  const QString &sourceRoot);

// What a run did, for callers that must know more than the fate of its last file.
struct CopyReport {
    bool result = true;     // copyFileList's result
    int failed = 0;         // copies that failed, the run going on or not
    int done = 0;           // files copied or, by the user's choice, kept as they were
    bool endedEarly = false;   // a folder box, "No" after a failed copy, or Stop
    bool stopped = false;
    QVector<backupmanifest::Entry> copied;   // with hashing: each file copied, path below destinationRoot
};

// copyFileList, telling what happened. With hash, each file is hashed (SHA-256): one of up to
// 32 KiB on its way, a longer one from its copy (still in the system's cache) on other threads
// while the next files are copied; a copy that cannot be read back counts as failed and is left
// out of copied. Pending events are processed about every 50 ms and the bar follows at the same
// pace. A long file is watched between its pieces: Stop ends it, not copied, and the run with it;
// and once it has taken 50 ms the bar's format adds its MB copied to the count of files
// ("%v  (45 / 200 MB)"), at the same pace, until it ends. A failed copy whose source or destination
// folder has gone (a drive unplugged) ends the run with the folder box, as a folder that cannot
// be created does.
//
// Every file goes below destinationRoot as it is when the run starts: a destination folder that a
// link takes elsewhere is refused (that file fails), and a root that has gone or now lies on
// another volume (a drive unplugged, its mount point left behind) ends the run with the folder
// box: no folder of the root is ever made again. Into a folder the run made itself, a backup
// (hash) writes each file under its own name; every other copy writes a temporary file and
// renames it, so a file on the destination is whole or absent whatever happens.
// existing, when given, judges a file already at a destination before anyone is asked.
enum class Existing { Ask, Replace, Keep };
CopyReport copyFiles(OperationContext &ctx, const QStringList &files, const QString &destinationRoot,
                     const QString &sourceRoot, bool hash = false,
                     const std::function<Existing(const QString &source, const QString &destination)> &existing = {});

// What watches a long copy: a file goes in pieces of about a twentieth of a second each (at most
// a few MiB), and between two pieces bytes hears how far it got and stop may end it.
struct CopyWatch {
    std::function<bool()> stop;                             // true: end the copy, the file not copied
    std::function<void(qint64 done, qint64 size)> bytes;    // bytes copied so far, of the source's size
};

// Copies one file whole or not at all: the content goes to a hidden temporary file beside the
// destination and is renamed over it only once complete, so a failed or stopped copy leaves a
// file it was meant to replace untouched and leaves no partial file behind. Keeps the
// modification time. With bytes, the count of bytes copied is stored there. With sha256, a file
// of up to 32 KiB has the SHA-256 of the bytes copied stored there; for a longer one it is left
// empty. nothingToReplace (a folder this run made): the file is written under its own name,
// which must not exist yet, and removed again if the copy fails or is stopped.
bool copyWholeFile(const QString &source, const QString &destination, qint64 *bytes = nullptr,
                   bool nothingToReplace = false, QByteArray *sha256 = nullptr, const CopyWatch *watch = nullptr);

// Creates the folders that destination needs, cutting it at every "/" and at every backslash
// followed by a blank. False when one could not be created. lastFolder, when given, carries the
// folder verified by the previous call, so a run of files in one folder checks it once.
bool createFoldersFor(const QString &destination, QString *lastFolder = nullptr);

} // namespace transfer
