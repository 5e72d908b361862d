#pragma once

#include <functional>
#include <memory>
#include <vector>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include "device/platform.h"

// The manifest a backup writes beside the files it saved: every file's path relative to the
// backup folder ("/" separators), its size and its SHA-256. It is a JSON document:
//   {"format": 1, "created": "<ISO date>", "complete": true,
//    "files": [{"path": "...", "size": N, "sha256": "<hex>"}, ...]}
// A name the PC's encoding cannot show (Latin-1 bytes on a Linux disk) is kept byte for byte in
// "pathBytes" (base64 of the relative path as the system spells it); "path" then holds the name
// as the PC shows it, for people and for readers that know nothing of the field (which find no
// such file and refuse the backup rather than restore it without that song).
// "complete" is false for a backup that Stop, a failed copy or a vanished drive cut short: its
// manifest lists what was saved (readers that do not know the field still check those files).
// named ".corvel3-manifest.json" in the backup folder's top level (hidden, so no listing of the
// library ever copies it back to the player).
namespace backupmanifest {

extern const char kFileName[];

struct Entry {
    QString path;        // relative to the backup folder
    qint64 size = 0;
    QByteArray sha256;   // lower-case hex
    QByteArray pathBytes;   // the relative path as the system spells it, for a name Qt cannot show; else empty
};

struct Check {
    bool found = false;        // a manifest was there and could be read
    QStringList missing;       // listed, but not in the backup
    QStringList changed;       // there, but with another size or content
    bool stopped = false;      // stopFlag turned true before the check ended
    bool ok() const { return found && !stopped && missing.isEmpty() && changed.isEmpty(); }
};

// SHA-256 fed piece by piece.
using Hasher = platform::Sha256;

// SHA-256 of a file in lower-case hex; empty when it cannot be read. Safe on any thread.
QByteArray fileSha256(const QString &path);

// Hashes files on threads of its own while the caller goes on: the backup copies the next file
// while the last one is hashed, the restore's check looks at the next entries. Files are taken in
// the order added; at most a few dozen wait, so add() holds the caller back when the hashing
// falls behind and nothing grows with the length of the list.
class HashQueue {
public:
    explicit HashQueue(int threads = 1);
    ~HashQueue();   // hashes not finished by then are dropped (Stop)
    HashQueue(const HashQueue &) = delete;
    HashQueue &operator=(const HashQueue &) = delete;

    // Queues path; returns its number, the index of its hash in finish()'s list.
    int add(const QString &path);
    // Waits for every queued file; the hashes by number, empty for a file that could not be read.
    std::vector<QByteArray> finish();

private:
    struct Shared;
    std::unique_ptr<Shared> shared;
};

// Writes the manifest of entries into folder, whole (a temporary then a rename). False on failure.
bool write(const QString &folder, const QVector<Entry> &entries, bool complete = true);

// True when folder's manifest says the backup saved everything it meant to (older manifests
// without the field count as complete).
bool isComplete(const QString &folder);

// The manifest of folder; *found false when there is none or it cannot be read.
QVector<Entry> read(const QString &folder, bool *found);

// Checks every listed file of folder against the manifest: size first, then content (hashed on
// every processor the machine has). tick, when given, is called after each file is listed for
// hashing (progress, events) and returns false to stop.
Check verify(const QString &folder, const std::function<bool(int done, int total)> &tick = {});
// The same for some entries of folder's manifest only (a selective restore's part).
Check verify(const QString &folder, const QVector<Entry> &entries, const std::function<bool(int done, int total)> &tick = {});

} // namespace backupmanifest
