// The copy engine: its boxes and answers, the result rule, Stop, and faults that must lose nothing.
#include <QtTest>

#include "tests/transfer/transfertesting.h"
#include "transfer/copyengine.h"

using transfer::copyFileList;

class TestCopyEngine : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    const QString src = tmp.path() + "/src/", dst = tmp.path() + "/dst/";

    // Sources below src holding "new <name>"; a name holding "gone" is listed but missing.
    QStringList sources(const QStringList &names)
    {
        QStringList out;
        QDir().mkpath(src);
        for (const QString &n : names) {
            if (!n.contains("gone"))
                writeBytes(src + n, "new " + n.toUtf8());
            out << src + n;
        }
        return out;
    }

private slots:
    void init()
    {
        QDir(src).removeRecursively();
        QDir(dst).removeRecursively();
    }

    // The exists prompt and the copy-error box, and what each answer does. A name holding "old"
    // is already at the destination; one holding "gone" is a missing source, so its copy fails.
    void answers_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<QString>("after");   // each file afterwards: n new, o old, - none
        QTest::addColumn<bool>("result");     // the last file decides
        const QStringList old{"old1.mid", "old2.mid"}, twoGone{"gone1.mid", "gone2.mid", "ok.mid"};
        QTest::newRow("it Si, No") << 0 << old << QStringList{"Si", "No"} << "no" << true;
        QTest::newRow("it Si,Tutti") << 0 << old << QStringList{"Si,Tutti"} << "nn" << true;
        QTest::newRow("en No, Yes") << 1 << old << QStringList{"<No>", "<Yes>"} << "on" << true;
        QTest::newRow("other language reads English") << 5 << old << QStringList{"<Yes to All>"} << "nn" << true;
        QTest::newRow("error Si: asked each time") << 1 << twoGone << QStringList{"Si", "Si"} << "--n" << true;
        QTest::newRow("error Continua sempre: asked once") << 1 << twoGone << QStringList{"Continua sempre"} << "--n" << true;
        QTest::newRow("error No: ends the run") << 1 << twoGone << QStringList{"No"} << "---" << false;
        QTest::newRow("last file fails") << 0 << QStringList{"ok.mid", "gone1.mid"} << QStringList{"Si"} << "n-" << false;
        QTest::newRow("all fail") << 1 << QStringList{"gone1.mid", "gone2.mid"} << QStringList{"Continua sempre"} << "--" << false;
        QTest::newRow("replaced file whose copy fails stays") << 1 << QStringList{"gone-old.mid"} << QStringList{"<Yes>", "Si"} << "o" << false;
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
        QString now;
        for (const QString &name : files) {
            const QByteArray content = readBytes(dst + name);
            now += content.isEmpty() ? '-' : content == "old" ? 'o' : 'n';
        }
        QCOMPARE(now, after);

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
        QVERIFY(QFileInfo::exists(dst + "1.mid"));
        QVERIFY(!QFileInfo::exists(dst + "2.mid"));
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
