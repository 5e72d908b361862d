// Song titles read from inside the files, and the command-line tool that prints them.
#include "optimise/songtitle.h"
#include "tests/common/drivefixture.h"

#include <QtTest>

namespace {

// An ID3 v2.4 header whose four size bytes are given, and a frame of the given announced size.
QByteArray id3Header(const char *size) { return QByteArray("ID3\x04\x00\x00", 6) + QByteArray(size, 4); }
QByteArray frame(const char *id, quint32 size, const QByteArray &payload, char encoding = 3)
{
    return id + QByteArray() + char(size >> 24) + char(size >> 16) + char(size >> 8) + char(size) + QByteArray(2, '\0') + encoding + payload;
}
// A tag of 1024 bytes; only its start is written.
QByteArray tagOf(const QByteArray &frames) { return id3Header("\0\0\x08\0") + frames + QByteArray(32, '\0'); }
QByteArray id3v1(const QByteArray &title) { return ("TAG" + title).leftJustified(128, '\0'); }
// A meta event; its length is one byte unless given.
QByteArray meta(char type, const QByteArray &text, const QByteArray &length = QByteArray())
{
    return QByteArray("\x00\xff", 2) + type + (length.isNull() ? QByteArray(1, char(text.size())) : length) + text;
}
QByteArray fixedField(const QByteArray &text) { return QByteArray(512, '\0').replace(122, text.size(), text); }

} // namespace

class TestSongTitle : public QObject {
    Q_OBJECT

    DriveFixture files{false};

private slots:
    void titles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("title");
        const QByteArray amore = frame("TIT2", 6, "Amore");
        const QByteArray kind = meta(0x01, "@KMIDI KARAOKE FILE");
        const QByteArray audio(500, char(0x11));
        const auto row = [](const char *tag, const char *name, const QByteArray &b, bool found, const QString &t) {
            QTest::newRow(tag) << QString(name) << b << found << t; };
        row("TIT2 first", "a.mp3", tagOf(amore) + audio, true, "Amore");
        row("artist first", "a.mp3", tagOf(frame("TPE1", 5, "Mina") + amore) + audio, false, "");
        row("size byte 0x80", "a.mp3", id3Header("\0\0\0\x80") + amore + audio, true, "Amore");
        row("size byte 0x81", "a.mp3", id3Header("\0\0\0\x81") + amore + audio, false, "");
        row("frame size 0", "a.mp3", tagOf(frame("TIT2", 0, "Amore")), true, "");
        row("frame size 1", "a.mp3", tagOf(frame("TIT2", 1, "Amore")), true, "");
        row("frame size 500", "a.mp3", tagOf(frame("TIT2", 500, QByteArray(499, 'x'))), true, QString(128, 'x'));
        row("UTF-16", "a.mp3", tagOf(frame("TIT2", 9, QByteArray("\xff\xfe" "A\0m\0o\0", 8), 1)), true,
            QString::fromUtf8("\xff\xfe" "A"));
        row("ID3v1 only", "a.mp3", audio + id3v1("Nel blu"), true, "Nel blu");
        row("ID3v1 past the buffer", "a.mp3", QByteArray(40000, 0x11) + id3v1("Far"), true, "Far");
        row("128 bytes", "a.mp3", id3v1("Short"), false, "");
        row("both tags", "a.mp3", tagOf(amore) + audio + id3v1("Other"), true, "Amore");
        row("notice then name", "a.mid", meta(0x02, "(c) 1958") + meta(0x03, "Volare"), true, "Volare");
        row("notice stepped into", "a.mid", meta(0x02, "x\xff\x03\x04" "Fake") + meta(0x03, "Volare"), true, "Fake");
        row("text then @T", "a.kar", kind + meta(0x01, "@TAzzurro") + meta(0x01, "@TPaolo"), true, "Azzurro");
        row("exactly @T", "A.KAR", kind + meta(0x01, "@T"), true, "");
        row("length past the end", "a.mid", meta(0x03, QByteArray(), "\x81"), true, "");
        row("name past 30000 bytes", "a.mid", QByteArray(30000, '\0') + meta(0x03, "Late"), false, "");
        row("mf3 leading spaces", "a.mf3", fixedField("   Word "), true, "Word ");
        row("mf4 spaces only", "a.mf4", fixedField("     "), false, "");
        row("mf5", "a.mf5", fixedField(" Più"), true, "Più");
        // The whole path chooses the reader: a MIDI file in "x.mp3" goes to the MP3 reader.
        row("mid in x.mp3 folder", "x.mp3/y.mid", DriveFixture::midiBytes("Volare"), false, "");
    }
    void titles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, found);
        QFETCH(QString, title);
        SongTitleReader reader;
        reader.songTitle = "untouched";
        reader.titleFound = true;   // the read must clear it itself
        QCOMPARE(reader.readSongTitle(QFileInfo(files.writeFile(QString(QTest::currentDataTag()) + "/" + name, bytes)), false), found);
        QCOMPARE(reader.titleFound, found);
        QCOMPARE(reader.songTitle, found ? title : QString("untouched"));
    }

    // One buffer serves every read: a shorter file must never see the longer one's bytes.
    void noStaleBytes()
    {
        const QStringList names{"s.mid", "s.mf3"};
        const QList<QByteArray> longer{QByteArray(20000, '\0') + meta(0x03, "Stale"), fixedField("Stale")};
        for (int i = 0; i < names.size(); ++i) {
            SongTitleReader reader;
            QVERIFY(reader.readSongTitle(QFileInfo(files.writeFile("long/" + names[i], longer[i])), false));
            QVERIFY2(!reader.readSongTitle(QFileInfo(files.writeFile("short/" + names[i], QByteArray(100, '\0'))), false), qPrintable(names[i]));
        }
    }

};

QTEST_GUILESS_MAIN(TestSongTitle)
#include "tst_songtitle.moc"
