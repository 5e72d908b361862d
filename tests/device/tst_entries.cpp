// The Linux platform layer's hidden/system attributes and the listing helpers built on them:
// case-insensitive name resolution and the walker that skips hidden entries.
#include <QtTest>

#include <sys/xattr.h>
#include <unistd.h>

#include "device/entries.h"
#include "device/platform.h"

namespace {

QString touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    return path;
}

bool setDosAttrib(const QString &path, const QByteArray &value)
{
    return ::lsetxattr(QFile::encodeName(path).constData(), "user.DOSATTRIB", value.constData(), size_t(value.size()), 0) == 0;
}

bool run(const QString &program, const QStringList &arguments, QString *output = nullptr)
{
    QProcess p;
    p.start(program, arguments);
    const bool ok = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    return ok;
}

} // namespace

class TestEntries : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp;

private slots:
    void initTestCase() { QVERIFY(tmp.isValid()); }
    void cleanup() { qunsetenv("CORVEL3_VOLUMES"); }

    void attributes_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QByteArray>("dosAttrib");   // "" for none
        QTest::addColumn<bool>("asVolume");          // the folder is presented as a mounted volume
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<bool>("system");
        QTest::newRow("plain file") << "a.mid" << QByteArray() << false << false << false;
        QTest::newRow("dot-file") << ".a.mid" << QByteArray() << false << true << false;
        QTest::newRow("attribute hidden") << "h.mid" << QByteArray("0x2") << false << true << false;
        QTest::newRow("attribute system") << "s.mid" << QByteArray("0x4") << false << false << true;
        QTest::newRow("attribute both, upper-case hex") << "b.mid" << QByteArray("0X6") << false << true << true;
        QTest::newRow("attribute archive only") << "r.mid" << QByteArray("0x20") << false << false << false;
        QTest::newRow("dot-file with plain attribute") << ".d.mid" << QByteArray("0x20") << false << true << false;
        QTest::newRow("boot file in a volume root") << "AUTOEXEC.BAT" << QByteArray() << true << true << true;
        QTest::newRow("boot file in any case") << "autoexec.bat" << QByteArray() << true << true << true;
        QTest::newRow("system folder in a volume root") << "System/" << QByteArray() << true << true << true;
        QTest::newRow("update folder in a volume root") << "CorvelUpdate/" << QByteArray() << true << true << true;
        QTest::newRow("boot file elsewhere") << "AUTOEXEC.BAT" << QByteArray() << false << false << false;
        QTest::newRow("system folder deeper down") << "Songs/System/" << QByteArray() << true << false << false;
        QTest::newRow("readable attributes win over the name") << "AUTOEXEC.BAT" << QByteArray("0x20") << true << false << false;
        QTest::newRow("unreadable attribute text falls back to the name") << "System/" << QByteArray("junk") << true << true << true;
    }
    void attributes()
    {
        QFETCH(QString, relative);
        QFETCH(QByteArray, dosAttrib);
        QFETCH(bool, asVolume);
        QFETCH(bool, hidden);
        QFETCH(bool, system);
        QTemporaryDir root(tmp.path() + "/vol-XXXXXX");
        QString path = root.path() + "/" + relative;
        if (path.endsWith('/')) {
            path.chop(1);
            QDir().mkpath(path);
        } else {
            touch(path);
        }
        if (!dosAttrib.isEmpty() && !setDosAttrib(path, dosAttrib))
            QSKIP("this file system keeps no user extended attributes");
        if (asVolume)
            qputenv("CORVEL3_VOLUMES", ("corvel3=" + root.path()).toUtf8());
        const platform::Attributes a = platform::attributes(path);
        QCOMPARE(a.hidden, hidden);
        QCOMPARE(a.system, system);
        QCOMPARE(platform::isHiddenOrSystem(path), hidden || system);
    }

    void settingHiddenSystemKeepsOtherBits()
    {
        const QString path = touch(tmp.path() + "/set/song.mid");
        if (!setDosAttrib(path, "0x20"))
            QSKIP("this file system keeps no user extended attributes");
        QVERIFY(platform::setHiddenSystem(path));
        const platform::Attributes a = platform::attributes(path);
        QVERIFY(a.hidden && a.system);
        char buffer[32] = {};
        const ssize_t n = ::lgetxattr(QFile::encodeName(path).constData(), "user.DOSATTRIB", buffer, sizeof buffer - 1);
        QCOMPARE(QByteArray(buffer, int(n)).toLower(), QByteArray("0x26"));
    }

    // A real FAT volume through fusefat, without any stand-in for the volume list: the player's
    // own entries in its root count as hidden and system where no attribute can be read.
    void realFatVolumeRoot()
    {
        if (::geteuid() != 0)
            QSKIP("mounting a FAT image needs root");
        if (QStandardPaths::findExecutable("fusefat").isEmpty() || QStandardPaths::findExecutable("mkfs.vfat").isEmpty())
            QSKIP("fusefat or mkfs.vfat is not installed");
        const QString image = tmp.path() + "/fat.img", mountPoint = tmp.path() + "/fat";
        QDir().mkpath(mountPoint);
        QString loop;
        QVERIFY(run("dd", {"if=/dev/zero", "of=" + image, "bs=1M", "count=4", "status=none"}));
        QVERIFY(run("mkfs.vfat", {"-n", "CORVEL3", image}));
        if (!run("losetup", {"-f", "--show", image}, &loop) || loop.isEmpty())
            QSKIP("no loop device is free here");
        if (!run("fusefat", {"-o", "rw+,fsname=" + loop, loop, mountPoint})) {
            run("losetup", {"-d", loop});
            QSKIP("fusefat could not mount the image (no FUSE here?)");
        }
        touch(mountPoint + "/AUTOEXEC.BAT");
        QDir().mkpath(mountPoint + "/System/Playlist");
        touch(mountPoint + "/Songs/a.mid");
        const platform::Attributes boot = platform::attributes(mountPoint + "/AUTOEXEC.BAT");
        const platform::Attributes systemFolder = platform::attributes(mountPoint + "/System");
        const platform::Attributes song = platform::attributes(mountPoint + "/Songs/a.mid");
        const platform::Attributes playlists = platform::attributes(mountPoint + "/System/Playlist");
        run("umount", {mountPoint});
        run("losetup", {"-d", loop});
        QVERIFY(boot.hidden && boot.system);
        QVERIFY(systemFolder.hidden && systemFolder.system);
        QVERIFY(!song.hidden && !song.system);
        QVERIFY(!playlists.hidden && !playlists.system);
    }

    void resolveIgnoresCase_data()
    {
        QTest::addColumn<QString>("folderSuffix");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("expected");   // relative to the folder
        QTest::newRow("as on the drive") << "" << "System/Playlist" << "System/Playlist";
        QTest::newRow("lower case") << "" << "system/playlist" << "System/Playlist";
        QTest::newRow("upper case, trailing separators") << "/" << "SYSTEM/PLAYLIST/" << "System/Playlist";
        QTest::newRow("missing part kept as written") << "" << "system/Nothing/here" << "System/Nothing/here";
        QTest::newRow("exact case preferred") << "" << "images" << "images";
    }
    void resolveIgnoresCase()
    {
        QFETCH(QString, folderSuffix);
        QFETCH(QString, asked);
        QFETCH(QString, expected);
        const QString folder = tmp.path() + "/resolve";
        QDir().mkpath(folder + "/System/Playlist");
        QDir().mkpath(folder + "/images");
        QDir().mkpath(folder + "/Images");
        QCOMPARE(entries::resolve(folder + folderSuffix, asked), folder + "/" + expected);
    }

    void walkerSkipsHiddenAndFilters()
    {
        const QString f = tmp.path() + "/walk";
        touch(f + "/a.MID");
        touch(f + "/noDot");
        touch(f + "/.hidden.mid");
        touch(f + "/Rock/b.mid");
        touch(f + "/.Secret/c.mid");
        touch(f + "/Marked/d.mid");
        if (!setDosAttrib(f + "/Marked", "0x2"))
            QSKIP("this file system keeps no user extended attributes");
        QDir().mkpath(tmp.path() + "/elsewhere/Inside");
        touch(tmp.path() + "/elsewhere/Inside/e.mid");
        QFile::link(tmp.path() + "/elsewhere", f + "/Link.d");

        auto relative = [&](const QStringList &paths) {
            QStringList out;
            for (const QString &p : paths)
                out << p.mid(f.size() + 1);
            out.sort();
            return out;
        };
        entries::ListOptions visible;
        visible.nameFilters = QStringList{"*.mid", "*.d"};
        QCOMPARE(relative(entries::list(f, visible)), (QStringList{"Link.d", "Rock/b.mid", "a.MID"}));

        entries::ListOptions all = visible;
        all.includeHiddenSystem = true;
        QCOMPARE(relative(entries::list(f, all)),
                 (QStringList{".Secret/c.mid", ".hidden.mid", "Link.d", "Marked/d.mid", "Rock/b.mid", "a.MID"}));

        entries::ListOptions firstLevel;
        firstLevel.recursive = false;
        firstLevel.includeHiddenSystem = true;
        firstLevel.foldersFirstByName = true;
        QStringList order;
        QVERIFY(entries::walk(f, firstLevel, [&](const QFileInfo &i) { order << i.fileName(); return true; }));
        QCOMPARE(order, (QStringList{".Secret", "Link.d", "Marked", "Rock", ".hidden.mid", "a.MID", "noDot"}));

        int seen = 0;
        QVERIFY(!entries::walk(f, all, [&](const QFileInfo &) { return ++seen < 2; }));
        QCOMPARE(seen, 2);
    }
};

QTEST_GUILESS_MAIN(TestEntries)
#include "tst_entries.moc"
