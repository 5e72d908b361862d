#include "tests/common/drivefixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

DriveFixture::DriveFixture(bool presentAsDevice)
    : previousVolumes(qgetenv("CORVEL3_VOLUMES")), hadVolumes(qEnvironmentVariableIsSet("CORVEL3_VOLUMES"))
{
    if (presentAsDevice)
        plugIn();
}

DriveFixture::~DriveFixture()
{
    hadVolumes ? qputenv("CORVEL3_VOLUMES", previousVolumes) : qunsetenv("CORVEL3_VOLUMES");
}

QString DriveFixture::root() const { return dir.path() + QLatin1Char('/'); }
void DriveFixture::plugIn() { qputenv("CORVEL3_VOLUMES", ("corvel3=" + dir.path()).toUtf8()); }
void DriveFixture::unplug() { qputenv("CORVEL3_VOLUMES", ""); }

QString DriveFixture::writeFile(const QString &relative, const QByteArray &content)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content);
    return full;
}

void DriveFixture::addSystemFiles()
{
    writeFile(QStringLiteral("AUTOEXEC.BAT"), "@ECHO OFF\r\nSystem\\Corvel\\Corvel.exe\r\n");
    writeFile(QStringLiteral("System/Corvel/Corvel.exe"), QByteArray("MZ player program", 17));
    writeFile(QStringLiteral("System/DispProc/DispProc.exe"), QByteArray("MZ display program", 18));
}

void DriveFixture::addPlaylist(const QString &name, const QStringList &lines)
{
    writeFile("System/Playlist/" + name, lines.isEmpty() ? QByteArray() : (lines.join("\r\n") + "\r\n").toUtf8());
}

namespace {
// value in `count` bytes of `bits` bits each, most significant first (7 for a tag's synchsafe size).
QByteArray bigEndian(quint32 value, int count = 4, int bits = 8)
{
    QByteArray out;
    for (int i = count - 1; i >= 0; --i)
        out += char((value >> (i * bits)) & ((1u << bits) - 1));
    return out;
}

QByteArray varLen(quint32 value)
{
    QByteArray bytes(1, char(value & 0x7f));
    while (value >>= 7)
        bytes.prepend(char((value & 0x7f) | 0x80));
    return bytes;
}

// One track: the given events, a note on and off, end of track.
QByteArray midiFile(const QByteArray &trackEvents)
{
    const QByteArray track = trackEvents + QByteArray::fromHex("00903C4060803C0000FF2F00");
    return "MThd" + QByteArray::fromHex("00000006000000010060") + "MTrk" + bigEndian(quint32(track.size())) + track;
}

QByteArray metaText(char type, const QByteArray &text)
{
    return QByteArray::fromHex("00FF") + type + varLen(quint32(text.size())) + text;
}
} // namespace

QByteArray DriveFixture::mp3Bytes(const QString &title, int paddingBytes)
{
    const QByteArray text = title.toUtf8();
    // A TIT2 frame in UTF-8 and some padding, then a few MPEG frame headers' worth of audio-like bytes.
    const QByteArray frame = "TIT2" + bigEndian(quint32(text.size() + 1)) + QByteArray(2, '\0') + char(3) + text;
    QByteArray out = "ID3" + QByteArray::fromHex("040000") + bigEndian(quint32(frame.size() + 16), 4, 7) + frame
                     + QByteArray(16, '\0');
    QByteArray audio(paddingBytes, '\0');
    for (int i = 0; i < audio.size(); i += 418)
        audio.replace(i, 2, QByteArray("\xff\xfb").left(audio.size() - i));
    return out + audio;
}

QByteArray DriveFixture::midiBytes(const QString &trackName) { return midiFile(metaText(0x03, trackName.toUtf8())); }

QByteArray DriveFixture::karaokeBytes(const QString &title)
{
    return midiFile(metaText(0x01, "@KMIDI KARAOKE FILE") + metaText(0x01, "@T" + title.toUtf8()));
}

QMap<QString, QByteArray> treeContents(const QString &folder, bool includeHidden)
{
    QMap<QString, QByteArray> out;
    const QDir::Filters hidden = includeHidden ? QDir::Hidden | QDir::System : QDir::Filters();
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot | hidden, QDirIterator::Subdirectories);
    const QString base = QDir(folder).absolutePath() + QLatin1Char('/');
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        if (f.open(QIODevice::ReadOnly))
            out.insert(QFileInfo(file).absoluteFilePath().mid(base.size()), f.readAll());
    }
    return out;
}
