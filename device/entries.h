#pragma once

#include <functional>
#include <QFileInfo>
#include <QString>
#include <QStringList>

// Listing and naming helpers that follow the player's file-system habits on every platform.
namespace entries {

// Resolves a relative name ("System/playlist") below folder without regard to case, component by
// component, against what exists. Components that match nothing are kept as written. The result
// is folder joined with the resolved name by "/".
QString resolve(const QString &folder, const QString &relativeName);

struct ListOptions {
    bool recursive = true;
    bool includeHiddenSystem = false;   // false: hidden/system entries are left out and not entered
    bool files = true;
    bool folders = true;
    QStringList nameFilters;            // wildcard patterns, case-insensitive; empty: every name
    bool foldersFirstByName = false;    // sort each folder's entries by name, folders first
};

// Walks folder by the options, calling visit for each matching entry (pre-order). Links to
// folders (symbolic links, NTFS junctions) are listed but never entered. The walk ends early when visit returns false; the
// function then returns false.
bool walk(const QString &folder, const ListOptions &options, const std::function<bool(const QFileInfo &)> &visit);

// Path comparisons for the guards that keep removals and erasures away from what they must not
// touch. Each path is taken as written (absolute, clean) and with links resolved, and compared
// without regard to case: refusing too much is harmless there, refusing too little is not.
QStringList pathForms(const QString &path);
bool samePath(const QString &a, const QString &b);
// True when outer is inner itself or a folder above it.
bool sameOrAbove(const QString &outer, const QString &inner);
// True when either path is the other or lies below it.
bool overlap(const QString &a, const QString &b);
// Folders no removal may ever touch (see pathrules::isProtectedFolder), for every form of the
// paths; the home folder is the user's. deviceRoot is "" when no player is connected.
bool isProtectedFolder(const QString &folder, const QString &deviceRoot);

// Gathers, while it lives, the folders that the walks and lists of its thread could not read
// whole (a read error, or names the PC's encoding cannot show, which the listings leave out).
// Code that must not miss a file (a backup, a staged system) looks at it after its listing.
// With takeRawFiles, the regular files whose names the encoding cannot show are gathered instead
// (full paths as the system spells them, bytes), for code that copies them byte for byte; the
// walk's filters and hidden rule apply to them as to any name. Such folders or links still make
// their folder unreadable.
class ListingWatch {
public:
    explicit ListingWatch(bool takeRawFiles = false);
    ~ListingWatch();
    ListingWatch(const ListingWatch &) = delete;
    ListingWatch &operator=(const ListingWatch &) = delete;
    const QStringList &unreadable() const { return folders; }
    const QList<QByteArray> &rawFiles() const { return raw; }
    static void report(const QString &folder);
    static bool active();
    static bool takesRawFiles();
    static void reportRawFile(const QByteArray &path);

private:
    ListingWatch *outer;
    bool takeRaw;
    QStringList folders;
    QList<QByteArray> raw;
};

// All matching entries' absolute paths, in walk order.
QStringList list(const QString &folder, const ListOptions &options);

} // namespace entries
