#include <QTimer>
#include <QtTest>

#include "tests/common/drivefixture.h"
#include "tests/common/httptestserver.h"
#include "tests/update/updatetestsupport.h"
#include "ui/core/messagetable.h"
#include "update/systemupdate.h"
#include "update/updateserver.h"

namespace {
const QString kPackagePath = QString::fromLatin1(kUpdatePackagePath);

const QMap<QString, QByteArray> kPackageFiles{
    {"CorvelUpdate/update.bin", noise(24000, 7)},
    {"CorvelUpdate/version.txt", "2.1\r\n"},
    {"CorvelUpdate/Fonts/small.fnt", "font"},
};

QMap<QString, QByteArray> underUpdateFolder(const QMap<QString, QByteArray> &files)
{
    QMap<QString, QByteArray> out;
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        out.insert(it.key().mid(QStringLiteral("CorvelUpdate/").size()), it.value());
    return out;
}
} // namespace

class TestSystemUpdate : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void goodPackageReplacesStaleUpdate_data();
    void goodPackageReplacesStaleUpdate();
    void noEndMessageFromReinstall();
    void failures_data();
    void failures();
    void copyFailureRemovesBothFolders();
    void deviceAbsent();
    void stopDuringDownloadEndsSilently_data();
    void stopDuringDownloadEndsSilently();

private:
    QByteArray packageZip();

    PrivateTempDir *temp = nullptr;
    HttpTestServer *server = nullptr;
    EnvOverride *serverOverride = nullptr;
    QTemporaryDir *work = nullptr;
};

void TestSystemUpdate::init()
{
    temp = new PrivateTempDir;
    server = new HttpTestServer;
    QVERIFY(server->listen());
    serverOverride = new EnvOverride("CORVEL3_UPDATE_SERVER", server->baseUrl());
    work = new QTemporaryDir;
}

void TestSystemUpdate::cleanup()
{
    delete work;
    delete serverOverride;
    delete server;
    delete temp;
}

QByteArray TestSystemUpdate::packageZip()
{
    writeTree(work->path() + QStringLiteral("/pkg"), kPackageFiles);
    return makeZip(work->path() + QStringLiteral("/pkg"), work->path() + QStringLiteral("/CorvelUpdate.zip"),
                   {QStringLiteral("CorvelUpdate")});
}

void TestSystemUpdate::goodPackageReplacesStaleUpdate_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("staleName");
    QTest::addColumn<QString>("endTitle");
    QTest::newRow("english") << 1 << "CorvelUpdate" << "End operation";
    QTest::newRow("italian, stale in other case") << 0 << "corvelupdate" << "Fine operazioni";
}

void TestSystemUpdate::goodPackageReplacesStaleUpdate()
{
    QFETCH(int, language);
    QFETCH(QString, staleName);
    QFETCH(QString, endTitle);

    const QByteArray zip = packageZip();
    QVERIFY(zip.size() >= 10000);
    server->serveBytes(kPackagePath, zip);
    DriveFixture drive;
    drive.addSystemFiles();
    drive.writeFile(staleName + QStringLiteral("/old.bin"), "stale");
    drive.writeFile(staleName + QStringLiteral("/version.txt"), "1.0");

    EngineHarness h;
    h.state.currentLanguage = language;
    h.drive = drive.root();
    h.dialogs.answer(QStringLiteral("Ok"));
    CapturedOutput output;
    QVERIFY(SystemUpdate(h.ctx, h.ops()).updateSystem(true));
    output.restore();

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join('\n')));
    QCOMPARE(h.dialogs.titles(), QStringList{endTitle});
    QCOMPARE(h.dialogs.prompts[0].text, messageText(language, MSG_UPDATE_DOWNLOADED_TEXT));
    QCOMPARE(h.dialogs.prompts[0].icon, BoxIcon::Information);
    QCOMPARE(treeContents(drive.path(QStringLiteral("CorvelUpdate"))), underUpdateFolder(kPackageFiles));
    if (staleName != QLatin1String("CorvelUpdate"))
        QVERIFY(!QFile::exists(drive.path(staleName)));
    QVERIFY(QFile::exists(drive.path(QStringLiteral("System/Corvel/Corvel.exe"))));
    QVERIFY(!QFile::exists(temp->saveFolder()));
    QCOMPARE(h.progress.statusHistory,
             (QStringList{messageText(language, MSG_SEARCHING_DEVICE), messageText(language, MSG_DOWNLOADING_RELEASE),
                          messageText(language, MSG_COPYING_UPDATE_FILES), QString()}));
    QCOMPARE(h.progress.status(), QString());
    QVERIFY(!h.progress.barVisible);
    QVERIFY(!h.progress.statusVisible);
}

void TestSystemUpdate::noEndMessageFromReinstall()
{
    server->serveBytes(kPackagePath, packageZip());
    DriveFixture drive;
    EngineHarness h;
    h.drive = drive.root();
    h.state.stopRequested = true;   // a Stop left over from before is cleared at the start
    CapturedOutput output;
    QVERIFY(SystemUpdate(h.ctx, h.ops()).updateSystem(false));
    output.restore();
    QVERIFY(h.dialogs.prompts.isEmpty());
    QCOMPARE(treeContents(drive.path(QStringLiteral("CorvelUpdate"))), underUpdateFolder(kPackageFiles));
}

