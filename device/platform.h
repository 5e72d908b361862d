#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QFile;

// Everything that differs between Windows and Linux sits behind this header. One .cpp per
// platform implements it (platform_linux.cpp, platform_windows.cpp); nothing else uses #ifdef.
namespace platform {

struct Volume {
    QString root;    // mount point or drive root, "/" separators, ending with "/"
    QString label;   // as the file system holds it (untrimmed), "" when unreadable
};

// The mounted volumes in the platform's order. When CORVEL3_VOLUMES is set ("label=path" pairs
// separated by ";"), that list replaces the real one.
QList<Volume> volumes();

// The label of the volume mounted at root, trimmed; "" when it cannot be read.
QString volumeLabel(const QString &root);

// Hidden and system attributes of a file or folder. Where the file system keeps DOS attributes
// they are read from it; otherwise from the user.DOSATTRIB extended attribute. Names starting
// with "." are hidden. The player's own system entries (AUTOEXEC.BAT, System, CorvelUpdate) in
// a volume root count as hidden and system wherever no attributes can be read.
struct Attributes {
    bool hidden = false;
    bool system = false;
};
Attributes attributes(const QString &path);
inline bool isHiddenOrSystem(const QString &path)
{
    const Attributes a = attributes(path);
    return a.hidden || a.system;
}
// The attributes of the entries of one folder, the folder's file system looked up once, not for
// every entry (a walk of 50,000 songs asks 50,000 times).
class AttributeReader {
public:
    explicit AttributeReader(const QString &folder);
    Attributes of(const QString &path) const;
    bool hiddenOrSystem(const QString &path) const
    {
        const int slash = path.lastIndexOf(QLatin1Char('/'));
        if (slash + 1 < path.size() && path.at(slash + 1) == QLatin1Char('.'))
            return true;   // hidden by its name: nothing to ask
        const Attributes a = of(path);
        return a.hidden || a.system;
    }

private:
    long fileSystem = 0;            // what the platform needs to know of the folder's file system
    quint64 volume = 0;             // the folder's device, where the platform tells volumes apart
    mutable bool noXattrs = false;  // the file system keeps no extended attributes
};
// Marks path hidden and system (what "ATTRIB +H +S" does). False when nothing could be set.
bool setHiddenSystem(const QString &path);

// The batch line that marks path hidden and system, for the attribute batch file.
// Windows: "ATTRIB +H +S " + path with "\" separators. Linux: our helper, quoted for /bin/sh.
QString hiddenSystemBatchLine(const QString &path);

// How a batch file is run: program and arguments. Windows hands the file itself to the
// system; Linux runs it with /bin/sh.
struct Command {
    QString program;
    QStringList arguments;
};
Command batchCommand(const QString &batchFile);

// The archive unpacker: Windows "unar.exe" in the application folder; Linux "unar" from the
// application folder, else from PATH. CORVEL3_UNPACKER, when set, names the program instead.
// Returns the full path, or a path that does not exist when none is found.
QString unpackerProgram();

// The defragmenter for the volume at root: Windows "cmd.exe defrag <root>"; Linux the native
// tool of the volume's file system (e4defrag, xfs_fsr, btrfs), else our helper that says on its
// output that nothing is done for that file system.
Command defragCommand(const QString &root);

// Copies the rest of source into destination (both open, unbuffered) inside the system, without
// passing the data through the program's memory; with limit, no more than limit bytes, so a long
// copy can be watched between pieces (fewer than limit copied: the source's end was reached).
// 1: done; 0: the system cannot do it for these files and nothing was written (copy them another
// way); -1: the copy failed (a full disk, say). *copied counts the bytes copied.
int copyFileContents(QFile &source, QFile &destination, qint64 *copied, qint64 limit = -1);

// Pushes what was written to an open file out to its disk, so it survives a power cut. False
// when the system says it could not.
bool syncFile(QFile &file);

// Pushes a folder's own entries (the names created, renamed or removed in it) out to its disk, so
// a rename survives a power cut. False when the system could not; a caller that must be sure then
// flushes the files concerned (flushToDevice).
bool syncFolder(const QString &folder);

// Moves a file or folder within one volume, never over an entry already at to, in one step
// where the system allows. False when nothing was moved.
bool moveNoReplace(const QString &from, const QString &to);

// Gives the open file to the modification time of the open file from, through their handles
// (no path looked up, no time zone consulted). False when it could not be set.
bool keepModificationTime(QFile &from, QFile &to);

// Pushes what was written to files (and the file system's own records) out to the device of the
// volume at root, so a player switched off right afterwards finds everything on its disk. False
// when a file could not be flushed.
bool flushToDevice(const QStringList &files, const QString &root);

// Writes what has been written to the volume at root so far out to its device and waits for it,
// leaving nothing cached to write. Called over and over while a long copy goes on, it spreads the
// writing over the copy, so the flush at the end finds little left. Unsupported where the system
// has no such call for an ordinary user.
enum class Writeback { Done, Failed, Unsupported };
Writeback writeBackVolume(const QString &root);

// True for a link: a symbolic link, or on Windows an NTFS junction or other reparse point. A
// link is never entered by a walk or a removal.
bool isLink(const QString &path);
// The entries of folder besides "." and "..", as the system counts them; -1 when the folder
// cannot be read to its end. Qt's own listings say nothing of a read error, and leave out names
// the PC's encoding cannot show: a count that differs from theirs tells.
qint64 countEntries(const QString &folder);
// The entries of folder whose names the PC's encoding cannot show (Latin-1 bytes from an old
// Windows copy on a Linux disk, say): Qt's listings leave them out. Names as the system holds
// them, bytes; file is true for a regular file. Windows names are UTF-16: never any there.
struct RawName {
    QByteArray name;
    bool file = false;
};
QList<RawName> unrepresentableNames(const QString &folder);
// Copies the regular file at from to to (paths as the system spells them, bytes) whole: into a
// hidden temporary beside to, pushed to its disk, then renamed to to, never over an entry already
// there; the modification time kept. *sha256 gets the lower-case hex of what was read. False when
// nothing was copied (to's disk refuses the name, say); no temporary is left behind.
bool copyRawFile(const QByteArray &from, const QByteArray &to, QByteArray *sha256, qint64 *size);
// SHA-256 (lower-case hex) and size of the regular file at path (bytes); empty, *size -1 when it
// cannot be read.
QByteArray rawFileSha256(const QByteArray &path, qint64 *size);
// What tells the volume path is on from any other (the device number, the volume's serial); ""
// when path cannot be looked at. A mount point left behind by an unplugged drive is on another.
QByteArray volumeIdentity(const QString &path);
// Removes a file, or a link itself (to a file or a folder), never what a link points to.
bool removeEntry(const QString &path);

// SHA-256 fed piece by piece, with the fastest implementation the platform offers (Linux:
// libcrypto, which uses the processor's hashing instructions, ten times Qt's own).
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256 &) = delete;
    Sha256 &operator=(const Sha256 &) = delete;
    void add(const char *data, qint64 size);
    QByteArray hex();   // lower-case hex of everything added; starts a new hash

private:
    void *state;
};

// Makes link a second name of the regular file existing (a hard link, on the same volume), never
// over an entry already at link. False when the volume cannot (FAT, exFAT, some network shares),
// existing has gone, or link exists.
bool hardLink(const QString &existing, const QString &link);
// True when path is a regular file itself (not a link), with its size and modification time
// (milliseconds since the epoch), looked at in one call.
bool regularFile(const QString &path, qint64 *size, qint64 *modifiedMs);
// How many names the file at path has (1 for a file of its own); 0 when it cannot be looked at.
qint64 linkCount(const QString &path);

// Full path of a helper program shipped with the tool: beside it (a build, Windows), else, on
// Linux, in the installed helpers' folder (<prefix>/libexec/corvel3), else on PATH.
QString helperProgram(const QString &baseName);

} // namespace platform
