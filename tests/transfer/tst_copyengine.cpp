// The copy engine: its boxes and answers, the result rule, Stop, and faults that must lose nothing.
#include <QtTest>

#include "tests/transfer/transfertesting.h"
#include "transfer/copyengine.h"

using transfer::copyFileList;

class TestCopyEngine : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    const QString src = tmp.path() + "/src/", dst = tmp.path() + "/dst/";

    const QDateTime songDate = QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6, 789), Qt::UTC);

    // Sources below src holding "new <name>", dated songDate; a name holding "gone" is listed
    // but missing.
    QStringList sources(const QStringList &names)
    {
        QStringList out;
        QDir().mkpath(src);
        for (const QString &n : names) {
            if (!n.contains("gone")) {
                writeBytes(src + n, "new " + n.toUtf8());
                QFile song(src + n);
                song.open(QIODevice::ReadWrite);   // a date that cannot be set fails the comparison later
                song.setFileTime(songDate, QFileDevice::FileModificationTime);
            }
            out << src + n;
        }
        return out;
    }

    // A 40 MiB song, each 32-bit word its own offset (a piece lost or out of place shows), written
    // once for every test.
    const QString longFolder = tmp.path() + "/long/";
    static constexpr qint64 longSize = 40 << 20;
    QString longSong()
    {
        const QString path = longFolder + "long.mp3";
        if (QFileInfo(path).size() != longSize) {
            QByteArray pattern(longSize, Qt::Uninitialized);
            for (qint64 i = 0; i < longSize / 4; ++i)
                reinterpret_cast<quint32 *>(pattern.data())[i] = quint32(i * 4);
            writeBytes(path, pattern);
        }
        return path;
    }

