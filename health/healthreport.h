#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

struct OperationState;

// What a health check found on the player, as a value: the window, the command line and the
// fixes read it. Paths are below the drive root, "/" separators.
namespace health {

enum class Kind {
    DeadLine,          // a playlist line that points at no song
    UnreadableTitle,   // a song whose title cannot be read from inside it
    DamagedMp3,
    DamagedMidi,
    EmptySong,
    OrphanCompanion,   // a .cdg, .bak or .dat whose song is missing
    BadName,           // a character FAT refuses, or a name ending in a dot or a space
    LongName,          // longer than the player shows (or FAT stores)
    NameClash,         // names in one folder that differ only in case
    OversizedFolder,   // more than 1000 songs: the optimisation's split fixes it
    Duplicate,         // the same bytes in more than one place
    LowSpace,          // less free space than the last system package takes
};
constexpr int kKindCount = int(Kind::LowSpace) + 1;

// The fixes, one per group of findings.
enum Group { Playlists = 1, Names = 2, Duplicates = 4, AllGroups = 7 };

struct Finding {
    Kind kind = Kind::DeadLine;
    QStringList items;   // one line each: a path, a playlist line, a group of copies
    qint64 bytes = 0;    // the space it concerns (duplicates: what the extra copies take)
};

struct DeadLine {
    QString playlist;            // absolute
    int line = 0;                // 1-based
    QString song;                // the path the line names
    QString foundAt;             // where the song is now, "" when nowhere or not unambiguously
    QStringList candidates;      // songs of that file name, when more than one and not the same bytes
};

struct Rename {
    QString from;   // absolute
    QString to;     // absolute, same folder
    bool folder = false;
};

struct DuplicateSet {
    qint64 size = 0;
    QStringList paths;   // sorted; the first is the one a fix keeps unless a playlist names another
};

struct SpaceRow {
    QString name;   // top folder ("" for the root's own files) or kind ("mp3", "mid", ...)
    int songs = 0;
    qint64 bytes = 0;
};

struct Report {
    QVector<Finding> findings;   // one per kind, in Kind order, empty ones included
    QVector<DeadLine> deadLines;
    QVector<Rename> renames;     // what the Names fix would do
    QVector<DuplicateSet> duplicates;
    QVector<SpaceRow> byFolder;  // largest first
    QVector<SpaceRow> byKind;
    int songs = 0;
    qint64 songBytes = 0;
    qint64 freeBytes = -1;       // -1: unknown
    qint64 packageBytes = -1;    // the last system package's size, -1: none kept
    bool complete = false;       // the check ran to its end (not stopped)

    Report();
    const Finding &finding(Kind kind) const { return findings.at(int(kind)); }
    Finding &finding(Kind kind) { return findings[int(kind)]; }
    int total() const;            // findings of every kind
    bool healthy() const { return complete && total() == 0; }
    // Findings a group's fix can act on.
    int fixable(Group group) const;

    // A few lines for people: what was checked, and one line per kind found.
    QStringList summary(const OperationState &state) const;
    // For the command line's end event: one object per kind found (kind, label, count, bytes, items).
    QVariantList toVariant(const OperationState &state) const;
};

QString kindName(Kind kind);   // "deadLine", "unreadableTitle", ... (language-independent)
QString kindLabel(Kind kind, const OperationState &state);
QString groupName(Group group);   // "playlists", "names", "duplicates"
Group groupOf(Kind kind);         // 0 for kinds no fix acts on
QString sizeText(qint64 bytes);   // "12.3 MB"

} // namespace health
