#include "optimise/songtitle.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace titlebytes {

namespace {

const uchar *bytes(const char *data)
{
    return reinterpret_cast<const uchar *>(data);
}

// Up to count bytes from start, cut at n and at the first zero byte, as UTF-8. A start at or past
// the end gives an empty title: the event or frame was there, its text was not.
QString takeTitle(const char *data, int n, qint64 start, qint64 count)
{
    if (start >= n || count <= 0)
        return QString();
    count = std::min<qint64>({count, qint64(n) - start, qint64(kMaxTitleBytes)});
    const char *text = data + start;
    const void *zero = std::memchr(text, 0, size_t(count));
    if (zero)
        count = static_cast<const char *>(zero) - text;
    return QString::fromUtf8(text, int(count));
}

} // namespace

bool hasId3v2Header(const char *data, int n)
{
    return n >= 3 && std::memcmp(data, "ID3", 3) == 0;
}

std::optional<QString> id3v2Title(const char *data, int n)
{
    if (!hasId3v2Header(data, n) || n < 10)
        return std::nullopt;
    const uchar *d = bytes(data);
    // Synchsafe, but a byte of exactly 0x80 passes and counts with its full value.
    for (int i = 6; i < 10; ++i) {
        if (d[i] > 0x80)
            return std::nullopt;
    }
    const qint64 tagSize = (qint64(d[6]) << 21) + (qint64(d[7]) << 14) + (qint64(d[8]) << 7) + d[9];
    const qint64 window = std::min<qint64>(tagSize + 10, n);
    const void *t = std::memchr(data, 'T', size_t(window));
    if (!t)
        return std::nullopt;
    const qint64 p = static_cast<const char *>(t) - data;
    // Frame id and size must both be there; without a size there is nothing to take.
    if (p + 8 > n || std::memcmp(data + p, "TIT2", 4) != 0)
        return std::nullopt;
    quint32 frameSize = (quint32(d[p + 4]) << 24) | (quint32(d[p + 5]) << 16)
                        | (quint32(d[p + 6]) << 8) | quint32(d[p + 7]);
    frameSize = std::min<quint32>(frameSize, 129);
    const qint64 textBytes = frameSize == 0 ? 0 : qint64(frameSize) - 1;
    // 10-byte frame header, then the encoding byte, which is skipped and never interpreted.
    return takeTitle(data, n, p + 11, textBytes);
}

std::optional<QString> id3v1Title(const char *tag, int n)
{
    if (n < kId3v1Size || std::memcmp(tag, "TAG", 3) != 0)
        return std::nullopt;
    return takeTitle(tag, n, 3, 30);
}

std::optional<QString> mp3Title(const char *data, int n)
{
    if (hasId3v2Header(data, n))
        return id3v2Title(data, n);
    if (n > kId3v1Size)
        return id3v1Title(data + n - kId3v1Size, kId3v1Size);
    return std::nullopt;
}

quint32 readVarLen(const char *data, int &cursor, int limit)
{
    const int maxBytes = std::min(4, limit);
    quint32 value = 0;
    for (int i = 0; i < maxBytes; ++i) {
        const uchar b = bytes(data)[cursor++];
        value = (value << 7) + (b & 0x7f);
        if (!(b & 0x80))
            break;
    }
    return value;
}

std::optional<QString> midiTitle(const char *data, int n)
{
    // Header and chunks are ignored: meta events are found by their 0xFF byte alone.
    qint64 scanPos = 0;
    while (scanPos < n) {
        const void *hit = std::memchr(data + scanPos, 0xff, size_t(n - scanPos));
        if (!hit)
            return std::nullopt;
        const int p = int(static_cast<const char *>(hit) - data);
        if (p + 1 >= n)
            return std::nullopt;   // no type byte after the last 0xFF
        const uchar type = bytes(data)[p + 1];
        if (type != 0x01 && type != 0x02 && type != 0x03) {
            scanPos = p + 1;
            continue;
        }
        int cursor = p + 2;
        const quint32 length = readVarLen(data, cursor, std::max(0, n - cursor));
        const qint64 text = cursor;
        if (type == 0x03)
            return takeTitle(data, n, text, std::min<qint64>(length, kMaxTitleBytes));
        if (type == 0x02) {
            scanPos = text + 1;   // the notice is stepped into, not over
            continue;
        }
        scanPos = text + qint64(length);
        if (text + 2 <= n && data[text] == '@' && data[text + 1] == 'T')
            return takeTitle(data, n, text + 2, length > 2 ? qint64(length) - 2 : 0);
    }
    return std::nullopt;
}

std::optional<QString> fixedFieldTitle(const char *data, int n)
{
    if (n <= kFixedFieldOffset)
        return std::nullopt;
    const char *field = data + kFixedFieldOffset;
    int count = std::min(kMaxTitleBytes, n - kFixedFieldOffset);
    const void *zero = std::memchr(field, 0, size_t(count));
    if (zero)
        count = int(static_cast<const char *>(zero) - field);
    int start = 0;
    while (start < count && field[start] == ' ')
        ++start;
    if (start == count)
        return std::nullopt;
    return QString::fromUtf8(field + start, count - start);
}

} // namespace titlebytes

