#pragma once

#include <QByteArray>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <optional>

class QFile;

// The byte-level title rules, over the n bytes actually read and nothing else. Pure functions, so
// the fuzz target and the tests can reach them without files. A result without a value is "no
// title"; an empty string is a title that was found empty.
namespace titlebytes {

constexpr int kFileBufferSize = 30000;   // a reader never looks further into a song
constexpr int kMaxTitleBytes = 128;
constexpr int kId3v1Size = 128;
constexpr int kFixedFieldOffset = 122;

bool hasId3v2Header(const char *data, int n);
// ID3v2 "TIT2": only the first 'T' byte of the tag is tried.
std::optional<QString> id3v2Title(const char *data, int n);
// ID3v1: tag holds the last 128 bytes of a file longer than 128 bytes (n must be 128).
std::optional<QString> id3v1Title(const char *tag, int n);
// A whole MP3 held in data: ID3v2 when the file starts with one, otherwise ID3v1.
std::optional<QString> mp3Title(const char *data, int n);
// The first track-name event or "@T" text event, found by a raw scan for 0xFF.
std::optional<QString> midiTitle(const char *data, int n);
// .mf3/.mf4/.mf5: 128 bytes at offset 122, leading spaces dropped.
std::optional<QString> fixedFieldTitle(const char *data, int n);

// One MIDI variable-length quantity at cursor: at most 4 bytes and never more than limit; the
// cursor ends after the last byte read.
quint32 readVarLen(const char *data, int &cursor, int limit);

} // namespace titlebytes

// Reads a song's title from inside the file (first 30000 bytes only). One reader object holds the
// state that all readers share; the split saves and restores it around nested reads.
class SongTitleReader {
public:
    struct SavedTitle {
        QString songTitle;
        bool titleFound = false;
    };

    enum class Kind { None, Mp3, Midi, FixedField };

    // ".mp3", ".midi", ".mid", ".mf3", ".mf4", ".mf5", ".kar": the order decides the dispatch.
    static QStringList standardSongExtensions();

    // An empty list stands for the standard one.
    explicit SongTitleReader(const QStringList &songExtensions = QStringList());
    void setSongExtensions(const QStringList &extensions);

    // Dispatch by the first song extension found anywhere in the absolute path.
    bool readSongTitle(const QFileInfo &song, bool mp3AsFallback);
    void readMp3Title(const QString &path);
    void readMidiTitle(const QString &path);
    void readFixedFieldTitle(const QString &path);

    // Which reader readSongTitle would call for this song.
    Kind readerFor(const QFileInfo &song, bool mp3AsFallback) const;
    static QString kindName(Kind kind);   // "mp3", "midi", "fixed", "none"

    // The name a song is filed under: the title plus "." and the complete suffix when the last
    // read found a title, otherwise the file name.
    QString filingKey(const QFileInfo &song) const;

    QString songTitle;
    bool titleFound = false;

    SavedTitle save() const { return SavedTitle{songTitle, titleFound}; }
    void restore(const SavedTitle &saved)
    {
        songTitle = saved.songTitle;
        titleFound = saved.titleFound;
    }

private:
    // Opens file and reads up to 30000 bytes into fileBuffer: the count read, or -1.
    int fillBuffer(QFile &file);
    void accept(const std::optional<QString> &title);

    QStringList extensions;
    QByteArray fileBuffer;
};
