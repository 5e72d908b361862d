#include "health/songcheck.h"

namespace songcheck {

namespace detail {
quint32 bigEndian(const char *p, int bytes)
{
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | uchar(p[i]);
    return value;
}
} // namespace detail

namespace {

const int kBitrates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},   // MPEG 1, layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},      // MPEG 1, layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},       // MPEG 1, layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},      // MPEG 2 and 2.5, layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},           // MPEG 2 and 2.5, layers II and III
};
const int kSampleRates[4][3] = {{11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

// Frames of one stream share their version, layer and sample rate: a false sync in the audio
// rarely does.
bool sameStream(const unsigned char *a, const unsigned char *b)
{
    return (a[1] & 0xFE) == (b[1] & 0xFE) && (a[2] & 0x0C) == (b[2] & 0x0C);
}

const unsigned char *bytes(const QByteArray &data, qint64 at) { return reinterpret_cast<const unsigned char *>(data.constData()) + at; }

// The stream's length in bytes as its first frame's Info/Xing header gives it, or -1.
qint64 declaredLength(const QByteArray &atAudio, qint64 first)
{
    const unsigned char *h = bytes(atAudio, first);
    const bool mpeg1 = ((h[1] >> 3) & 3) == 3;
    const bool mono = (h[3] >> 6) == 3;
    const qint64 at = first + 4 + ((h[1] & 1) ? 0 : 2) + (mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17));
    if (at + 16 > atAudio.size())
        return -1;
    const QByteArray id = atAudio.mid(int(at), 4);
    if (id != "Xing" && id != "Info")
        return -1;
    const char *p = atAudio.constData() + at + 4;
    const quint32 flags = detail::bigEndian(p, 4);
    if (!(flags & 2))
        return -1;
    return detail::bigEndian(p + ((flags & 1) ? 8 : 4), 4);
}

} // namespace

int mp3FrameLength(const unsigned char *h)
{
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0)
        return 0;
    const int version = (h[1] >> 3) & 3;   // 0: 2.5, 1: reserved, 2: 2, 3: 1
    const int layer = (h[1] >> 1) & 3;     // 1: III, 2: II, 3: I
    const int bitrateIndex = h[2] >> 4;
    const int rateIndex = (h[2] >> 2) & 3;
    if (version == 1 || layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return 0;
    const bool mpeg1 = version == 3;
    const int table = mpeg1 ? 3 - layer : (layer == 3 ? 3 : 4);
    const int bitrate = kBitrates[table][bitrateIndex] * 1000;
    const int rate = kSampleRates[version][rateIndex];
    const int padding = (h[2] >> 1) & 1;
    if (layer == 3)
        return (12 * bitrate / rate + padding) * 4;
    if (layer == 1 && !mpeg1)
        return 72 * bitrate / rate + padding;
    return 144 * bitrate / rate + padding;
}

qint64 id3v2End(const QByteArray &head)
{
    if (head.size() < 10 || !head.startsWith("ID3"))
        return 0;
    const auto *h = bytes(head, 0);
    const qint64 size = (qint64(h[6] & 0x7F) << 21) | (qint64(h[7] & 0x7F) << 14) | (qint64(h[8] & 0x7F) << 7) | (h[9] & 0x7F);
    return 10 + size + ((h[5] & 0x10) ? 10 : 0);
}

Damage checkMp3(const QByteArray &atAudio, qint64 audioStart, const QByteArray &tail, qint64 fileSize)
{
    // Encoders may pad with zeros before the first frame; anything else there is no audio.
    qint64 first = 0;
    while (first < atAudio.size() && atAudio.at(int(first)) == 0)
        ++first;
    if (first + 4 > atAudio.size() || mp3FrameLength(bytes(atAudio, first)) == 0)
        return Damage::NoFrameSync;
    const unsigned char *firstHeader = bytes(atAudio, first);
    qint64 end = fileSize;
    const qint64 tailStart = fileSize - tail.size();
    if (tail.size() >= 128 && tail.mid(tail.size() - 128, 3) == "TAG")
        end -= 128;   // the ID3v1 tag
    const qint64 declared = declaredLength(atAudio, first);
    if (declared > 0 && end - (audioStart + first) < declared)
        return Damage::CutShort;

    // Frames chained from somewhere in the tail up to the end: the last one must end there.
    for (qint64 p = qMax(tailStart, audioStart + first); p + 4 <= end; ++p) {
        const unsigned char *h = bytes(tail, p - tailStart);
        if (!mp3FrameLength(h) || !sameStream(h, firstHeader))
            continue;
        qint64 q = p;
        int whole = 0;
        while (q + 4 <= end) {
            const unsigned char *at = bytes(tail, q - tailStart);
            const int length = mp3FrameLength(at);
            if (!length || !sameStream(at, firstHeader))
                break;
            if (q + length > end)
                return whole >= 2 ? Damage::CutShort : Damage::None;
            q += length;
            ++whole;
        }
        if (whole >= 2) {
            // A last header torn in half is a cut too; other bytes after the frames are the encoder's.
            const bool torn = q < end && end - q < 4 && uchar(tail.at(int(q - tailStart))) == 0xFF;
            return torn ? Damage::CutShort : Damage::None;
        }
    }
    return Damage::None;
}

QString damageName(Damage damage)
{
    switch (damage) {
    case Damage::None: break;
    case Damage::NoFrameSync: return QStringLiteral("noFrameSync");
    case Damage::CutShort: return QStringLiteral("cutShort");
    case Damage::BadMidiHeader: return QStringLiteral("badMidiHeader");
    case Damage::TrackPastEnd: return QStringLiteral("trackPastEnd");
    }
    return QString();
}

} // namespace songcheck
