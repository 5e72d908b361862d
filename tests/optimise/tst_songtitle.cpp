#include "optimise/songtitle.h"
#include "tests/common/drivefixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray be32(quint32 v)
{
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((v >> shift) & 0xff);
    return out;
}

// "ID3" v2.4 header with the four size bytes as given.
QByteArray id3Header(const QByteArray &sizeBytes)
{
    return QByteArray("ID3\x04\x00\x00", 6) + sizeBytes;
}

QByteArray raw(int b6, int b7, int b8, int b9)
{
    return QByteArray() + char(b6) + char(b7) + char(b8) + char(b9);
}

QByteArray synchsafe(quint32 size)
{
    return QByteArray() + char((size >> 21) & 0x7f) + char((size >> 14) & 0x7f)
           + char((size >> 7) & 0x7f) + char(size & 0x7f);
}

QByteArray frame(const char *id, quint32 size, const QByteArray &payload, char encoding = 3)
{
    return QByteArray(id) + be32(size) + QByteArray(2, '\0') + encoding + payload;
}

QByteArray tagOf(const QByteArray &frames)
{
    return id3Header(synchsafe(quint32(frames.size()) + 32)) + frames + QByteArray(32, '\0');
}

QByteArray id3v1(const QByteArray &title)
{
    QByteArray tag = "TAG" + title.left(30);
    tag.append(128 - tag.size(), '\0');
    return tag;
}

QByteArray audio(int size)
{
    return QByteArray(size, char(0x11));
}

QByteArray meta(char type, const QByteArray &lengthBytes, const QByteArray &text)
{
    return QByteArray("\x00\xff", 2) + type + lengthBytes + text;
}

QByteArray meta(char type, const QByteArray &text)
{
    return meta(type, QByteArray(1, char(text.size())), text);
}

} // namespace

