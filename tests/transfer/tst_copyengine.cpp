// The copy engine: its prompts and their answers, the result rule, the bar, Stop, and the faults
// where nothing may be lost.
#include <QtTest>

#include "tests/transfer/transfertesting.h"
#include "transfer/copyengine.h"

using transfer::copyFileList;

class TestCopyEngine : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp;
    QString src, dst;

    // Sources under src/<name> with the content "new <name>".
    QStringList sources(const QStringList &names)
    {
        QStringList out;
        for (const QString &n : names) {
            writeBytes(src + n, "new " + n.toUtf8());
            out << src + n;
        }
        return out;
    }
    QStringList leftovers(const QString &folder)
    {
        return QDir(folder).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden);
    }

private slots:
    void init()
    {
        QVERIFY(tmp.isValid());
        QDir(tmp.path()).removeRecursively();
        QDir().mkpath(tmp.path());
        src = tmp.path() + QStringLiteral("/src/");
        dst = tmp.path() + QStringLiteral("/dst/");
    }

    void copiesKeepingRelativePathsAndCountsOnTheBar()
    {
        EngineRig rig;
        const QStringList files = sources({"a.mid", "Rock/b.mp3", "Rock/Deep/c.kar"});
        const QDateTime recorded(QDate(2009, 5, 1), QTime(12, 30));
        {
            QFile f(files[0]);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(recorded, QFileDevice::FileModificationTime));
        }
        QVERIFY(copyFileList(rig.ctx, files, dst, src));
        QCOMPARE(QFileInfo(dst + "a.mid").lastModified(), recorded);
        for (const QString &n : {"a.mid", "Rock/b.mp3", "Rock/Deep/c.kar"})
            QCOMPARE(readBytes(dst + n), QByteArray("new ") + n);
        QCOMPARE(rig.progress.values, (QList<int>{0, 1, 2, 3, 0}));
        QCOMPARE(rig.progress.maximum(), 3);
        QCOMPARE(rig.progress.format(), QStringLiteral("%p%"));
        QVERIFY(rig.dialogs.prompts.isEmpty());
        QVERIFY(leftovers(dst + "Rock").isEmpty());
    }

    void emptyListResetsTheBar()
    {
        EngineRig rig;
        rig.progress.setMaximum(7);
        QVERIFY(copyFileList(rig.ctx, {}, dst, src));
        QCOMPARE(rig.progress.maximum(), 0);
        QCOMPARE(rig.progress.value(), 0);
        QCOMPARE(rig.progress.format(), QStringLiteral("%p%"));
        QVERIFY(rig.dialogs.prompts.isEmpty());
    }

    void existsPrompt_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<QList<bool>>("replaced");   // for a.mid, b.mid
        QTest::newRow("it Si then No") << 0 << QStringList{"Si", "No"} << QList<bool>{true, false};
        QTest::newRow("it No then Si") << 0 << QStringList{"No", "Si"} << QList<bool>{false, true};
        QTest::newRow("it Si,Tutti") << 0 << QStringList{"Si,Tutti"} << QList<bool>{true, true};
        QTest::newRow("en Yes then No") << 1 << QStringList{"<Yes>", "<No>"} << QList<bool>{true, false};
        QTest::newRow("en Yes to All") << 1 << QStringList{"<Yes to All>"} << QList<bool>{true, true};
        QTest::newRow("other language reads English") << 5 << QStringList{"<No>", "<No>"} << QList<bool>{false, false};
    }
    void existsPrompt()
    {
        QFETCH(int, language);
        QFETCH(QStringList, replies);
        QFETCH(QList<bool>, replaced);
        EngineRig rig;
        rig.state.currentLanguage = language;
        for (const QString &r : replies)
            rig.dialogs.answer(r);
        writeBytes(dst + "a.mid", "old a.mid");
        writeBytes(dst + "b.mid", "old b.mid");
        const QStringList files = sources({"a.mid", "b.mid"});

        // Skipping the last file by choice still counts as success.
        QVERIFY(copyFileList(rig.ctx, files, dst, src));
        QVERIFY2(rig.dialogs.failures.isEmpty(), qPrintable(rig.dialogs.failures.join('\n')));
        QCOMPARE(rig.dialogs.prompts.size(), replies.size());
        QCOMPARE(readBytes(dst + "a.mid"), QByteArray(replaced[0] ? "new a.mid" : "old a.mid"));
        QCOMPARE(readBytes(dst + "b.mid"), QByteArray(replaced[1] ? "new b.mid" : "old b.mid"));

        const ScriptedDialogs::Prompt &p = rig.dialogs.prompts.first();
        const QString d = dst + "a.mid";   // the destination is named, not the source
        if (language == 0) {
            QCOMPARE(p.title, QStringLiteral("File Esistente"));
            QCOMPARE(p.text, QString::fromUtf8("Il File\n") + d + QString::fromUtf8("\nEsiste già. Vuoi sostituirlo? "));
            QCOMPARE(p.captions(), (QStringList{"Si", "No", "Si,Tutti"}));
        } else {
            QCOMPARE(p.title, QStringLiteral("File Already Exists"));
            QCOMPARE(p.text, QStringLiteral("File\n") + d + QStringLiteral("\nAlready exists. Replace it? "));
            QCOMPARE(p.captions(), (QStringList{"<Yes>", "<No>", "<Yes to All>"}));
        }
        QCOMPARE(p.buttons[0].role, BoxRole::Yes);
        QCOMPARE(p.buttons[1].role, BoxRole::No);
        QCOMPARE(p.buttons[2].role, BoxRole::YesToAll);
        QCOMPARE(p.icon, BoxIcon::Question);
        QCOMPARE(p.defaultButton, 0);
        QCOMPARE(p.parent, nullptr);
        QVERIFY(leftovers(dst).isEmpty());
    }

    void replaceAllHoldsForOneRunOnly()
    {
        EngineRig rig;
        writeBytes(dst + "a.mid", "old");
        const QStringList files = sources({"a.mid"});
        rig.dialogs.answer("Si,Tutti");
        QVERIFY(copyFileList(rig.ctx, files, dst, src));
        rig.dialogs.answer("No");
        QVERIFY(copyFileList(rig.ctx, files, dst, src));
        QCOMPARE(rig.dialogs.prompts.size(), 2);
        QVERIFY(rig.dialogs.failures.isEmpty());
    }

    void copyErrorBox_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("barValue");   // where the bar was left
        QTest::addColumn<QString>("barFormat");
        // Three sources that do not exist, then a good one.
        QTest::newRow("Si: asked each time, goes on") << 0 << "Si" << 3 << 0 << "%p%";
        QTest::newRow("Continua sempre: asked once, goes on") << 1 << "Continua sempre" << 1 << 0 << "%p%";
        QTest::newRow("No: ends the run at once") << 1 << "No" << 1 << 0 << "%v";
    }
    void copyErrorBox()
    {
        QFETCH(int, language);
        QFETCH(QString, reply);
        QFETCH(int, boxes);
        QFETCH(int, barValue);
        QFETCH(QString, barFormat);
        EngineRig rig;
        rig.state.currentLanguage = language;
        for (int i = 0; i < 3; ++i)
            rig.dialogs.answer(reply);
        const QStringList files = QStringList{src + "gone1.mid", src + "gone2.mid", src + "gone3.mid"} + sources({"ok.mid"});

        const bool result = copyFileList(rig.ctx, files, dst, src);
        // The last file decides: copied after Si or Continua sempre, never reached after No.
        QCOMPARE(result, reply != "No");
        QCOMPARE(rig.dialogs.prompts.size(), boxes);
        QCOMPARE(rig.progress.value(), barValue);
        QCOMPARE(rig.progress.format(), barFormat);
        QCOMPARE(QFileInfo::exists(dst + "ok.mid"), reply != "No");

        // The box speaks Italian whatever the language.
        const ScriptedDialogs::Prompt &p = rig.dialogs.prompts.first();
        QCOMPARE(p.title, QStringLiteral("Errore sulla copia"));
        QCOMPARE(p.text, QStringLiteral("Il File\n") + dst + "gone1.mid"
                             + QString::fromUtf8("\non è stato copiato. Vuoi continuare a copiare? "));
        QCOMPARE(p.captions(), (QStringList{"Si", "No", "Continua sempre"}));
        QCOMPARE(p.buttons[2].role, BoxRole::Cancel);
        QCOMPARE(p.icon, BoxIcon::Question);
        QCOMPARE(p.defaultButton, 0);
        QCOMPARE(p.parent, nullptr);
        QVERIFY(leftovers(dst).isEmpty());
    }

    void lastFileDecides_data()
    {
        QTest::addColumn<bool>("lastFails");
        QTest::newRow("first fails, last copied") << false;
        QTest::newRow("first copied, last fails") << true;
    }
    void lastFileDecides()
    {
        QFETCH(bool, lastFails);
        EngineRig rig;
        rig.dialogs.answer("Si");
        const QStringList good = sources({"good.mid"});
        const QString missing = src + "missing.mid";
        const QStringList files = lastFails ? QStringList{good[0], missing} : QStringList{missing, good[0]};
        QCOMPARE(copyFileList(rig.ctx, files, dst, src), !lastFails);
        QCOMPARE(rig.dialogs.prompts.size(), 1);
    }

    void stopEndsTheRunAfterTheFileInHand()
    {
        EngineRig rig;
        const QStringList files = sources({"1.mid", "2.mid", "3.mid", "4.mid"});
        atNextEvents([&rig] { rig.state.stopRequested = true; });
        QVERIFY(!copyFileList(rig.ctx, files, dst, src));
        QVERIFY(QFileInfo::exists(dst + "1.mid"));
        QVERIFY(!QFileInfo::exists(dst + "2.mid"));
        QCOMPARE(rig.progress.value(), 1);
        QCOMPARE(rig.progress.format(), QStringLiteral("%v"));
    }

    void folderThatCannotBeCreatedEndsTheRun_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("it") << 0 << "ERRORE";
        QTest::newRow("en") << 1 << "ERROR";
    }
    void folderThatCannotBeCreatedEndsTheRun()
    {
        QFETCH(int, language);
        QFETCH(QString, title);
        EngineRig rig;
        rig.state.currentLanguage = language;
        rig.state.operationOk = true;
        rig.dialogs.answer("Ok");
        writeBytes(dst + "Blocked", "a file where a folder is needed");
        const QStringList files = sources({"Blocked/a.mid", "b.mid"});
        QVERIFY(!copyFileList(rig.ctx, files, dst, src));
        QVERIFY(!rig.state.operationOk);
        QCOMPARE(rig.dialogs.prompts.size(), 1);
        const ScriptedDialogs::Prompt &p = rig.dialogs.prompts.first();
        QCOMPARE(p.title, title);
        QCOMPARE(p.text, title);
        QCOMPARE(p.captions(), QStringList{"Ok"});
        QCOMPARE(p.icon, BoxIcon::Information);
        QCOMPARE(p.parent, &rig.window);
        QVERIFY(!QFileInfo::exists(dst + "b.mid"));
        QCOMPARE(rig.progress.format(), QStringLiteral("%v"));
    }

    void doubledSeparatorAtTheJunctionIsAccepted()
    {
        EngineRig rig;
        const QStringList files = sources({"Songs/a.mid"});
        // Source root without its separator: the relative part starts with "/".
        QVERIFY(copyFileList(rig.ctx, files, dst, tmp.path() + "/src"));
        QCOMPARE(readBytes(dst + "Songs/a.mid"), QByteArray("new Songs/a.mid"));
    }

    void foldersAreCutAtSlashesAndBackslashBlank()
    {
        const QString target = dst + "x\\ y/z/song.mid";
        QVERIFY(transfer::createFoldersFor(target));
        QVERIFY(QFileInfo(dst + "x/y/z").isDir());
        QVERIFY(!QFileInfo::exists(dst + "x/y/z/song.mid"));
        // A backslash not followed by a blank is part of the name.
        QVERIFY(transfer::createFoldersFor(dst + "p\\q/r.mid"));
        QVERIFY(QFileInfo(dst + "p\\q").isDir());
    }

    // Faults: nothing the user did not agree to lose may be lost.

    void replacedFileSurvivesAFailedCopy()
    {
        EngineRig rig;
        writeBytes(dst + "keep.mid", "the only good copy");
        rig.dialogs.answer("Si");   // replace it
        rig.dialogs.answer("Si");   // after the failure, go on
        QVERIFY(!copyFileList(rig.ctx, {src + "keep.mid"}, dst, src));   // the source is missing
        QCOMPARE(readBytes(dst + "keep.mid"), QByteArray("the only good copy"));
        QVERIFY(leftovers(dst).isEmpty());
    }

    void replacedFileThatCannotBeReplacedStays()
    {
        EngineRig rig;
        const QString folder = dst + "Locked";
        writeBytes(folder + "/keep.mid", "old");
        if (!makeImmutable(folder))
            QSKIP("chattr +i is not available here: no folder can be locked against root");
        rig.dialogs.answer("Si");
        rig.dialogs.answer("Si");
        const bool result = copyFileList(rig.ctx, sources({"Locked/keep.mid"}), dst, src);
        makeImmutable(folder, false);
        QVERIFY(!result);
        QCOMPARE(readBytes(folder + "/keep.mid"), QByteArray("old"));
        QVERIFY(leftovers(folder).isEmpty());
    }

    void sourceVanishingMidRunIsOneFailedCopy()
    {
        EngineRig rig;
        const QStringList files = sources({"1.mid", "2.mid", "3.mid"});
        atNextEvents([&] { QFile::remove(files[1]); });
        rig.dialogs.answer("Si");
        QVERIFY(copyFileList(rig.ctx, files, dst, src));
        QCOMPARE(rig.dialogs.titles(), QStringList{"Errore sulla copia"});
        QVERIFY(rig.dialogs.prompts.first().text.contains(dst + "2.mid"));
        QVERIFY(!QFileInfo::exists(dst + "2.mid"));
        QCOMPARE(readBytes(dst + "3.mid"), QByteArray("new 3.mid"));
        QVERIFY(leftovers(dst).isEmpty());
    }

    void destinationThatFillsUp()
    {
        if (!runningAsRoot())
            QSKIP("mounting a small disk image needs root");
        SmallDisk disk(tmp.path(), 8);
        if (!disk.mounted)
            QSKIP("no loop device could be mounted here");
        const QString target = disk.mountPoint + "/";
        writeBytes(target + "keep.bin", QByteArray(100 * 1024, 'o'));
        const qint64 room = disk.available();
        QVERIFY(room > 1024 * 1024);
        const int big = int(room * 2 / 5);
        writeBytes(src + "big1.bin", QByteArray(big, '1'));
        writeBytes(src + "big2.bin", QByteArray(big, '2'));
        writeBytes(src + "big3.bin", QByteArray(big, '3'));      // no room left for this one
        writeBytes(src + "keep.bin", QByteArray(big, 'n'));      // nor for the new keep.bin
        EngineRig rig;
        rig.dialogs.answer("Continua sempre");
        rig.dialogs.answer("Si");   // replace keep.bin
        const QStringList files{src + "big1.bin", src + "big2.bin", src + "big3.bin", src + "keep.bin"};
        QVERIFY(!copyFileList(rig.ctx, files, target, src));
        QCOMPARE(rig.dialogs.titles(), (QStringList{"Errore sulla copia", "File Esistente"}));
        QCOMPARE(readBytes(target + "big1.bin"), QByteArray(big, '1'));
        QCOMPARE(readBytes(target + "big2.bin"), QByteArray(big, '2'));
        QVERIFY(!QFileInfo::exists(target + "big3.bin"));
        QCOMPARE(readBytes(target + "keep.bin"), QByteArray(100 * 1024, 'o'));
        QVERIFY(leftovers(target).isEmpty());
    }

    void cleanup()
    {
        QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(TestCopyEngine)
#include "tst_copyengine.moc"
