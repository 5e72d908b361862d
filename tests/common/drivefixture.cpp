#include "tests/common/drivefixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

DriveFixture::DriveFixture(bool presentAsDevice)
{
    hadVolumes = qEnvironmentVariableIsSet("CORVEL3_VOLUMES");
    previousVolumes = qgetenv("CORVEL3_VOLUMES");
    if (presentAsDevice)
        plugIn();
}

DriveFixture::~DriveFixture()
{
    if (hadVolumes)
        qputenv("CORVEL3_VOLUMES", previousVolumes);
    else
        qunsetenv("CORVEL3_VOLUMES");
}

QString DriveFixture::root() const
{
    return dir.path() + QLatin1Char('/');
}

void DriveFixture::plugIn()
{
    qputenv("CORVEL3_VOLUMES", ("corvel3=" + dir.path()).toUtf8());
}

void DriveFixture::unplug()
{
    qputenv("CORVEL3_VOLUMES", "");
}

QString DriveFixture::writeFile(const QString &relative, const QByteArray &content)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(content);
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
    QByteArray content;
    for (const QString &line : lines)
        content += line.toUtf8() + "\r\n";
    writeFile(QStringLiteral("System/Playlist/") + name, content);
}

QByteArray DriveFixture::mp3Bytes(const QString &title, int paddingBytes)
{
    const QByteArray text = title.toUtf8();
    QByteArray frame = "TIT2";
    const quint32 size = quint32(text.size() + 1);
    frame += char((size >> 24) & 0xff);
    frame += char((size >> 16) & 0xff);
    frame += char((size >> 8) & 0xff);
    frame += char(size & 0xff);
    frame += QByteArray(2, '\0');   // flags
    frame += char(3);               // UTF-8
    frame += text;
    const int tagSize = frame.size() + 16;   // some padding after the frame
    QByteArray out = "ID3";
    out += char(4);
    out += char(0);
    out += char(0);
    out += char((tagSize >> 21) & 0x7f);
    out += char((tagSize >> 14) & 0x7f);
    out += char((tagSize >> 7) & 0x7f);
    out += char(tagSize & 0x7f);
    out += frame;
    out += QByteArray(16, '\0');
    // A few MPEG frame headers' worth of audio-like bytes.
    QByteArray audio(paddingBytes, '\0');
    for (int i = 0; i < audio.size(); i += 418) {
        audio[i] = char(0xff);
        if (i + 1 < audio.size())
            audio[i + 1] = char(0xfb);
    }
    return out + audio;
}

static QByteArray varLen(quint32 value)
{
    QByteArray bytes;
    bytes.prepend(char(value & 0x7f));
    value >>= 7;
    while (value) {
        bytes.prepend(char((value & 0x7f) | 0x80));
        value >>= 7;
    }
    return bytes;
}

static QByteArray midiFile(const QByteArray &trackEvents)
{
    QByteArray track = trackEvents;
    // A note on and off, then end of track.
    track += QByteArray::fromHex("00903C40") + QByteArray::fromHex("60803C00") + QByteArray::fromHex("00FF2F00");
    QByteArray out = "MThd";
    out += QByteArray::fromHex("00000006000000010060");
    out += "MTrk";
    const quint32 n = quint32(track.size());
    out += char((n >> 24) & 0xff);
    out += char((n >> 16) & 0xff);
    out += char((n >> 8) & 0xff);
    out += char(n & 0xff);
    return out + track;
}

QByteArray DriveFixture::midiBytes(const QString &trackName)
{
    const QByteArray name = trackName.toUtf8();
    return midiFile(QByteArray::fromHex("00FF03") + varLen(quint32(name.size())) + name);
}

QByteArray DriveFixture::karaokeBytes(const QString &title)
{
    const QByteArray kind = "@KMIDI KARAOKE FILE";
    const QByteArray t = "@T" + title.toUtf8();
    return midiFile(QByteArray::fromHex("00FF01") + varLen(quint32(kind.size())) + kind
                    + QByteArray::fromHex("00FF01") + varLen(quint32(t.size())) + t);
}

QByteArray DriveFixture::fixedFieldBytes(const QString &title)
{
    QByteArray out(512, '\0');
    out.replace(0, 4, "MF3\x01");
    const QByteArray text = title.toUtf8().left(128);
    out.replace(122, text.size(), text);
    return out;
}

QString DriveFixture::writeMp3(const QString &relative, const QString &title, int paddingBytes)
{
    return writeFile(relative, mp3Bytes(title, paddingBytes));
}

QString DriveFixture::writeMidi(const QString &relative, const QString &trackName)
{
    return writeFile(relative, midiBytes(trackName));
}

QString DriveFixture::writeKaraoke(const QString &relative, const QString &title)
{
    return writeFile(relative, karaokeBytes(title));
}

QString DriveFixture::writeFixedField(const QString &relative, const QString &title)
{
    return writeFile(relative, fixedFieldBytes(title));
}

QMap<QString, QByteArray> treeContents(const QString &folder, bool includeHidden)
{
    QMap<QString, QByteArray> out;
    QDir::Filters filters = QDir::Files | QDir::NoDotAndDotDot;
    if (includeHidden)
        filters |= QDir::Hidden | QDir::System;
    QDirIterator it(folder, filters, QDirIterator::Subdirectories);
    const QString base = QDir(folder).absolutePath() + QLatin1Char('/');
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        if (f.open(QIODevice::ReadOnly))
            out.insert(QFileInfo(file).absoluteFilePath().mid(base.size()), f.readAll());
    }
    return out;
}
