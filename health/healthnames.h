#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Names a FAT volume cannot store or the player cannot show, in one folder, and the names the
// fix gives them. Text only: no file-system access.
namespace names {

constexpr int kFatNameLimit = 255;   // UTF-16 units in a long file name

struct Entry {
    QString name;
    bool folder = false;
    QString newName;   // set in FolderNames::renames
};

struct FolderNames {
    QStringList bad;                 // characters FAT refuses, or a trailing dot or space
    QStringList tooLong;             // longer than FAT stores, or a song base name the player does not show whole
    QVector<QStringList> clashes;    // names equal but for case, each group sorted
    QVector<Entry> renames;          // every name above but one of each clash, with a free new name
};

bool refusedByFat(const QString &name);
bool tooLong(const QString &name, bool folder);
// name with refused characters replaced by "_", no trailing dots or spaces, shortened as the
// optimisation shortens long names.
QString fatName(const QString &name, bool folder);

FolderNames checkFolder(const QVector<Entry> &entries);

} // namespace names
