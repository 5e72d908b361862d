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

        // The first box names the destination; the copy-error box is Italian in every language.
        const QString d = dst + files.filter(QRegularExpression("old|gone")).first();
        QStringList wording;   // title, text, captions
        if (!d.contains("old"))
            wording << "Errore sulla copia" << "Il File\n" + d + "\non è stato copiato. Vuoi continuare a copiare? "
                    << "Si|No|Continua sempre";
        else if (language == 0)
            wording << "File Esistente" << "Il File\n" + d + "\nEsiste già. Vuoi sostituirlo? " << "Si|No|Si,Tutti";
        else
            wording << "File Already Exists" << "File\n" + d + "\nAlready exists. Replace it? " << "<Yes>|<No>|<Yes to All>";
        const ScriptedDialogs::Prompt &p = rig.dialogs.prompts.first();
        QCOMPARE((QStringList{p.title, p.text, p.captions().join('|')}), wording);
        QCOMPARE(p.buttons[2].role, d.contains("old") ? BoxRole::YesToAll : BoxRole::Cancel);
        QCOMPARE(p.parent, nullptr);
    }

    void stopEndsTheRunAfterTheFileInHand()
    {
        EngineRig rig;
        QTimer::singleShot(0, [&rig] { rig.state.stopRequested = true; });   // Stop pressed during the run
        QVERIFY(!copyFileList(rig.ctx, sources({"1.mid", "2.mid", "3.mid"}), dst, src));
        QCOMPARE(QDir(dst).entryList(QDir::Files), QStringList{"1.mid"});
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
