#pragma once

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringList>

// State of the folder split, owned once by the operations window.
struct SplitState {
    QDir splitDir;                    // the folder being split
    QList<QFileInfo> folderSongs;     // its songs, in listing order
    QStringList groupFolders;         // group names (not paths); the 27 base names at each folder's start
    QStringList retiredGroups;        // letter groups found full and renamed; kept for the program's life
    QString destGroup;
    int groupCapacity = 1000;
    int digitsOverflowNumber = 1;

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
        destGroup.clear();
        groupCapacity = 1000;
        digitsOverflowNumber = 1;
    }
};