private slots:
    void init() { QDir(src).removeRecursively(); QDir(dst).removeRecursively(); }

    // The exists prompt and the copy-error box, and what each answer does. A name holding "old"
    // is already at the destination; one holding "gone" is a missing source, so its copy fails.
    // Afterwards each destination file holds the new copy, the old file, or nothing.
    void answers_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<QString>("after");   // each destination file: new, old or none
        QTest::addColumn<bool>("result");     // the last file decides
        const QStringList old{"old1.mid", "old2.mid"}, gone{"gone1.mid", "gone2.mid", "ok.mid"};
        QTest::newRow("Si replaces, No keeps the old file") << 0 << old << QStringList{"Si", "No"} << "new old" << true;
        QTest::newRow("Si,Tutti replaces without asking again") << 0 << old << QStringList{"Si,Tutti"} << "new new" << true;
        QTest::newRow("in English, No keeps and Yes replaces") << 1 << old << QStringList{"<No>", "<Yes>"} << "old new" << true;
        QTest::newRow("another language reads English") << 5 << old << QStringList{"<Yes to All>"} << "new new" << true;
        QTest::newRow("a copy error answered Si asks again") << 1 << gone << QStringList{"Si", "Si"} << "none none new" << true;
        QTest::newRow("a copy error answered Continua sempre asks once") << 1 << gone << QStringList{"Continua sempre"} << "none none new" << true;
        QTest::newRow("a copy error answered No ends the run") << 1 << gone << QStringList{"No"} << "none none none" << false;
        QTest::newRow("a failed last file fails the run") << 0 << QStringList{"ok.mid", "gone1.mid"} << QStringList{"Si"} << "new none" << false;
        QTest::newRow("every file failing fails the run")
            << 1 << QStringList{"gone1.mid", "gone2.mid"} << QStringList{"Continua sempre"} << "none none" << false;
        QTest::newRow("a file to replace whose copy fails stays as it was")
            << 1 << QStringList{"gone-old.mid"} << QStringList{"<Yes>", "Si"} << "old" << false;
    }
    void answers()
    {
        QFETCH(int, language);
        QFETCH(QStringList, files);
        QFETCH(QStringList, replies);
        QFETCH(QString, after);
        QFETCH(bool, result);
        EngineRig rig(language, replies);
        for (const QString &name : files.filter("old"))
            writeBytes(dst + name, "old");
        QCOMPARE(copyFileList(rig.ctx, sources(files), dst, src), result);
        QVERIFY2(rig.dialogs.failures.isEmpty(), qPrintable(rig.dialogs.failures.join('\n')));
        QCOMPARE(rig.dialogs.prompts.size(), replies.size());
        QStringList now;
        for (const QString &name : files) {
            const QByteArray content = readBytes(dst + name);
            now << (content.isEmpty() ? "none" : content == "old" ? "old" : "new");
            if (now.last() == "new")   // a copy keeps the song's date
                QCOMPARE(QFileInfo(dst + name).lastModified().toUTC(), songDate);
        }
        QCOMPARE(now.join(' '), after);

        // The first box names the destination (its language shows in the captions the replies matched).
        const QString d = dst + files.filter(QRegularExpression("old|gone")).first();
        const ScriptedDialogs::Prompt &p = rig.dialogs.prompts.first();
        QVERIFY2(p.text.contains("\n" + d + "\n"), qPrintable(p.text));
        QCOMPARE(p.buttons[2].role, d.contains("old") ? BoxRole::YesToAll : BoxRole::Cancel);
        QCOMPARE(p.parent, nullptr);
    }

    // A long file goes in pieces, its bytes told between them. Stop pressed from that callback
    // ends it not copied: a file it was to replace keeps its bytes, and nothing is left beside it.
    void longFileInPieces_data()
    {
        QTest::addColumn<bool>("replacing");
        QTest::addColumn<bool>("hashed");   // the first MiB goes through the buffer
        QTest::addColumn<int>("stopAt");    // the callback that presses Stop, 0: none
        QTest::newRow("whole") << false << false << 0;
        QTest::newRow("whole, hashed, over an existing file") << true << true << 0;
        QTest::newRow("Stop, over an existing file") << true << false << 2;
        QTest::newRow("Stop, over an existing file, hashed") << true << true << 1;
        QTest::newRow("Stop, into a folder the run made") << false << false << 2;
        QTest::newRow("Stop, into a folder the run made, hashed") << false << true << 2;
    }
    void longFileInPieces()
    {
        QFETCH(bool, replacing);
        QFETCH(bool, hashed);
        QFETCH(int, stopAt);
        const QString song = longSong(), copy = dst + "long.mp3";
        QDir().mkpath(dst);
        if (replacing)
            writeBytes(copy, "old");
        QList<qint64> told;
        transfer::CopyWatch watch;
        watch.bytes = [&](qint64 done, qint64 size) {
            QVERIFY(done > (told.isEmpty() ? 0 : told.last()) && done < longSize && size == longSize);
            told << done;
        };
        watch.stop = [&] { return told.size() == stopAt; };
        QByteArray sha256;
        qint64 bytes = 0;
        const bool copied = transfer::copyWholeFile(song, copy, &bytes, !replacing, hashed ? &sha256 : nullptr, &watch);
        QCOMPARE(copied, stopAt == 0);
        QCOMPARE(QDir(dst).entryList(QDir::Files | QDir::Hidden), copied || replacing ? QStringList{"long.mp3"} : QStringList());
        if (stopAt) {
            QCOMPARE(told.size(), stopAt);   // not a piece more once Stop was seen
            if (replacing)
                QCOMPARE(readBytes(copy), QByteArray("old"));
        } else {
            QVERIFY(told.size() > 1);
            QCOMPARE(bytes, longSize);
            QVERIFY(readBytes(copy) == readBytes(song));
            QCOMPARE(QFileInfo(copy).lastModified(), QFileInfo(song).lastModified());
        }
    }

    void folderThatCannotBeCreatedEndsTheRunWithOneBox()
    {
        writeBytes(dst + "Blocked", "a file where a folder is needed");
        EngineRig rig(1, {"Ok"});
        QVERIFY(!copyFileList(rig.ctx, sources({"Blocked/a.mid", "Blocked/b.mid", "c.mid"}), dst, src));
        QCOMPARE(rig.dialogs.titles(), QStringList{"ERROR"});
        QVERIFY(!rig.state.operationOk && !QFileInfo::exists(dst + "c.mid"));
    }
};

QTEST_GUILESS_MAIN(TestCopyEngine)
#include "tst_copyengine.moc"
