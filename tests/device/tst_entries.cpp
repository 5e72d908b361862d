// Linux hidden/system attributes, case-insensitive name resolution and the listing walker.
#include <QtTest>

#include <sys/xattr.h>
#include <unistd.h>

#include "device/devicedrive.h"
#include "device/entries.h"
#include "device/pathrules.h"
#include "device/platform.h"
#include "tests/transfer/transfertesting.h"   // writeBytes, runTool

static bool setDosAttrib(const QString &path, const QByteArray &value)
{
    return ::lsetxattr(QFile::encodeName(path).constData(), "user.DOSATTRIB", value.constData(), size_t(value.size()), 0) == 0;
}

class TestEntries : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;

private slots:
    void cleanup() { qunsetenv("CORVEL3_VOLUMES"); }

    void attributes_data()
    {
        // Files below a folder presented as a volume root.
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QByteArray>("dosAttrib");   // "" for none
        QTest::addColumn<QString>("flags");          // h hidden, s system
        QTest::newRow("plain file") << "a.mid" << QByteArray() << "--";
        QTest::newRow("dot-file") << ".a.mid" << QByteArray() << "h-";
        QTest::newRow("hidden") << "h.mid" << QByteArray("0x2") << "h-";
        QTest::newRow("both, upper-case hex") << "b.mid" << QByteArray("0X6") << "hs";
        QTest::newRow("boot file, any case") << "autoexec.bat" << QByteArray() << "hs";
        QTest::newRow("system folder's name") << "System" << QByteArray() << "hs";
        QTest::newRow("deeper down") << "Songs/System" << QByteArray() << "--";
        QTest::newRow("attributes win over the name") << "AUTOEXEC.BAT" << QByteArray("0x20") << "--";
    }
    void attributes()
    {
        QFETCH(QString, relative);
        QFETCH(QByteArray, dosAttrib);
        QFETCH(QString, flags);
        QTemporaryDir root(tmp.path() + "/vol-XXXXXX");
        const QString path = root.path() + "/" + relative;
        writeBytes(path, {});
        if (!dosAttrib.isEmpty() && !setDosAttrib(path, dosAttrib))
            QSKIP("this file system keeps no user extended attributes");
        qputenv("CORVEL3_VOLUMES", ("corvel3=" + root.path()).toUtf8());
        const platform::Attributes a = platform::attributes(path);
        QCOMPARE(QString(a.hidden ? "h" : "-") + (a.system ? "s" : "-"), flags);
    }

    // A real FAT volume, known only from the mount table: found by its label, and as no
    // attributes can be read through fusefat, the player's own entries in its root count as
    // hidden and system by name.
    void realFatVolume()
    {
        if (::geteuid() != 0 || QStandardPaths::findExecutable("fusefat").isEmpty())
            QSKIP("mounting a FAT image needs root and fusefat");
        const QString image = tmp.path() + "/fat.img", root = tmp.path() + "/fat";
        QDir().mkpath(root);
        QVERIFY(runTool("mkfs.vfat", {"-C", "-n", "CORVEL3", image, "4096"}));
        QProcess losetup;   // the label is read from the block device named in the mount table
        losetup.start("losetup", {"-f", "--show", image});
        const QString loop = losetup.waitForFinished() ? QString(losetup.readAllStandardOutput()).trimmed() : QString();
        const auto detach = qScopeGuard([&] { runTool("losetup", {"-d", loop}); });
        if (loop.isEmpty() || !runTool("fusefat", {"-o", "rw+,fsname=" + loop, loop, root}))
            QSKIP("no free loop device, or fusefat could not mount the image (no FUSE here?)");
        const QString found = findDeviceDrive();
        for (const QString &file : {"AUTOEXEC.BAT", "System/Playlist/a.pls", "Songs/a.mid"})
            writeBytes(root + "/" + file, {});
        QList<int> flags;   // 2 hidden + 1 system
        for (const QString &entry : {"AUTOEXEC.BAT", "System", "System/Playlist", "Songs/a.mid"}) {
            const platform::Attributes a = platform::attributes(root + "/" + entry);
            flags << (a.hidden ? 2 : 0) + (a.system ? 1 : 0);
        }
        runTool("umount", {root});
        QCOMPARE(found, root + "/");
        QCOMPARE(flags, (QList<int>{3, 3, 0, 0}));
    }

    // The guards' rules, as text, with the paths of both platforms.
    void pathRules_data()
    {
        QTest::addColumn<QString>("rule");   // protect: folder, device, home; above: outer, inner
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("c");
        QTest::addColumn<bool>("answer");
        QTest::newRow("the player's drive letter may be erased") << "protect" << "E:/" << "E:/" << "C:/Users/me" << false;
        QTest::newRow("another drive letter may not") << "protect" << "d:\\" << "E:/" << "C:/Users/me" << true;
        QTest::newRow("a bare drive letter is a root") << "protect" << "e:" << "" << "" << true;
        QTest::newRow("the player's drive in either spelling") << "protect" << "e:\\" << "E:/" << "" << false;
        QTest::newRow("a share's root") << "protect" << "\\\\nas\\music\\" << "E:/" << "" << true;
        QTest::newRow("a folder on a share") << "protect" << "//nas/music/Basi" << "E:/" << "" << false;
        QTest::newRow("the system's root") << "protect" << "/" << "/media/me/CORVEL3/" << "/home/me" << true;
        QTest::newRow("above the mounted drive") << "protect" << "/media/me" << "/media/me/CORVEL3/" << "" << true;
        QTest::newRow("home spelt with .. and another case") << "protect" << "c:/users/ME/Music/.." << "E:/" << "C:/Users/me" << true;
        QTest::newRow("a folder beside home") << "protect" << "C:/Users/me2" << "E:/" << "C:/Users/me" << false;
        QTest::newRow("a folder on the drive") << "protect" << "E:/Basi" << "E:/" << "C:/Users/me" << false;
        QTest::newRow("the drive root holds its folders") << "above" << "E:/" << "e:\\Basi\\Rock" << "" << true;
        QTest::newRow("a name sharing a prefix is not below") << "above" << "E:/Basi" << "E:/Basi2" << "" << false;
        QTest::newRow("climbing never leaves the root") << "above" << "E:/../.." << "E:/Basi" << "" << true;
        QTest::newRow("the long form of a drive") << "above" << "\\\\?\\E:\\" << "E:/Basi" << "" << true;
        QTest::newRow("another drive") << "above" << "D:/" << "E:/Basi" << "" << false;
    }
    void pathRules()
    {
        QFETCH(QString, rule);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, c);
        QFETCH(bool, answer);
        QCOMPARE(rule == "protect" ? pathrules::isProtectedFolder(a, b, c) : pathrules::sameOrAbove(a, b), answer);
    }

    void resolveIgnoresCase()
    {
        const QString f = tmp.path() + "/resolve";
        for (const QString &sub : {"System/Playlist", "images", "Images"})
            QDir().mkpath(f + "/" + sub);
        QCOMPARE(entries::resolve(f, "system/playlist"), f + "/System/Playlist");
        QCOMPARE(entries::resolve(f + "/", "SYSTEM/PLAYLIST/"), f + "/System/Playlist");
        QCOMPARE(entries::resolve(f, "system/Nothing/here"), f + "/System/Nothing/here");   // kept as written
        QCOMPARE(entries::resolve(f, "images"), f + "/images");   // the exact case first
    }

    void walkerSkipsHiddenAndFilters()
    {
        const QString f = tmp.path() + "/walk";
        for (const QString &file : {"a.MID", "noDot", ".hidden.mid", "Rock/b.mid", ".Secret/c.mid", "Marked/d.mid"})
            writeBytes(f + "/" + file, {});
        if (!setDosAttrib(f + "/Marked", "0x2"))
            QSKIP("this file system keeps no user extended attributes");
        writeBytes(tmp.path() + "/elsewhere/Inside/e.mid", {});
        QFile::link(tmp.path() + "/elsewhere", f + "/Link.d");   // listed, never entered
        const auto listed = [&](const entries::ListOptions &options) {   // sorted, unless in walk order
            QStringList paths = entries::list(f, options);
            paths.replaceInStrings(f + "/", QString());
            if (!options.foldersFirstByName)
                paths.sort();
            return paths;
        };
        entries::ListOptions options;
        options.nameFilters = QStringList{"*.mid", "*.d"};
        QCOMPARE(listed(options), (QStringList{"Link.d", "Rock/b.mid", "a.MID"}));
        options.includeHiddenSystem = true;
        QCOMPARE(listed(options), (QStringList{".Secret/c.mid", ".hidden.mid", "Link.d", "Marked/d.mid", "Rock/b.mid", "a.MID"}));
        options.nameFilters.clear();
        options.recursive = false;
        options.foldersFirstByName = true;
        QCOMPARE(listed(options), (QStringList{".Secret", "Link.d", "Marked", "Rock", ".hidden.mid", "a.MID", "noDot"}));
    }
};

QTEST_GUILESS_MAIN(TestEntries)
#include "tst_entries.moc"
