// Backup and restore on real folders: where a backup may go, failures that must not end in "Fatto",
// damaged backups refused. Each row compares inventories of the player and the PC folder.
#include <QtTest>

#include "tests/common/drivefixture.h"
#include "tests/transfer/transfertesting.h"
#include "transfer/backup.h"
#include "transfer/backupmanifest.h"
#include "transfer/restore.h"

#include <cstdio>
#include <memory>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using Inventory = QMap<QString, QByteArray>;

class TestBackupRestore : public QObject {
    Q_OBJECT

    // A player with its system, songs in two folders and a playlist; what a backup must hold.
    static Inventory fillPlayer(DriveFixture &drive, int songs = 3)
    {
        drive.addPlaylist("Hits.pls", {"\\sdmemory\\Basi\\0.mid^x"});
        drive.writeFile("System/Playlist/.hidden.pls", "hidden playlists are saved and brought back too\r\n");
        for (int i = 0; i < songs; ++i)
            drive.writeMidi(QString("Basi/%1.mid").arg(i), QString("Song %1").arg(i));
        drive.writeMp3("Rock/a.mp3", "A");
        drive.writeMp3(QString::fromUtf8("Rock/Say \"hi\" a\\b\t\xc3\xa9 \xf0\x9f\x8e\xb5.mp3"), "B");   // a name the manifest must escape
        const Inventory saved = treeContents(drive.root());
        drive.addSystemFiles();
        return saved;
    }

    // The one dated backup in folder besides those known; empty when there is not exactly one.
    static QString newBackupIn(const QString &folder, const QStringList &known = {})
    {
        QStringList made = QDir(folder).entryList({"Corvel3 backup *"}, QDir::Dirs);
        for (const QString &k : known)
            made.removeAll(QFileInfo(k).fileName());
        return made.size() == 1 ? folder + "/" + made.first() : QString();
    }

    // Files by the name the system holds, bytes: Qt cannot open what it cannot name.
    static bool writeRaw(const QByteArray &path, const QByteArray &content)
    {
        FILE *f = std::fopen(path.constData(), "wb");
        const bool ok = f && std::fwrite(content.constData(), 1, size_t(content.size()), f) == size_t(content.size());
        return f && std::fclose(f) == 0 && ok;
    }
    static QByteArray readRaw(const QByteArray &path)
    {
        QByteArray content;
        if (FILE *f = std::fopen(path.constData(), "rb")) {
            char piece[65536];
            for (size_t n; (n = std::fread(piece, 1, sizeof piece, f)) > 0;)
                content.append(piece, int(n));
            std::fclose(f);
        }
        return content;
    }

    QTemporaryDir tmp;
    const QByteArray savedHome = qgetenv("HOME");

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", (tmp.path() + "/data").toUtf8()); }   // the operation log
    void cleanup() { qputenv("HOME", savedHome); }

