#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A throw-away player drive in a temporary folder, presented as the mounted volume "corvel3"
// through CORVEL3_VOLUMES while the fixture lives. Song writers produce real title fields.
class DriveFixture {
public:
    explicit DriveFixture(bool presentAsDevice = true);
    ~DriveFixture();

    QString root() const;                              // ends with "/"
    QString path(const QString &relative) const { return root() + relative; }

    void addSystemFiles();                             // AUTOEXEC.BAT, Corvel.exe, DispProc.exe
    void addPlaylist(const QString &name, const QStringList &lines); // System/Playlist/<name>, CR LF
    QString writeFile(const QString &relative, const QByteArray &content);

    // Song files with titles inside.
    QString writeMp3(const QString &relative, const QString &title, int paddingBytes = 2000)
    { return writeFile(relative, mp3Bytes(title, paddingBytes)); }
    QString writeMidi(const QString &relative, const QString &trackName) { return writeFile(relative, midiBytes(trackName)); }

    // The same contents, for files written elsewhere.
    static QByteArray mp3Bytes(const QString &title, int paddingBytes = 2000);
    static QByteArray midiBytes(const QString &trackName);
    static QByteArray karaokeBytes(const QString &title);   // text events, "@T"

    // Present the drive (or take it away) as the device.
    void plugIn();
    void unplug();

    QTemporaryDir dir;

private:
    QByteArray previousVolumes;
    bool hadVolumes = false;
};

// Every file below folder (relative path -> content), for comparing trees byte for byte.
QMap<QString, QByteArray> treeContents(const QString &folder, bool includeHidden = true);
