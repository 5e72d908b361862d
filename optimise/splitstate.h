#pragma once

#include <QChar>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// State of the folder split, one folder at a time.
struct SplitState {
    QDir splitDir;                    // the folder being split
    QList<QFileInfo> folderSongs;     // its songs, in listing order (the names a real run shows)
    QStringList groupFolders;         // group names (not paths); the 27 base names at each folder's start
    QStringList retiredGroups;        // letter groups of this folder found full and renamed
    QString destGroup;
    int groupCapacity = 1000;
    int digitsOverflowNumber = 1;

    // The family of each group: 'a'..'z' for the letter groups (also once renamed after their
    // titles, which may begin with any character), '#' for "0-9" and its overflow groups.
    QHash<QString, QChar> groupFamily;
    QString fullGroup;                // the letter group being retired
    QFileInfo currentSong;            // the song being filed

    // Kept in memory so that nothing is counted or listed again per song: the files in each
    // group (counted once when the group is opened), the songs this run put there with the
    // names their titles give, and the names made or renamed away in the folder (lower case),
    // which a dry run cannot see on the disk.
    QHash<QString, int> groupCounts;
    QHash<QString, QSet<QString>> placedFiles;
    QHash<QString, QSet<QString>> groupFiles;   // names (lower case) a group held when opened
    QHash<QString, QStringList> placedTitles;
    QSet<QString> madeNames;
    QSet<QString> goneNames;

    static constexpr int maxGroupFiles = 1000;
    static QChar digitsFamily() { return QLatin1Char('#'); }

    static QStringList baseGroupNames()
    {
        QStringList names;
        for (char c = 'a'; c <= 'z'; ++c)
            names << QString(QLatin1Char(c));
        names << QStringLiteral("0-9");
        return names;
    }
    void resetForFolder()
    {
        folderSongs.clear();
        groupFolders = baseGroupNames();
        retiredGroups.clear();
        groupFamily.clear();
        for (const QString &name : groupFolders)
            groupFamily.insert(name, name.size() == 1 ? name.at(0) : digitsFamily());
        destGroup.clear();
        fullGroup.clear();
        currentSong = QFileInfo();
        groupCapacity = maxGroupFiles;
        digitsOverflowNumber = 1;
        groupCounts.clear();
        placedFiles.clear();
        groupFiles.clear();
        placedTitles.clear();
        madeNames.clear();
        goneNames.clear();
    }
};
