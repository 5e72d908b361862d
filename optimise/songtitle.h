#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>

// Reads a song's title from inside the file (first 30000 bytes only). One reader object holds the
// state that all readers share; the split saves and restores it around nested reads.
class SongTitleReader {
public:
    struct SavedTitle {
        QString songTitle;
        bool titleFound = false;
    };

    explicit SongTitleReader(const QStringList &songExtensions = QStringList());
    void setSongExtensions(const QStringList &extensions);

    // Dispatch by the first song extension found anywhere in the absolute path.
    bool readSongTitle(const QFileInfo &song, bool mp3AsFallback);
    void readMp3Title(const QString &path);
    void readMidiTitle(const QString &path);
    void readFixedFieldTitle(const QString &path);

    QString songTitle;
    bool titleFound = false;

    SavedTitle save() const { return SavedTitle{songTitle, titleFound}; }
    void restore(const SavedTitle &saved)
    {
        songTitle = saved.songTitle;
        titleFound = saved.titleFound;
    }

private:
    QStringList extensions;
};
