#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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
// that every "/" becomes "\".
QByteArray rewriteText(const QByteArray &text, const LineRule &rule);

// Rewrites one playlist file through a temporary file beside it ("Rock_(1).pls" for "Rock.pls"),
// which replaces the original only once it has been written whole. A playlist that cannot be
// read or holds nothing is left untouched, and so is one whose text does not change.
void rewriteFile(const QString &playlistPath, const LineRule &rule);

// The two rewrites of the split. Paths are absolute; deviceRoot ends with "/". Nothing is done
// for paths that do not lie below deviceRoot.
void updateForSong(const QString &deviceRoot, const QString &oldSongPath, const QString &newSongPath);
void updateForFolder(const QString &deviceRoot, const QString &oldFolderPath, const QString &newFolderPath);

} // namespace playlists
