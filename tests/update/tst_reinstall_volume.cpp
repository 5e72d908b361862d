// The reinstall that restores the songs on a real mounted volume labelled "corvel3", found through
// the real volume list; then the attribute helper's marks as the tool's own listings read them.
// Needs root (loop mount); skipped otherwise.
#include <QStandardPaths>
#include <QtTest>

#include "device/devicedrive.h"
#include "device/entries.h"
#include "device/platform.h"
#include "tests/common/drivefixture.h"
#include "tests/common/httptestserver.h"
#include "tests/update/updatetestsupport.h"
#include "transfer/backup.h"
#include "transfer/restore.h"
#include "update/reinstall.h"
#include "update/updateserver.h"

namespace {
bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000))
        return false;
    if (output)
        *output = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
}
} // namespace

class TestReinstallVolume : public QObject {
    Q_OBJECT

public:
    // Also when a check in initTestCase gave up after the mount.
    ~TestReinstallVolume() override { unmount(); }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void restoreVariantOnMountedVolume();

private:
    void unmount()
    {
        if (mounted && run("umount", {mountPoint}))
            mounted = false;
    }

    QTemporaryDir work;
    QString mountPoint;
    bool mounted = false;
    EnvOverride *noVolumes = nullptr;
};

void TestReinstallVolume::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("mounting a loop image needs root");
    for (const char *tool : {"truncate", "mkfs.ext4", "mount", "umount"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP(qPrintable(QString("%1 is not installed").arg(tool)));
    const QString image = work.filePath("corvel3.img");
    mountPoint = work.filePath("mnt");
    QVERIFY(QDir().mkpath(mountPoint));
    QVERIFY(run("truncate", {"-s", "64M", image}));
    QVERIFY(run("mkfs.ext4", {"-q", "-F", "-L", "corvel3", image}));
    if (!run("mount", {"-o", "loop", image, mountPoint}))
        QSKIP("loop mounting is not available here");
    mounted = true;
    // The real volume list, not a fixture's.
    qunsetenv("CORVEL3_VOLUMES");
    if (findDeviceDrive() != mountPoint + "/")
        QSKIP(qPrintable("another volume answers as the player: " + findDeviceDrive()));
}

void TestReinstallVolume::cleanupTestCase()
{
    unmount();
}

void TestReinstallVolume::restoreVariantOnMountedVolume()
{
    PrivateTempDir temp;
    const QString script = QFINDTESTDATA("../../scripts/make-demo-packages.sh");
    QVERIFY(!script.isEmpty());
    QVERIFY(run("sh", {script, work.filePath("served")}));
    HttpTestServer server;
    QVERIFY(server.listen());
    EnvOverride serverOverride("CORVEL3_UPDATE_SERVER", server.baseUrl());
    const QString served = work.filePath("served/download/Corvel3/");
    server.serveFile(QString::fromLatin1(kFullPackagePath), served + "CorvelAll.zip");
    server.serveFile(QString::fromLatin1(kUpdatePackagePath), served + "CorvelUpdate.zip");

    const QString root = mountPoint + "/";
    writeFile(root + "System/Corvel/Corvel.exe", "broken");
    writeFile(root + "System/Playlist/Mine.pls", "\\sdmemory\\Rock\\one.mp3^One\r\n");
    writeFile(root + "Rock/one.mp3", DriveFixture::mp3Bytes("One"));
    writeFile(root + "Rock/two.mid", DriveFixture::midiBytes("Two"));
    writeFile(root + "Slow/three.kar", DriveFixture::karaokeBytes("Three"));
    QMap<QString, QByteArray> songs = treeContents(root);
    songs.remove("System/Corvel/Corvel.exe");
    QTemporaryDir pc;

    EngineHarness h;
    h.ctx.findDeviceDrive = [] { return findDeviceDrive(); };
    h.dialogs.answerFolder(pc.path());
    h.dialogs.answer("Si");
    h.dialogs.answer("Ok");
    ReinstallOps ops;
    ops.files = h.ops();
    ops.backupToFolder = [&h](const QString &r, const QString &f) { return transfer::backupToFolder(h.ctx, r, f); };
    ops.restoreFromFolder = [&h](const QString &f, const QString &r) { return transfer::restoreFromFolder(h.ctx, f, r); };
    ops.updateSystem = [&h] { return SystemUpdate(h.ctx, h.ops()).updateSystem(false); };

    Reinstall(h.ctx, ops).reinstallAndRestore();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join("; ")));
    QCOMPARE(h.dialogs.titles().last(), QString("End operation"));
    const auto after = treeContents(root);
    for (auto it = songs.cbegin(); it != songs.cend(); ++it)
        QCOMPARE(after.value(it.key()), it.value());
    QVERIFY(after.contains("AUTOEXEC.BAT"));
    QVERIFY(after.value("System/Corvel/Corvel.exe").startsWith("MZ"));
    QVERIFY(after.contains("CorvelUpdate/version.txt"));
    QCOMPARE(treeContents(pc.path()), songs);

    // The marks are on the disk itself, not only assumed for the player's names...
    for (const QString &entry : {QStringLiteral("System"), QStringLiteral("AUTOEXEC.BAT")}) {
        QByteArray value;
        if (run("getfattr", {"--only-values", "-n", "user.DOSATTRIB", root + entry}, &value))
            QCOMPARE(value.trimmed(), QByteArray("0x6"));
        const platform::Attributes marks = platform::attributes(root + entry);
        QVERIFY2(marks.hidden && marks.system, qPrintable(entry));
    }
    // ...and every listing that skips hidden entries leaves them out.
    entries::ListOptions visible;
    visible.recursive = false;
    QStringList names;
    for (const QString &path : entries::list(root, visible))
        names << QFileInfo(path).fileName();
    names.sort();
    QCOMPARE(names, QStringList({"BRIDGES", "EFFECTS", "Rock", "Slow"}));
}

QTEST_GUILESS_MAIN(TestReinstallVolume)
#include "tst_reinstall_volume.moc"