    // The folder chosen for a backup, and copies that fail. An older backup there is kept; the
    // player and what would reach it are refused, and so are a drive's root and the home folder.
    // Copies that failed never end in "Fatto": the end box counts the files not saved, and what
    // was saved is listed in a backup that says it is not complete.
    void backups_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("chosen");        // @pc (holds an older backup), @drive, @home, @mount
        QTest::addColumn<QStringList>("replies");   // after the folder
        QTest::addColumn<QStringList>("boxes");
        const QStringList ok{"Ok"}, refused{"Cartella non adatta"}, copyError{"Errore sulla copia", "Backup incompleto"};
        QTest::newRow("an older backup in the chosen folder is kept") << "" << "@pc" << ok << QStringList{"Fatto"};
        QTest::newRow("a folder inside the player is refused") << "" << "@drive/Basi" << ok << refused;
        QTest::newRow("the player's root is refused") << "" << "@drive" << ok << refused;
        QTest::newRow("a link to the player's root is refused") << "" << "@pc/link" << ok << refused;
        QTest::newRow("a folder above the player is refused") << "" << "@drive/.." << ok << refused;
        QTest::newRow("the home folder is refused") << "" << "@home" << ok << refused;
        QTest::newRow("a drive's root is refused") << "" << "@mount" << ok << refused;
        QTest::newRow("an unreadable song, Continua sempre") << "unreadable" << "@pc" << QStringList{"Continua sempre", "Ok"} << copyError;
        QTest::newRow("an unreadable song, No") << "unreadable" << "@pc" << QStringList{"No", "Ok"} << copyError;
        QTest::newRow("the player unplugged after the count") << "unplugged" << "@pc" << QStringList{"Ok", "Ok", "Ok"}
                                                            << QStringList{"BackUp", "ERRORE", "Backup incompleto"};
        QTest::newRow("a full disk, Continua sempre") << "full" << "@pc" << QStringList{"Continua sempre", "Ok"} << copyError;
    }
    void backups()
    {
        QFETCH(QString, fault);
        QFETCH(QString, chosen);
        QFETCH(QStringList, replies);
        QFETCH(QStringList, boxes);
        DriveFixture drive;
        // Unplugged: 998 songs make 1001 files, just over the count that asks first.
        const Inventory saved = fillPlayer(drive, fault == "unplugged" ? 998 : 3);
        QString pc = rowFolder(tmp);
        const QString mount = fault == "full" ? pc : pc + "/mnt";
        const bool mounting = fault == "full" || chosen == "@mount";
        if (mounting && !mountDiskImage(pc + "/disk.img", mount, "4M"))
            QSKIP("mounting a disk image needs root and a free loop device");
        const auto unmount = qScopeGuard([&] { if (mounting) runTool("umount", {mount}); });
        if (fault == "full") {
            drive.writeFile("Big/big.mp3", QByteArray(5 << 20, 'b'));
            pc += "/inside";
        }
        if (fault == "unreadable")
            QFile::link(drive.path("Basi/nowhere"), drive.path("Basi/broken.mid"));
        writeBytes(pc + "/Corvel3 backup 2026-01-01 1000/Basi/old.mid", "older song");
        writeBytes(pc + "/notes.txt", "mine");
        QFile::link(drive.root(), pc + "/link");
        if (chosen == "@home")
            qputenv("HOME", pc.toUtf8());
        chosen.replace("@pc", pc).replace("@drive", drive.root().chopped(1)).replace("@home", pc).replace("@mount", mount);
        const Inventory player = treeContents(drive.root()), before = treeContents(pc);
        const QString away = drive.dir.path() + "-away";
        EngineRig rig(0, QStringList{chosen} + replies);
        rig.dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &p) {
            if (p.title == "BackUp")
                QDir().rename(drive.dir.path(), away);
        };
        rig.operations.backup();
        if (fault == "unplugged") {
            QDir().rename(away, drive.dir.path());
            // The run's lock went away with the player; the next run takes it over.
            QVERIFY(QFile::remove(drive.path(".corvel3-lock")));
        }
        QVERIFY2(rig.dialogs.failures.isEmpty(), qPrintable(rig.dialogs.failures.join('\n')));
        QCOMPARE(rig.dialogs.titles().mid(1), boxes);
        QVERIFY(fault.isEmpty() || rig.dialogs.prompts.last().text.contains(QFileInfo(oplog::path()).fileName()));
        QCOMPARE(treeContents(drive.root()), player);
        // Everything that was there stays unchanged; a new dated backup holds every song and playlist.
        const QString made = newBackupIn(pc, {"Corvel3 backup 2026-01-01 1000"});
        QCOMPARE(made.isEmpty(), boxes == QStringList{"Cartella non adatta"});
        if (!made.isEmpty()) {
            Inventory fresh = treeContents(made);
            QVERIFY(fresh.remove(backupmanifest::kFileName));
            if (fault.isEmpty())
                QCOMPARE(fresh, saved);
            else
                QVERIFY(!backupmanifest::isComplete(made) && backupmanifest::verify(made).ok());
            QVERIFY(QDir(made).removeRecursively());
        }
        QCOMPARE(treeContents(pc), before);
    }

    // Restores. From the folder that holds dated backups the newest complete one comes back (of
    // the two made here, the second); a song that cannot be written back ends it incomplete, never
    // in "Fatto". A backup whose files are missing or changed is refused before anything is
    // written; one without a manifest (an older version's) is restored only when the user says so.
    void restores_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("replies");   // after the folder
        QTest::addColumn<QStringList>("boxes");     // after the folder
        const QStringList damaged{"Copia di backup danneggiata"};
        QTest::newRow("the newer of two complete backups comes back") << "" << QStringList{"Ok", "Ok"} << QStringList{"Copie di backup", "Fatto"};
        QTest::newRow("a complete backup wins over a newer one cut short") << "cut short" << QStringList{"Ok", "Ok"}
                                                                           << QStringList{"Copie di backup", "Fatto"};
        QTest::newRow("a song that cannot be written back makes it incomplete") << "blocked" << QStringList{"Ok", "Si", "Si", "Ok"}
            << QStringList{"Copie di backup", "File Esistente", "Errore sulla copia", "Ripristino incompleto"};
        QTest::newRow("a song missing") << "missing" << QStringList{"Ok"} << damaged;
        QTest::newRow("a song altered, same size") << "altered" << QStringList{"Ok"} << damaged;
        QTest::newRow("an unreadable manifest") << "manifest" << QStringList{"Ok"} << damaged;
        QTest::newRow("no manifest: Enter is No") << "none" << QStringList{"Enter"} << QStringList{"Copia di backup non verificabile"};
        // A tampered manifest whose files all check out: a path climbing out of the player, an absolute one.
        QTest::newRow("a manifest path climbing out with ..") << "climbs" << QStringList{"Ok"} << damaged;
        QTest::newRow("an absolute manifest path") << "absolute" << QStringList{"Ok"} << damaged;
        QTest::newRow("no manifest: Ok restores") << "none" << QStringList{"Ok", "Ok"} << QStringList{"Copia di backup non verificabile", "Fatto"};
    }
    void restores()
    {
        QFETCH(QString, fault);
        QFETCH(QStringList, replies);
        QFETCH(QStringList, boxes);
        DriveFixture drive;
        fillPlayer(drive);
        const QString pc = rowFolder(tmp);
        QStringList backups;
        for (const QByteArray song : {"first song", "second song"}) {
            drive.writeFile("Basi/1.mid", song);
            EngineRig rig(backups.size(), {pc, "Ok"});   // one in each language
            rig.operations.backup();
            backups << newBackupIn(pc, backups);
            QVERIFY(!backups.last().isEmpty());
        }
        Inventory expected = treeContents(drive.root());   // the second backup's player
        bool found = false;
        if (fault == "cut short")
            QVERIFY(backupmanifest::write(backups[0], backupmanifest::read(backups[0], &found), false) && found);
        QFile older(backups[fault == "cut short" ? 1 : 0] + "/" + backupmanifest::kFileName);
        QVERIFY(older.open(QIODevice::ReadWrite));
        QVERIFY(older.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        older.close();
        // Damage to the second backup, which is then chosen itself.
        const bool damage = !QStringList{"", "cut short", "blocked"}.contains(fault);
        const QString song = backups[1] + "/Basi/1.mid", manifest = backups[1] + "/" + backupmanifest::kFileName;
        if (fault == "missing" || fault == "none")
            QFile::remove(fault == "none" ? manifest : song);
        else if (fault == "climbs" || fault == "absolute")
            writeBytes(manifest, readBytes(manifest).replace("\"Basi/1.mid\"", fault == "absolute" ? "\"/Basi/1.mid\""
                                                              : "\"../" + QFileInfo(backups[1]).fileName().toUtf8() + "/Basi/1.mid\""));
        else if (damage)
            writeBytes(fault == "altered" ? song : manifest, fault == "altered" ? QByteArray(readBytes(song).size(), 'z') : "{ broken");
        for (const QString &folder : {"Basi", "Rock", "System/Playlist"})
            QDir(drive.path(folder)).removeRecursively();   // lost on the player
        const Inventory player = treeContents(drive.root());
        if (fault == "blocked") {
            QDir().mkpath(drive.path("Basi/1.mid"));
            expected.remove("Basi/1.mid");
        }
        EngineRig rig(0, QStringList{damage ? backups[1] : pc} + replies);
        rig.operations.restore();
        QVERIFY2(rig.dialogs.failures.isEmpty(), qPrintable(rig.dialogs.failures.join('\n')));
        QCOMPARE(rig.dialogs.titles().mid(1), boxes);
        const QByteArray log = readBytes(oplog::path()).trimmed();
        QVERIFY(log.endsWith(boxes.last() == "Fatto" ? "\tend\tok" : "\tend\tFAILED"));
        if (fault == "blocked") {   // the song not written back has its line, marked so, and the box counts it
            QVERIFY(log.contains(drive.path("Basi/1.mid").toUtf8() + " -> " + backups[1].toUtf8() + "/Basi/1.mid\tFAILED\n"));
            QCOMPARE(rig.dialogs.prompts.last().text, QString::fromUtf8("1 files su %1 non sono stati ripristinati sul Corvel3.\n"
                "L'elenco delle operazioni è in:\n%2").arg(backupmanifest::read(backups[1], &found).size()).arg(oplog::path()));
        }
        QCOMPARE(treeContents(drive.root()), damage && boxes.last() != "Fatto" ? player : expected);
        if (fault == "missing" || fault == "altered")
            QVERIFY(rig.dialogs.prompts[1].text.contains("Basi/1.mid"));
    }

    // A selective restore writes exactly the chosen part (the whole drive compared before and
    // after): a folder with its subtree only ("Rock" never takes "Rock2"), parts named in any case
    // or with "\". Only the part is checked: damage elsewhere does not refuse it, damage inside
    // does. A part outside the backup or not in it, or Cancel in the tree, writes nothing.
    void selectiveRestore_data()
    {
        QTest::addColumn<QString>("how");          // "tree": chosen in the window's tree; "only": given; "cancel"
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("damage");       // a file of the backup altered, or "manifest": none
        QTest::addColumn<QStringList>("written");  // what comes back; empty: nothing
        QTest::addColumn<int>("result");
        const int done = int(Operations::Result::Done), failed = int(Operations::Result::Failed);
        const QStringList rock{"Rock/Live/b.mid", "Rock/a.mid", "Rock/notes.txt"};
        QTest::newRow("a folder takes its subtree, not Rock2") << "tree" << QStringList{"Rock"} << "" << rock << done;
        QTest::newRow("any case, backslashes, a file, a playlist") << "only" << QStringList{"rock\\LIVE", "./Pop/d.mp3", "System/Playlist/Hits.pls"} << ""
            << QStringList{"Pop/d.mp3", "Rock/Live/b.mid", "System/Playlist/Hits.pls"} << done;
        QTest::newRow("damage outside the part") << "only" << QStringList{"Rock2"} << "Pop/d.mp3" << QStringList{"Rock2/c.mid"} << done;
        QTest::newRow("damage inside the part") << "tree" << QStringList{"Pop", "Rock2"} << "Pop/d.mp3" << QStringList() << failed;
        QTest::newRow("no manifest: the part only") << "only" << QStringList{"Rock/"} << "manifest" << rock << done;
        QTest::newRow("cancel in the tree") << "cancel" << QStringList() << "" << QStringList() << int(Operations::Result::Declined);
        QTest::newRow("not in the backup") << "only" << QStringList{"Rock", "Roc"} << "" << QStringList() << failed;
        const QStringList outside{"../Rock", "/Rock", "Rock/../../x", "C:/Rock", ".", ""};
        for (int i = 0; i < outside.size(); ++i)   // no "/" in a row's name: it names the row's PC folder
            QTest::addRow("outside the backup %d", i) << "only" << QStringList{outside[i]} << "" << QStringList() << failed;
    }
    void selectiveRestore()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, parts);
        QFETCH(QString, damage);
        QFETCH(QStringList, written);
        QFETCH(int, result);
        DriveFixture drive;
        drive.addSystemFiles();
        for (const char *song : {"Rock/a.mid", "Rock/Live/b.mid", "Rock2/c.mid"})
            drive.writeMidi(song, song);
        drive.writeFile("Rock/notes.txt", "notes");
        drive.writeMp3("Pop/d.mp3", "D");
        drive.addPlaylist("Hits.pls", {"Rock/a.mid"});
        const Inventory saved = treeContents(drive.root());
        const QString pc = rowFolder(tmp);
        QCOMPARE(EngineRig(0, {pc, "Ok"}).operations.backup(), Operations::Result::Done);
        const QString backup = newBackupIn(pc);
        if (damage == "manifest")
            QVERIFY(QFile::remove(backup + "/" + backupmanifest::kFileName));
        else if (!damage.isEmpty())
            QVERIFY(writeBytes(backup + "/" + damage, "damaged"));
        for (const char *folder : {"Rock", "Rock2", "Pop", "System/Playlist"})
            QDir(drive.path(folder)).removeRecursively();
        drive.writeFile("Pop/new.mp3", "added since");
        Inventory expected = treeContents(drive.root());
        for (const QString &file : written)
            expected.insert(file, saved.value(file));

        EngineRig rig(0, how == "only" ? QStringList{"Ok", "Ok"} : QStringList{backup, "Ok", "Ok"});
        if (how == "tree")
            rig.dialogs.answerParts(parts);
        else if (how == "cancel")
            rig.dialogs.cancelParts();
        const Operations::Result got = how == "only" ? rig.operations.restoreParts(backup, parts) : rig.operations.restore();
        QCOMPARE(int(got), result);
        QVERIFY2(rig.dialogs.failures.isEmpty(), qPrintable(rig.dialogs.failures.join('\n')));
        QCOMPARE(treeContents(drive.root()), expected);
        // The tree offers every file of the backup, and only when no part was given.
        QCOMPARE(rig.dialogs.partRequests.size(), how == "only" ? 0 : 1);
        if (how != "only")
            QCOMPARE(rig.dialogs.partRequests[0].files.size(), saved.size() - 3);   // all but the system files
    }

    // A restore writes on the player only, and leaves every song whole: a song folder that is a
    // link out of the player gets nothing; a player unmounted mid-run (its mount point left behind
    // on the PC's disk) gets nothing written there; a song cut short by an earlier run is replaced
    // without a question, a song restored before is left as it is.
    void restoreStaysOnThePlayer_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("a song folder linked out of the player") << "link";
        QTest::newRow("a song cut short and one restored before") << "cut";
        QTest::newRow("the player unmounted, its mount point left") << "unmounted";
    }
    void restoreStaysOnThePlayer()
    {
        QFETCH(QString, fault);
        const QString pc = rowFolder(tmp);
        QString root;
        DriveFixture fixture;
        std::unique_ptr<DriveFixture> mounted;
        if (fault == "unmounted") {
            root = tmp.path() + "/mounted/";   // beside the PC folder, never inside it
            if (!mountDiskImage(tmp.path() + "/disk.img", root, "8M"))
                QSKIP("mounting a disk image needs root and a free loop device");
            qputenv("CORVEL3_VOLUMES", ("corvel3=" + root).toUtf8());
        } else {
            root = fixture.root();
        }
        const auto unmount = qScopeGuard([&] { if (fault == "unmounted") runTool("umount", {"-l", root}); });
        for (int i = 0; i < 3; ++i)
            writeBytes(root + QString("Basi/%1.mid").arg(i), QByteArray(3000, char('a' + i)));
        EngineRig saving(1, {pc, "Ok"});
        QVERIFY(saving.operations.backup() == Operations::Result::Done);
        const Inventory whole = treeContents(root);
        const QString outside = pc + "/outside";
        QDir().mkpath(outside);
        if (fault == "link") {
            QDir(root + "Basi").removeRecursively();
            QVERIFY(QFile::link(outside, root + "Basi"));
        } else if (fault == "cut") {
            writeBytes(root + "Basi/1.mid", QByteArray(1000, 'b'));   // the start of the song, cut
            QFile::remove(root + "Basi/2.mid");
        }
        // The folder, the box of the backups found, the closing box; for a player gone, the copy's own before it.
        EngineRig rig(1, QStringList{pc, "Ok", "Ok"} + (fault == "unmounted" ? QStringList{"Ok"} : QStringList()));
        rig.dialogs.onPrompt = [&](const ScriptedDialogs::Prompt &p) {
            if (fault == "unmounted" && p.title == "Backups")
                QVERIFY(runTool("umount", {"-l", root}));   // yanked: the mount point stays, a folder of the PC
        };
        const Operations::Result result = rig.operations.restore();
        QVERIFY2(rig.dialogs.failures.isEmpty(), qPrintable(rig.dialogs.failures.join('\n')));
        QCOMPARE(result, fault == "cut" ? Operations::Result::Done
                         : fault == "link" ? Operations::Result::Failed : Operations::Result::PlayerNotFound);
        QCOMPARE(treeContents(outside), Inventory());
        if (fault == "cut")
            QCOMPARE(treeContents(root), whole);
        if (fault == "unmounted")
            QCOMPARE(QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        else
            QVERIFY(!rig.dialogs.titles().contains("File Already Exists"));
    }

    // A song named in Latin-1 on a Linux disk (Qt's listings leave such names out) is saved byte
    // for byte and comes back identical; a FAT backup folder, which refuses the name, makes the
    // backup incomplete with the song named in the log.
    void namesThePcCannotShow_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("box");
        QTest::newRow("a folder of the PC's disk") << "disk" << "Fatto";
        QTest::newRow("a FAT folder refuses the name") << "fat" << "Backup incompleto";
    }
    void namesThePcCannotShow()
    {
        QFETCH(QString, destination);
        QFETCH(QString, box);
        DriveFixture drive;
        fillPlayer(drive);
        const QByteArray song = QFile::encodeName(drive.path("Basi")) + "/caf\xe9.mid", content(70000, 'c');
        QVERIFY(writeRaw(song, content));
        QString backup;
        const auto dropRaw = qScopeGuard([&] {   // QTemporaryDir cannot remove what Qt cannot name
            ::unlink(song.constData());
            ::unlink((QFile::encodeName(backup) + "/Basi/caf\xe9.mid").constData());
        });
        const QString mount = rowFolder(tmp), pc = mount + "/backups";   // a drive's root is refused
        // The kernel's vfat where there is one, else fusefat.
        if (destination == "fat" && !(runTool("mkfs.vfat", {"-C", mount + ".img", "4096"})
                                      && (runTool("mount", {"-o", "loop,utf8", mount + ".img", mount})
                                          || runTool("fusefat", {"-o", "rw+", mount + ".img", mount}))))
            QSKIP("mounting a FAT image needs root, and a free loop device or fusefat");
        const auto unmount = qScopeGuard([&] { if (destination == "fat") runTool("umount", {mount}); });
        QDir().mkpath(pc);
        // FAT refuses the name: the copy's error question first, then the end box.
        EngineRig saving(0, destination == "fat" ? QStringList{pc, "Continua sempre", "Ok"} : QStringList{pc, "Ok"});
        saving.operations.backup();
        QVERIFY2(saving.dialogs.failures.isEmpty(), qPrintable(saving.dialogs.failures.join('\n')));
        QCOMPARE(saving.dialogs.titles().last(), box);
        backup = newBackupIn(pc);
        QVERIFY(backupmanifest::verify(backup).ok());
        if (destination == "fat") {
            QVERIFY(!backupmanifest::isComplete(backup));
            QVERIFY(readBytes(oplog::path()).contains(QFile::decodeName("Basi/caf\xe9.mid").toUtf8()));
            return;
        }
        QCOMPARE(readRaw(QFile::encodeName(backup) + "/Basi/caf\xe9.mid"), content);

        const Inventory player = treeContents(drive.root());
        QVERIFY(::unlink(song.constData()) == 0);   // lost on the player
        EngineRig restoring(0, {pc, "Ok", "Ok"});
        QCOMPARE(restoring.operations.restore(), Operations::Result::Done);
        QCOMPARE(readRaw(song), content);
        QCOMPARE(treeContents(drive.root()), player);
        // Through a song folder that is a link out of the player, not even such a name is written.
        QVERIFY(::unlink(song.constData()) == 0 && QDir(drive.path("Basi")).removeRecursively() && QFile::link(pc, drive.path("Basi")));
        EngineRig linked(0, {pc, "Ok", "Ok", "Ok", "Ok", "Ok"});
        QVERIFY(linked.operations.restore() != Operations::Result::Done);
        QVERIFY(readRaw(QFile::encodeName(pc) + "/caf\xe9.mid").isEmpty());
    }

    // A restore killed in the middle of a long song leaves no song cut short on the player (the
    // song is absent or whole, nothing else changed), and the next restore brings everything back.
    void killedRestore()
    {
        DriveFixture drive;
        fillPlayer(drive);
        const qint64 size = qint64(300) << 20;
        QFile big(drive.path("Big/long.mp3"));
        QVERIFY(QDir().mkpath(drive.path("Big")) && big.open(QIODevice::WriteOnly));
        QVERIFY(big.write("ID3 the start of a long song") > 0 && big.resize(size));   // sparse
        big.close();
        const QString pc = rowFolder(tmp);
        EngineRig saving(0, {pc, "Ok"});
        QCOMPARE(saving.operations.backup(), Operations::Result::Done);
        const QString backup = newBackupIn(pc);
        const QByteArray longSong = backupmanifest::fileSha256(big.fileName());
        QVERIFY(big.remove());   // lost on the player
        // The player's files with their contents (the long song's hash), our hidden temporaries apart.
        QStringList temporaries;
        const auto inventory = [&] {
            Inventory files;
            temporaries.clear();
            QDirIterator it(drive.root(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next(), name = path.mid(drive.root().size());
                if (it.fileName().startsWith(".corvel3-") && name.endsWith(".part"))
                    temporaries << name;
                else
                    files.insert(name, name == "Big/long.mp3" ? backupmanifest::fileSha256(path) : readBytes(path));
            }
            return files;
        };
        const Inventory lost = inventory();
        Inventory whole = lost;
        whole.insert("Big/long.mp3", longSong);

        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            // Killed by its own hand as soon as the bar shows the MB of a long file.
            struct KillMidSong : RecordingProgress {
                void changed(Change what) override
                {
                    if (what == Change::Format && format().contains("MB"))
                        ::raise(SIGKILL);
                }
            } killer;
            EngineRig rig;
            OperationContext ctx{rig.state, rig.dialogs, killer, &rig.window, findDeviceDrive()};
            transfer::restoreBackup(ctx, backup, drive.root());
            ::_exit(3);   // the song copied whole without a look at its MB: the kill never came
        }
        // The bar shows MB only at its own pace: where the copy outruns it, the kill comes from
        // here, as soon as the song's temporary appears.
        int status = 0;
        QElapsedTimer waited;
        waited.start();
        bool hung = false;
        while (::waitpid(child, &status, WNOHANG) == 0) {
            const bool copying = !QDir(drive.path("Big")).entryList({".corvel3-*.part"}, QDir::Files | QDir::Hidden).isEmpty();
            hung = !copying && waited.elapsed() > 120000;
            if (copying || hung)
                ::kill(child, SIGKILL);
            ::usleep(200);
        }
        QVERIFY2(!hung && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the restore was not killed mid-song");
        const Inventory killed = inventory();
        QVERIFY(killed == lost || killed == whole);
        QVERIFY(temporaries.size() <= 1);   // the killed run's, hidden

        EngineRig rig(0, {pc, "Ok", "Ok"});
        QCOMPARE(rig.operations.restore(), Operations::Result::Done);
        QVERIFY2(rig.dialogs.failures.isEmpty(), qPrintable(rig.dialogs.failures.join('\n')));
        QCOMPARE(inventory(), whole);
        QCOMPARE(temporaries, QStringList());   // the killed run's leftover went with it
    }
};

QTEST_GUILESS_MAIN(TestBackupRestore)
#include "tst_backuprestore.moc"
