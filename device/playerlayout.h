#pragma once

#include <QString>
#include <QStringList>

// The one description of the player's disk: its system files, its own entries at the root, the
// playlist folder, the update folder and the attribute batch. Everything that must tell the
// player's entries from the user's asks here. Names are matched without regard to case, and only
// entries at the root are the player's: a user's folder named "System" or "Effects" deeper down
// is the user's.
namespace playerlayout {

extern const char kStartFile[];        // "AUTOEXEC.BAT"
extern const char kSystemFolder[];     // "System"
extern const char kPlaylistFolder[];   // "System/Playlist"
extern const char kUpdateFolder[];     // "CorvelUpdate"
extern const char kAttributeBatch[];   // "MATTRB.BAT", written beside a package, never left on the player
extern const char kDriveLock[];        // ".corvel3-lock": held at the root while a run works on the player

// The three files a working system needs, relative to the drive root.
const QStringList &systemFiles();
// Of those, the ones not found below driveRoot (which ends with "/").
QStringList missingSystemFiles(const QString &driveRoot);

// What a system install replaces at the root: AUTOEXEC.BAT, System, BRIDGES, EFFECTS.
const QStringList &systemEntries();
// The player's own entries at the root: the system entries and the update folder.
const QStringList &ownRootEntries();
bool isOwnRootEntry(const QString &rootEntryName);
// relativePath ("Basi/Rock/x.mid", "System/Playlist/a.pls") lies in or is one of the player's
// own root entries. Playlists count: they live inside System.
bool isOwnPath(const QString &relativePath);
// relativePath lies in the playlist folder.
bool isPlaylistPath(const QString &relativePath);
// A root entry the tool itself leaves while it works: the attribute batch, and hidden working
// folders whose names start with ".corvel3-".
bool isToolEntry(const QString &rootEntryName);

} // namespace playerlayout
