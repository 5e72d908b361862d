#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QVector>

#include "optimise/libraryscanstate.h"
#include "core/operationcontext.h"
#include "optimise/eventpump.h"
#include "optimise/playlists.h"
#include "optimise/splitjournal.h"

// How the scan sorts one file, by its name alone.
enum class FileKind { Song, Image, Kept, Unsupported };

namespace scanrules {

constexpr int kLongBaseName = 190;      // complete base names longer than this are shortened...
constexpr int kShortBaseName = 170;     // ...to this many characters
constexpr int kOversizedFolder = 1000;  // a folder holding more songs than this directly is split
constexpr int kEventIntervalMs = 50;    // pending events are processed at most this often

// The player's "ends with": the last occurrence of extension in name, ignoring case, starts at
// len(name) - len(extension). A name that does not contain the extension at all never ends with it.
bool endsWithExtension(const QString &name, const QString &extension);
bool endsWithAny(const QString &name, const QStringList &extensions);
// The player's own log files start with "v-orladev" and hold it nowhere else.
bool isPlayerLogName(const QString &name);

// The player's own entries at the drive root: "AUTOEXEC.BAT", "System", "CorvelUpdate",
// "BRIDGES", "EFFECTS", any case. The optimiser never touches them or anything inside them,
// whatever their attributes say (an update leaves "CorvelUpdate" unmarked).
bool isPlayerOwnName(const QString &rootEntryName);
bool isInsidePlayerOwnEntry(const QString &deviceRoot, const QString &path);

// Classification steps 2 to 4 for a file name (the long-name step is the scanner's).
FileKind classify(const QString &name, const LibraryScanState &state);

void fillExtensionLists(LibraryScanState &state);

// Files directly in folder, in listing order: plain files only, hidden and system entries left
// out, and at the drive root (isRoot) the player's own entries too.
QFileInfoList listFiles(const QString &folder, bool isRoot = false);

} // namespace scanrules

// Walks the device once and fills the scan state: the root files first, then every folder below
// the root. Touches nothing on the drive except file names that are too long, whose playlist
// lines follow them (journalled as the split's moves are, so that a crash loses no line); in a
// dry run it only reports those renames. Events are processed between files and folders, never
// waited for.
class LibraryScanner {
public:
    LibraryScanner(OperationContext &ctx, LibraryScanState &state) : ctx(ctx), state(state) {}

    // False when the playlists could not follow every renamed song: the journal stays on the
    // player for the next run, and nothing more should move in this one.
    bool scanLibrary();
    void scanRootFolder();
    // Gives the file at index of the listing in hand a shorter name; returns its new absolute path.
    QString shortenLongName(int index);

private:
    // Step 1 of the classification: the file at index under its (possibly new) name.
    QFileInfo withShortName(int index);
    void classifyFile(const QFileInfo &file, bool imagesStay);
    // End of one folder's classification: oversized or not, then the count starts again.
    void closeFolder(const QString &folderPath);
    // Rewrites the playlists for the songs given shorter names so far.
    void followRenamedSongs();
    // Pre-order walk of folders and everything below them; false once Stop ended it.
    bool walkFolders(const QFileInfoList &folders);
    // Classifies the files of one folder of the walk and returns its sub-folders to enter.
    QFileInfoList scanFolder(const QString &folder);

    OperationContext &ctx;
    LibraryScanState &state;
    QString imagesFolder;   // the root "Images" folder, whatever its case on the drive
    EventPump pump{scanrules::kEventIntervalMs};
    QVector<playlists::LineRule> renamedSongs;
    SplitJournal journal;
    bool playlistsFailed = false;
};
