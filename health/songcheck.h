#pragma once

#include <QByteArray>
#include <QString>

// Whether the player can play a song, judged from its bytes: pure functions over what was read,
// so tests and fuzzing reach them without files.
namespace songcheck {

enum class Damage {
    None,
    NoFrameSync,      // MP3: no frame header where the audio should start
    CutShort,         // MP3: the last frame, or the length the stream's Info/Xing header gives, runs past the end
    BadMidiHeader,    // MIDI: no "MThd" header of at least 6 bytes
    TrackPastEnd,     // MIDI: a chunk's length runs past the end, or fewer tracks than the header says
};

// One MPEG audio frame header at data (4 bytes): its length in bytes, 0 when it is none.
int mp3FrameLength(const unsigned char *data);

// Where the audio starts: after an ID3v2 tag (and its footer) when the file starts with one.
qint64 id3v2End(const QByteArray &head);

// An MP3 of fileSize bytes. head: its first bytes (from offset 0); atAudio: bytes from the
// audio's start (id3v2End); tail: its last bytes (up to the end, ID3v1 tag included).
Damage checkMp3(const QByteArray &atAudio, qint64 audioStart, const QByteArray &tail, qint64 fileSize);

// A MIDI file: header holds its first 14 bytes; chunkAt(offset) reads 8 bytes at offset ("" past
// the end).
template <typename ReadAt>
Damage checkMidi(const QByteArray &header, qint64 fileSize, ReadAt chunkAt);

QString damageName(Damage damage);   // "noFrameSync", "cutShort", "badMidiHeader", "trackPastEnd", ""

namespace detail {
quint32 bigEndian(const char *p, int bytes);
}

template <typename ReadAt>
Damage checkMidi(const QByteArray &header, qint64 fileSize, ReadAt chunkAt)
{
    if (header.size() < 14 || !header.startsWith("MThd") || detail::bigEndian(header.constData() + 4, 4) < 6)
        return Damage::BadMidiHeader;
    const quint32 tracks = detail::bigEndian(header.constData() + 10, 2);
    qint64 at = 8 + qint64(detail::bigEndian(header.constData() + 4, 4));
    quint32 found = 0;
    // Chunk by chunk to the end: a length past the end, or a torn chunk header, is damage.
    while (at < fileSize) {
        const QByteArray chunk = chunkAt(at);
        if (chunk.size() < 8)
            return Damage::TrackPastEnd;
        const qint64 length = detail::bigEndian(chunk.constData() + 4, 4);
        if (at + 8 + length > fileSize)
            return Damage::TrackPastEnd;
        if (chunk.startsWith("MTrk"))
            ++found;
        at += 8 + length;
    }
    return found < tracks ? Damage::TrackPastEnd : Damage::None;
}

} // namespace songcheck