namespace {

SongTitleReader::Kind kindForExtension(const QString &extension)
{
    const QString e = extension.toLower();
    if (e == QLatin1String(".mp3"))
        return SongTitleReader::Kind::Mp3;
    if (e == QLatin1String(".midi") || e == QLatin1String(".mid") || e == QLatin1String(".kar"))
        return SongTitleReader::Kind::Midi;
    if (e == QLatin1String(".mf3") || e == QLatin1String(".mf4") || e == QLatin1String(".mf5"))
        return SongTitleReader::Kind::FixedField;
    return SongTitleReader::Kind::None;
}

} // namespace

QStringList SongTitleReader::standardSongExtensions()
{
    return {QStringLiteral(".mp3"), QStringLiteral(".midi"), QStringLiteral(".mid"),
            QStringLiteral(".mf3"), QStringLiteral(".mf4"), QStringLiteral(".mf5"),
            QStringLiteral(".kar")};
}

SongTitleReader::SongTitleReader(const QStringList &songExtensions)
{
    setSongExtensions(songExtensions);
}

void SongTitleReader::setSongExtensions(const QStringList &songExtensions)
{
    extensions = songExtensions.isEmpty() ? standardSongExtensions() : songExtensions;
}

SongTitleReader::Kind SongTitleReader::readerFor(const QFileInfo &song, bool mp3AsFallback) const
{
    // The whole path counts, folders included: "x.mp3/y.mid" goes to the MP3 reader.
    const QString path = song.absoluteFilePath();
    for (const QString &extension : extensions) {
        if (extension.isEmpty() || !path.contains(extension, Qt::CaseInsensitive))
            continue;
        const Kind kind = kindForExtension(extension);
        if (kind != Kind::None)
            return kind;
    }
    return mp3AsFallback ? Kind::Mp3 : Kind::None;
}

QString SongTitleReader::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Mp3:
        return QStringLiteral("mp3");
    case Kind::Midi:
        return QStringLiteral("midi");
    case Kind::FixedField:
        return QStringLiteral("fixed");
    case Kind::None:
        break;
    }
    return QStringLiteral("none");
}

bool SongTitleReader::readSongTitle(const QFileInfo &song, bool mp3AsFallback)
{
    titleFound = false;
    const QString path = song.absoluteFilePath();
    switch (readerFor(song, mp3AsFallback)) {
    case Kind::Mp3:
        readMp3Title(path);
        break;
    case Kind::Midi:
        readMidiTitle(path);
        break;
    case Kind::FixedField:
        readFixedFieldTitle(path);
        break;
    case Kind::None:
        break;
    }
    return titleFound;
}

QString SongTitleReader::filingKey(const QFileInfo &song) const
{
    if (titleFound)
        return songTitle + QLatin1Char('.') + song.completeSuffix();
    return song.fileName();
}

void SongTitleReader::accept(const std::optional<QString> &title)
{
    // A failed read leaves both as the caller set them.
    if (!title)
        return;
    songTitle = *title;
    titleFound = true;
}

int SongTitleReader::fillBuffer(QFile &file)
{
    // Unbuffered: one read straight into our buffer. Only the first n bytes are ever looked at,
    // so whatever an earlier, longer file left behind stays unseen.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    if (fileBuffer.size() != titlebytes::kFileBufferSize)
        fileBuffer.resize(titlebytes::kFileBufferSize);
    // No more than the file holds: a file that fits is read in one call, without a second one
    // to find its end (a folder split reads every song).
    const qint64 wanted = std::min<qint64>(titlebytes::kFileBufferSize, file.size());
    const qint64 got = wanted > 0 ? file.read(fileBuffer.data(), wanted) : wanted;
    return got < 0 ? -1 : int(got);
}

void SongTitleReader::readMp3Title(const QString &path)
{
    QFile file(path);
    const int n = fillBuffer(file);
    if (n < 0)
        return;
    const char *data = fileBuffer.constData();
    if (titlebytes::hasId3v2Header(data, n)) {
        accept(titlebytes::id3v2Title(data, n));
        return;
    }
    // ID3v1 sits in the file's last 128 bytes, which lie beyond the buffer for a long file.
    const qint64 fileSize = file.size();
    if (fileSize <= titlebytes::kId3v1Size)
        return;
    if (fileSize <= n) {
        accept(titlebytes::id3v1Title(data + n - titlebytes::kId3v1Size, titlebytes::kId3v1Size));
        return;
    }
    char tail[titlebytes::kId3v1Size];
    if (!file.seek(fileSize - titlebytes::kId3v1Size)
        || file.read(tail, titlebytes::kId3v1Size) != titlebytes::kId3v1Size)
        return;
    accept(titlebytes::id3v1Title(tail, titlebytes::kId3v1Size));
}

void SongTitleReader::readMidiTitle(const QString &path)
{
    QFile file(path);
    const int n = fillBuffer(file);
    if (n >= 0)
        accept(titlebytes::midiTitle(fileBuffer.constData(), n));
}

void SongTitleReader::readFixedFieldTitle(const QString &path)
{
    QFile file(path);
    const int n = fillBuffer(file);
    if (n >= 0)
        accept(titlebytes::fixedFieldTitle(fileBuffer.constData(), n));
}
