#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// The player's playlists: text files "*.pls" in System/Playlist, UTF-8, one song a line:
// "\sdmemory\" + path below the disk root with "\" separators + "^"-separated fields + CR LF.
// When the split moves a song or renames a group folder, every line naming the old place is
// rewritten to name the new one.
namespace playlists {

// One rewrite: what a line must contain to be rewritten, and how.
struct LineRule {
    enum Kind { Song, Folder };
    Kind kind = Song;
    QString oldRelative;   // below the disk root, "/" separators, no leading "/"
    QString newRelative;
};

// The path below deviceRoot ("/" separators, no leading "/"), or a null string when path does
// not lie below deviceRoot. The root may be a drive ("E:/") or a mount point ("/media/x/CORVEL3/").
QString relativeToRoot(const QString &deviceRoot, const QString &path);

// Every "*.pls" (any case) directly in deviceRoot + "System/Playlist", the folder names resolved
// without regard to case; hidden and system files left out. Listing order.
QStringList playlistFiles(const QString &deviceRoot);

// The rewritten text of one playlist. Lines that the rule does not match keep their bytes, except
// that every "/" becomes "\". Several rules are applied to each line in their order, each to the
// line as the earlier ones left it: the same text as one rewrite per rule, in one pass.
QByteArray rewriteText(const QByteArray &text, const LineRule &rule);
QByteArray rewriteText(const QByteArray &text, const QVector<LineRule> &rules);

// Rewrites one playlist file through a temporary file beside it ("Rock_(1).pls" for "Rock.pls"),
// which replaces the original only once it has been written whole. A playlist that cannot be
// read or holds nothing is left untouched, and so is one whose text does not change.
void rewriteFile(const QString &playlistPath, const QVector<LineRule> &rules);

// Moves and renames waiting to be written into the playlists. Writing a batch rewrites each
// playlist once instead of once per song, which spares the player's disk thousands of writes; the
// playlists come out the same as with one rewrite per move.
class PendingUpdates {
public:
    explicit PendingUpdates(const QString &deviceRoot) : root(deviceRoot) {}
    ~PendingUpdates() { flush(); }
    PendingUpdates(const PendingUpdates &) = delete;
    PendingUpdates &operator=(const PendingUpdates &) = delete;

    // Paths are absolute; nothing is queued for paths that do not lie below the device root.
    void addSong(const QString &oldSongPath, const QString &newSongPath);
    void addFolder(const QString &oldFolderPath, const QString &newFolderPath);
    int size() const { return rules.size(); }
    // Rewrites every playlist with every rule queued, in order, and empties the queue.
    void flush();

private:
    QString root;
    QVector<LineRule> rules;
};

// The two rewrites of the split, written at once. Paths are absolute; deviceRoot ends with "/". Nothing is done
// for paths that do not lie below deviceRoot.
void updateForSong(const QString &deviceRoot, const QString &oldSongPath, const QString &newSongPath);
void updateForFolder(const QString &deviceRoot, const QString &oldFolderPath, const QString &newFolderPath);

} // namespace playlists
