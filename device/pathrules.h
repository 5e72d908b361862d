#pragma once

#include <QString>

// Path rules as plain text functions: no file-system access, so the same rules can be checked on
// any platform with paths of either style ("E:/Basi", "e:\\basi", "\\\\server\\share\\x", "/media/x").
// Comparisons ignore case: refusing too much is harmless for the guards, refusing too little is not.
namespace pathrules {

// "/" separators, "." and ".." folded (never above the root), no trailing separator except on a
// root; the root is "/", a drive ("E:/", letter upper-cased) or a share ("//server/share/").
// "\\?\" prefixes are dropped. A relative path stays relative.
QString normalised(const QString &path);

// The system's root, a drive root ("E:", "E:/", "e:\\") or a network share's root.
bool isRoot(const QString &path);

bool same(const QString &a, const QString &b);
// True when outer is inner itself or a folder above it.
bool sameOrAbove(const QString &outer, const QString &inner);
// True when either path is the other or lies below it.
bool overlap(const QString &a, const QString &b);

// A folder no removal may touch: a root (the player's drive root excepted: it is emptied, never
// removed), the user's home folder or any folder above it, and any folder above the player's
// drive root. deviceRoot and home may be "" (unknown).
bool isProtectedFolder(const QString &folder, const QString &deviceRoot, const QString &home);

} // namespace pathrules