void TestSystemUpdate::failures_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("size");            // -1: the real package
    QTest::addColumn<bool>("unpackerMissing");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("leftInSaveFolder");

    QTest::newRow("404 page") << 404 << 200 << false << "Download Error , Cod 1" << QStringList{"CorvelUpdate.zip"};
    QTest::newRow("9999 bytes") << 200 << 9999 << false << "Download Error , Cod 1"
                                << QStringList{"CorvelUpdate.zip"};
    QTest::newRow("unpacker missing") << 200 << -1 << true << "Download Error , Cod 2"
                                      << QStringList{"CorvelUpdate.zip"};
}

void TestSystemUpdate::failures()
{
    QFETCH(int, status);
    QFETCH(int, size);
    QFETCH(bool, unpackerMissing);
    QFETCH(QString, title);
    QFETCH(QStringList, leftInSaveFolder);

    const QByteArray zip = packageZip();
    HttpTestServer::Route route;
    route.status = status;
    route.body = size < 0 ? zip : noise(size);
    server->setRoute(kPackagePath, route);
    QScopedPointer<EnvOverride> unpacker;
    if (unpackerMissing)
        unpacker.reset(new EnvOverride("CORVEL3_UNPACKER", work->path() + QStringLiteral("/no-unar")));

    DriveFixture drive;
    drive.writeFile(QStringLiteral("CorvelUpdate/version.txt"), "1.0");
    EngineHarness h;
    h.drive = drive.root();
    h.dialogs.answer(QStringLiteral("Ok"));
    CapturedOutput output;
    const bool ok = SystemUpdate(h.ctx, h.ops()).updateSystem(true);
    output.restore();

    QVERIFY(!ok);
    QCOMPARE(h.dialogs.titles(), QStringList{title});
    QCOMPARE(h.dialogs.prompts[0].text,
             QStringLiteral("There was an error during update packet download\nPlease try later"));
    QCOMPARE(h.dialogs.prompts[0].icon, BoxIcon::Critical);
    QCOMPARE(h.dialogs.prompts[0].captions(), QStringList{"Ok"});
    QCOMPARE(QDir(temp->saveFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), leftInSaveFolder);
    // The device is not touched before the copy step.
    QCOMPARE(treeContents(drive.path(QStringLiteral("CorvelUpdate"))),
             (QMap<QString, QByteArray>{{"version.txt", "1.0"}}));
    QVERIFY(h.progress.barVisible);   // the caller hides the busy widgets
}

void TestSystemUpdate::copyFailureRemovesBothFolders()
{
    server->serveBytes(kPackagePath, packageZip());
    DriveFixture drive;
    EngineHarness h;
    h.drive = drive.root();
    // The device goes away half-way: the first file lands, the rest cannot.
    UpdateFileOps ops = h.ops();
    const auto realCopy = ops.copyFileList;
    ops.copyFileList = [realCopy](const QStringList &files, const QString &to, const QString &from) {
        realCopy(files.mid(0, 1), to, from);
        return false;
    };
    h.dialogs.answer(QStringLiteral("Ok"));
    CapturedOutput output;
    QVERIFY(!SystemUpdate(h.ctx, ops).updateSystem(true));
    output.restore();
    QCOMPARE(h.dialogs.titles(), QStringList{"Download Error , Cod 3"});
    QVERIFY(!QFile::exists(drive.path(QStringLiteral("CorvelUpdate"))));
    QVERIFY(!QFile::exists(temp->saveFolder()));
}

void TestSystemUpdate::deviceAbsent()
{
    server->serveBytes(kPackagePath, packageZip());
    EngineHarness h;
    h.state.currentLanguage = 0;
    h.dialogs.answer(QStringLiteral("Ok"));
    QVERIFY(!SystemUpdate(h.ctx, h.ops()).updateSystem(true));
    QCOMPARE(h.dialogs.titles(), QStringList{"Corvel3 non è stato trovato"});
    QCOMPARE(h.dialogs.prompts[0].text, messageText(0, MSG_DEVICE_NOT_FOUND_TEXT));
    QVERIFY(server->requests().isEmpty());
    QVERIFY(!QFile::exists(temp->saveFolder()));
}

void TestSystemUpdate::stopDuringDownloadEndsSilently_data()
{
    QTest::addColumn<int>("stopAfter");   // bytes in the save file when Stop is pressed
    QTest::newRow("partial file kept") << 12000;
    QTest::newRow("too little to keep") << 2000;
}

void TestSystemUpdate::stopDuringDownloadEndsSilently()
{
    QFETCH(int, stopAfter);
    const QByteArray zip = packageZip();
    server->serveTrickle(kPackagePath, zip, 2000, 200);
    DriveFixture drive;
    EngineHarness h;
    h.drive = drive.root();
    QTimer stopper;
    const QString saved = temp->saveFolder() + QStringLiteral("/CorvelUpdate.zip");
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (QFileInfo(saved).size() >= stopAfter)
            h.state.stopRequested = true;
    });
    stopper.start(20);
    CapturedOutput output;
    QVERIFY(!SystemUpdate(h.ctx, h.ops()).updateSystem(true));
    output.restore();
    // No error box for a download the user stopped, and nothing reaches the device.
    QVERIFY(h.dialogs.prompts.isEmpty());
    QVERIFY(!QFile::exists(drive.path(QStringLiteral("CorvelUpdate"))));
    const qint64 partial = QFileInfo(saved).size();
    QVERIFY2(partial >= stopAfter && partial < zip.size(), QByteArray::number(partial));
}

QTEST_GUILESS_MAIN(TestSystemUpdate)
#include "tst_systemupdate.moc"