class TestSongTitle : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString writeSong(const QString &relative, const QByteArray &content)
    {
        const QString path = dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    void addRow(const char *name, const QByteArray &bytes, bool found, const QString &title = QString())
    {
        QTest::newRow(name) << bytes << found << title;
    }
    void checkRead(const QString &fileName)
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, found);
        QFETCH(QString, title);
        SongTitleReader reader;
        reader.songTitle = QStringLiteral("untouched");
        QCOMPARE(reader.readSongTitle(QFileInfo(writeSong(fileName, bytes)), false), found);
        QCOMPARE(reader.titleFound, found);
        QCOMPARE(reader.songTitle, found ? title : QStringLiteral("untouched"));
    }
    void titleColumns()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("title");
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void mp3_data()
    {
        titleColumns();
        const QByteArray amore = frame("TIT2", 6, "Amore");
        addRow("TIT2 first", tagOf(amore) + audio(500), true, "Amore");
        addRow("fixture writer", DriveFixture::mp3Bytes(QStringLiteral("Città")), true, "Città");
        addRow("artist frame first", tagOf(frame("TPE1", 5, "Mina") + amore) + audio(500), false);
        addRow("size byte 0x80", id3Header(raw(0, 0, 0, 0x80)) + amore + audio(500), true, "Amore");
        addRow("size byte 0x81", id3Header(raw(0, 0, 0, 0x81)) + amore + audio(500), false);
        addRow("size byte 0x81 first", id3Header(raw(0x81, 0, 0, 0x10)) + amore + audio(500), false);
        addRow("tag too small to reach the frame", id3Header(synchsafe(0)) + amore + audio(500), false);
        addRow("first T in the header", id3Header(raw(0, 0, 1, 0x54)) + amore + audio(500), false);
        addRow("frame size 0", tagOf(frame("TIT2", 0, "Amore")), true, "");
        addRow("frame size 1", tagOf(frame("TIT2", 1, "Amore")), true, "");
        addRow("frame size 500", tagOf(frame("TIT2", 500, QByteArray(499, 'x'))), true,
               QString(128, 'x'));
        addRow("frame size above 2^31", tagOf(frame("TIT2", 0xfffffff0u, "Amore")), true, "Amore");
        addRow("stops at zero byte", tagOf(frame("TIT2", 12, QByteArray("Ciao\0mondo!", 11))), true,
               "Ciao");
        addRow("UTF-16 text", tagOf(frame("TIT2", 9, QByteArray("\xff\xfe" "A\0m\0o\0", 8), 1)),
               true, QString::fromUtf8("\xff\xfe" "A"));
        addRow("text cut at end of file", id3Header(synchsafe(100)) + frame("TIT2", 60, "Vol"), true,
               "Vol");
        addRow("frame size cut off", id3Header(synchsafe(100)) + QByteArray("TIT2\0\0", 6), false);
        addRow("header only", QByteArray("ID3\x04\x00\x00\x00\x00", 8), false);
        addRow("ID3v1 only", audio(500) + id3v1("Nel blu dipinto di blu"), true,
               "Nel blu dipinto di blu");
        addRow("ID3v1 30 bytes", audio(10) + id3v1(QByteArray(40, 'y')), true, QString(30, 'y'));
        addRow("ID3v1 in 128 bytes", id3v1("Short"), false);
        addRow("ID3v1 in 129 bytes", audio(1) + id3v1("Short"), true, "Short");
        addRow("ID3v1 beyond the buffer", audio(40000) + id3v1("Far"), true, "Far");
        addRow("TAG not at the end", id3v1("Early") + audio(200), false);
        addRow("both tags", tagOf(amore) + audio(500) + id3v1("Other"), true, "Amore");
        addRow("both tags, ID3v2 without title",
               tagOf(frame("TALB", 4, "Duo")) + audio(500) + id3v1("Other"), false);
    }
    void mp3() { checkRead(QStringLiteral("song.mp3")); }

    void midi_data()
    {
        titleColumns();
        const QByteArray kind = meta(0x01, "@KMIDI KARAOKE FILE");
        addRow("track name", meta(0x03, "Volare"), true, "Volare");
        addRow("fixture midi", DriveFixture::midiBytes(QStringLiteral("Volare")), true, "Volare");
        addRow("fixture karaoke", DriveFixture::karaokeBytes(QStringLiteral("Azzurro")), true,
               "Azzurro");
        addRow("notice then track name", meta(0x02, "(c) 1958") + meta(0x03, "Volare"), true,
               "Volare");
        addRow("notice searched from its second byte",
               meta(0x02, "x\xff\x03\x04" "Fake") + meta(0x03, "Volare"), true, "Fake");
        addRow("text then @T", kind + meta(0x01, "@TAzzurro") + meta(0x01, "@TPaolo Conte"), true,
               "Azzurro");
        addRow("other text skipped whole", meta(0x01, "x\xff\x03\x02no") + meta(0x01, "@TYes"), true,
               "Yes");
        addRow("track name before @T", meta(0x03, "Name") + meta(0x01, "@TTitle"), true, "Name");
        addRow("@T before track name", meta(0x01, "@TTitle") + meta(0x03, "Name"), true, "Title");
        addRow("exactly @T", kind + meta(0x01, "@T"), true, "");
        addRow("empty track name", meta(0x03, ""), true, "");
        addRow("zero byte in name", meta(0x03, QByteArray("ab\0cd", 5)), true, "ab");
        addRow("two-byte length", meta(0x03, "\x81\x10", QByteArray(200, 'n')), true,
               QString(128, 'n'));
        addRow("length capped at four bytes", meta(0x03, "\x80\x80\x80\x82", "XYZ"), true, "XY");
        addRow("length past the end", meta(0x03, "\x81", QByteArray()), true, "");
        addRow("text past the end", meta(0x03, "\x0a", "abc"), true, "abc");
        addRow("type byte is last", QByteArray("MThd\x00\xff\x03", 7), true, "");
        addRow("0xFF is last", QByteArray("MThd\x00\xff", 6), false);
        addRow("other meta events", meta(0x2f, "") + meta(0x51, "\x07\xa1\x20"), false);
        addRow("no meta events", QByteArray("MThd\x00\x00\x00\x06", 8), false);
        addRow("@T beyond 30000 bytes", QByteArray(30000, '\0') + meta(0x03, "Late"), false);
    }
    void midi() { checkRead(QStringLiteral("song.mid")); }

    void readVarLen_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("limit");
        QTest::addColumn<uint>("value");
        QTest::addColumn<int>("cursor");
        QTest::newRow("one byte") << QByteArray("\x40\x7f") << 2 << 0x40u << 1;
        QTest::newRow("two bytes") << QByteArray("\x81\x00", 2) << 2 << 128u << 2;
        QTest::newRow("largest") << QByteArray("\xff\xff\xff\x7f") << 4 << 0x0fffffffu << 4;
        QTest::newRow("four at most") << QByteArray("\x81\x80\x80\x80\x01") << 5 << 0x200000u << 4;
        QTest::newRow("cut by limit") << QByteArray("\x81\x81\x01") << 2 << 129u << 2;
        QTest::newRow("limit 0") << QByteArray("\x05") << 0 << 0u << 0;
    }
    void readVarLen()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, limit);
        int cursor = 0;
        QTEST(uint(titlebytes::readVarLen(bytes.constData(), cursor, limit)), "value");
        QTEST(cursor, "cursor");
    }

    void fixedField_data()
    {
        titleColumns();
        QTest::addColumn<QString>("name");
        auto field = [](const QByteArray &text, int total = 512) {
            QByteArray out(total, '\0');
            out.replace(0, 4, "MF3\x01");
            out.replace(122, std::min(text.size(), total - 122), text.left(total - 122));
            return out;
        };
        QTest::newRow("leading spaces") << field("   Word") << true << "Word" << "a.mf3";
        QTest::newRow("spaces only") << field("     ") << false << "" << "a.mf4";
        QTest::newRow("tab stays") << field("\tWord") << true << "\tWord" << "a.mf5";
        QTest::newRow("trailing spaces stay") << field(" Word  ") << true << "Word  " << "a.MF3";
        QTest::newRow("empty field") << field("") << false << "" << "a.mf3";
        QTest::newRow("full field") << field(QByteArray(200, 'w')) << true << QString(128, 'w')
                                    << "a.mf3";
        QTest::newRow("field cut by end of file") << field("Parola", 125) << true << "Par" << "a.mf3";
        QTest::newRow("file ends before field") << field("", 122) << false << "" << "a.mf3";
        QTest::newRow("fixture writer") << DriveFixture::fixedFieldBytes(QStringLiteral("Più"))
                                        << true << "Più" << "a.mf4";
    }
    void fixedField()
    {
        QFETCH(QString, name);
        checkRead(name);
    }

    // Every reader reuses one buffer; a shorter file must never see the longer one's bytes.
    void noStaleBytes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("longer");
        QTest::addColumn<QByteArray>("shorter");
        QTest::newRow("midi") << "s.mid" << QByteArray(20000, '\0') + meta(0x03, "Stale")
                              << QByteArray(100, '\0');
        QTest::newRow("fixed") << "s.mf3" << DriveFixture::fixedFieldBytes(QStringLiteral("Stale"))
                               << QByteArray(100, '\0');
        QTest::newRow("mp3") << "s.mp3" << tagOf(frame("TIT2", 6, "Stale")) + audio(30000)
                             << id3Header(synchsafe(30000)) + QByteArray(10, '\0');
        QTest::newRow("mp3 v1") << "s.mp3" << audio(2000) + id3v1("Stale") << audio(1000);
    }
    void noStaleBytes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, longer);
        QFETCH(QByteArray, shorter);
        SongTitleReader reader;
        QVERIFY(reader.readSongTitle(QFileInfo(writeSong("long/" + name, longer)), false));
        QCOMPARE(reader.songTitle, QStringLiteral("Stale"));
        QVERIFY(!reader.readSongTitle(QFileInfo(writeSong("short/" + name, shorter)), false));
        QCOMPARE(reader.songTitle, QStringLiteral("Stale"));   // left as it was
    }

    void dispatch_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("fallback");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("found");
        const QByteArray mp3 = DriveFixture::mp3Bytes(QStringLiteral("T"));
        const QByteArray mid = DriveFixture::midiBytes(QStringLiteral("T"));
        const int Mp3 = int(SongTitleReader::Kind::Mp3), Midi = int(SongTitleReader::Kind::Midi),
                  Fixed = int(SongTitleReader::Kind::FixedField),
                  None = int(SongTitleReader::Kind::None);
        QTest::newRow("mid in x.mp3 folder") << "x.mp3/y.mid" << mid << false << Mp3 << false;
        QTest::newRow("mp3 bytes in x.mp3 folder") << "x.Mp3/z.mid" << mp3 << false << Mp3 << true;
        QTest::newRow("upper case") << "dir/SONG.MID" << mid << false << Midi << true;
        QTest::newRow("midi") << "dir/song.midi" << mid << false << Midi << true;
        QTest::newRow("kar") << "dir/song.kar" << mid << false << Midi << true;
        QTest::newRow(".mid before .mf3") << "dir/a.mf3.mid" << mid << false << Midi << true;
        QTest::newRow("mf5") << "dir/song.mf5" << mid << false << Fixed << false;
        QTest::newRow("no extension") << "dir/song.wav" << mp3 << false << None << false;
        QTest::newRow("fallback to mp3") << "dir/song.wav" << mp3 << true << Mp3 << true;
        QTest::newRow("missing file") << "dir/gone.mp3" << QByteArray() << false << Mp3 << false;
    }
    void dispatch()
    {
        QFETCH(QString, relative);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, fallback);
        const QString path = relative.startsWith("dir/gone") ? dir.filePath(relative)
                                                               : writeSong(relative, bytes);
        SongTitleReader reader;
        reader.titleFound = true;   // readSongTitle must clear it itself
        QTEST(int(reader.readerFor(QFileInfo(path), fallback)), "kind");
        QTEST(reader.readSongTitle(QFileInfo(path), fallback), "found");
        QTEST(reader.titleFound, "found");
    }

    void commandLineTool()
    {
        const QString tool = QCoreApplication::applicationDirPath() + "/corvel3-titles";
        QVERIFY2(QFileInfo(tool).isExecutable(), qPrintable("not built: " + tool));
        const QStringList files = {
            writeSong("cli/Caffè.mp3", DriveFixture::mp3Bytes(QStringLiteral("Caffè \"Nero\"\\1"))),
            writeSong("cli/notes.txt", "plain text"),
            writeSong("cli/a.b.kar", meta(0x01, "@TNel blu")),
            writeSong("cli/none.mid", QByteArray("MThd", 4)),
        };
        QProcess process;
        process.start(tool, files);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QList<QByteArray> lines = process.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), files.size());
        const QList<QJsonObject> expected = {
            {{"path", files[0]}, {"reader", "mp3"}, {"found", true},
             {"title", "Caffè \"Nero\"\\1"}, {"key", "Caffè \"Nero\"\\1.mp3"}},
            {{"path", files[1]}, {"reader", "none"}, {"found", false}, {"title", QJsonValue()},
             {"key", "notes.txt"}},
            {{"path", files[2]}, {"reader", "midi"}, {"found", true}, {"title", "Nel blu"},
             {"key", "Nel blu.b.kar"}},
            {{"path", files[3]}, {"reader", "midi"}, {"found", false}, {"title", QJsonValue()},
             {"key", "none.mid"}},
        };
        for (int i = 0; i < lines.size(); ++i) {
            QJsonParseError error;
            const QJsonDocument doc = QJsonDocument::fromJson(lines[i], &error);
            QVERIFY2(error.error == QJsonParseError::NoError, lines[i].constData());
            QCOMPARE(doc.object(), expected[i]);
        }
    }
};

QTEST_GUILESS_MAIN(TestSongTitle)
#include "tst_songtitle.moc"
