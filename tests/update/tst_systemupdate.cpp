// The download, the unpacker and the update operation against the loopback server.
#include <QTimer>
#include <QtTest>

#include "tests/update/updatetestsupport.h"
#include "core/messagetable.h"
#include "update/unpack.h"

using Fault = HttpTestServer::Fault;
Q_DECLARE_METATYPE(HttpTestServer::Fault)

class TestSystemUpdate : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void download_data();
    void download();
    void update_data();
    void update();
    void realUnpackerKeepsFoldersAndDeletesArchive();

private:
    QTemporaryDir packages;
    QString zip;        // the demo update package
    QString otherZip;   // the full package, served where the update belongs
    QMap<QString, QByteArray> updateFiles;
};

void TestSystemUpdate::initTestCase()
{
    zip = makeDemoPackages(packages.path()) + "CorvelUpdate.zip";
    otherZip = QFileInfo(zip).absolutePath() + "/CorvelAll.zip";
    updateFiles = archiveContents(zip, packages.filePath("update"));
    QVERIFY(updateFiles.contains("CorvelUpdate/Fonts/display.fnt") && updateFiles.contains("CorvelUpdate/README"));
}

void TestSystemUpdate::download_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("size");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("arrived");   // bytes that reach the save file
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("redirects");   // hops before the route that answers
    QTest::addColumn<bool>("kept");       // the file is given back as a package
    const QString zipPath = "/download/Corvel3/CorvelUpdate.zip";
    QTest::newRow("a 404 page is no package") << 404 << 30000 << Fault::None << 30000 << zipPath << 0 << false;
    QTest::newRow("9999 bytes are too few") << 200 << 9999 << Fault::None << 9999 << zipPath << 0 << false;
    QTest::newRow("10000 bytes are a package") << 200 << 10000 << Fault::None << 10000 << zipPath << 0 << true;
    QTest::newRow("a body cut short of its length is no package")
        << 200 << 80000 << Fault::CutOff << 40000 << zipPath << 0 << false;
    QTest::newRow("a closed connection is no package") << 200 << 80000 << Fault::CloseWithoutReply << 0 << zipPath << 0
                                                       << false;
    QTest::newRow("a body without length counts when whole")
        << 200 << 70000 << Fault::NoContentLength << 70000 << zipPath << 0 << true;
    QTest::newRow("an address ending in a slash saves as download")
        << 200 << 12000 << Fault::None << 12000 << "/download/Corvel3/" << 0 << true;
    QTest::newRow("five redirects are followed") << 200 << 12000 << Fault::None << 12000 << zipPath << 5 << true;
    QTest::newRow("a sixth redirect is refused") << 200 << 12000 << Fault::None << 0 << zipPath << 6 << false;
}

void TestSystemUpdate::download()
{
    QFETCH(int, status);
    QFETCH(int, size);
    QFETCH(Fault, fault);
    QFETCH(int, arrived);
    QFETCH(QString, path);
    QFETCH(int, redirects);
    QFETCH(bool, kept);
    UpdateBed bed;
    HttpTestServer::Route route;
    route.status = status;
    for (int i = 0; route.body.size() < size; ++i)
        route.body += QByteArray::number(i) + ',';
    route.body.truncate(size);
    route.fault = fault;
    route.cutAfter = arrived;
    const QString target = redirects ? QString("/final/CorvelUpdate.zip") : path;
    bed.server.setRoute(target, route);
    QString from = path;
    for (int hop = 1; hop <= redirects; ++hop) {
        const QString next = hop == redirects ? target : QString("/hop%1/CorvelUpdate.zip").arg(hop);
        bed.server.serveRedirect(from, bed.server.url(next));
        from = next;
    }
    EngineHarness h;

    const QString result = downloadPackage(h.ctx, bed.server.url(path), true);

    const QString saved = bed.saveFolder() + (path.endsWith('/') ? "/download" : "/CorvelUpdate.zip");
    QCOMPARE(result, kept ? saved : QString());
    // Whatever arrived stays in the save folder, byte for byte.
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    if (redirects <= 5)
        QVERIFY(file.readAll() == route.body.left(arrived));
}

void TestSystemUpdate::update_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("text");
    QTest::addColumn<bool>("zipLeft");           // the archive is all the save folder holds
    QTest::addColumn<QString>("updateFolder");   // on the drive afterwards: "new", "stale" or "none"
    QTest::newRow("good") << "" << 0 << QStringList{"Fine operazioni"} << int(MSG_UPDATE_DOWNLOADED_TEXT) << false
                          << "new";
    QTest::newRow("404") << "404" << 1 << QStringList{"Download Error , Cod 1"} << int(MSG_DOWNLOAD_ERROR_TEXT)
                         << true << "stale";
    QTest::newRow("no unpacker") << "no unar" << 0 << QStringList{"Download Error , Cod 2"}
                                 << int(MSG_DOWNLOAD_ERROR_TEXT) << true << "stale";
    QTest::newRow("an unpacker that fails") << "unar fails" << 1 << QStringList{"Download Error , Cod 2"}
                                            << int(MSG_DOWNLOAD_ERROR_TEXT) << true << "stale";
    QTest::newRow("a zip without the update folder") << "empty zip" << 1 << QStringList{"Download Error , Cod 2"}
                                                     << int(MSG_DOWNLOAD_ERROR_TEXT) << false << "stale";
    QTest::newRow("no device") << "absent" << 1 << QStringList{"I can't find Corvel3 on USB port"}
                               << int(MSG_DEVICE_NOT_FOUND_TEXT) << false << "stale";
    // A download the user stopped ends silently, whatever had arrived.
    QTest::newRow("stop") << "stop" << 1 << QStringList() << -1 << true << "stale";
}

void TestSystemUpdate::update()
{
    QFETCH(QString, fault);
    QFETCH(int, language);
    QFETCH(QStringList, titles);
    QFETCH(int, text);
    QFETCH(bool, zipLeft);
    QFETCH(QString, updateFolder);
    UpdateBed bed;
    const QString route = QString::fromLatin1(kUpdatePackagePath);
    if (fault == "404")
        bed.server.serveStatus(route, 404);
    else if (fault == "stop")
        bed.server.serveTrickle(route, QByteArray(20000, 'x'), 500, 100);
    else if (fault == "empty zip")
        bed.serveUpdate(otherZip);
    else
        bed.serveUpdate(zip);
    if (fault == "no unar")
        qputenv("CORVEL3_UNPACKER", "/no/unar");
    if (fault == "unar fails")
        qputenv("CORVEL3_UNPACKER", "/bin/false");
    const auto unpacker = qScopeGuard([] { qunsetenv("CORVEL3_UNPACKER"); });
    DriveFixture drive;
    drive.addSystemFiles();
    const auto system = treeContents(drive.root());
    // The device's names ignore case: a stale "corvelupdate" is the folder to replace.
    drive.writeFile("corvelupdate/old.bin", "stale");
    const auto before = treeContents(drive.root());

    EngineHarness h;
    h.state.currentLanguage = language;
    h.drive = fault == "absent" ? QString() : drive.root();
    for (int i = 0; i < titles.size(); ++i)
        h.dialogs.answer("Ok");
    if (fault == "stop")
        QTimer::singleShot(700, [&h] { h.state.stopRequested = true; });

    QCOMPARE(SystemUpdate(h.ctx).updateSystem(true), fault.isEmpty());

    QVERIFY2(h.dialogs.failures.isEmpty(), qPrintable(h.dialogs.failures.join('\n')));
    QCOMPARE(h.dialogs.titles(), titles);
    if (text >= 0)
        QCOMPARE(h.dialogs.prompts[0].text, messageText(language, text));
    if (fault != "empty zip") {
        QCOMPARE(QDir(bed.saveFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 zipLeft ? QStringList{"CorvelUpdate.zip"} : QStringList());
        QCOMPARE(QFileInfo::exists(bed.saveFolder()), zipLeft);
    }
    QMap<QString, QByteArray> expected = updateFolder == "stale" ? before : system;
    if (updateFolder == "new")
        expected = merged(expected, updateFiles);
    QCOMPARE(treeContents(drive.root()), expected);
    if (fault == "absent")
        QVERIFY(bed.server.requests().isEmpty());
    if (fault == "stop")
        QVERIFY(QFileInfo(bed.saveFolder() + "/CorvelUpdate.zip").size() < 20000);
    QTRY_COMPARE_WITH_TIMEOUT(bed.server.openConnections(), 0, 5000);
}

void TestSystemUpdate::realUnpackerKeepsFoldersAndDeletesArchive()
{
    QTemporaryDir save;
    QVERIFY(QFile::copy(zip, save.filePath("CorvelUpdate.zip")));
    RecordingProgress bar;
    QVERIFY(unpackPackage(save.filePath("CorvelUpdate.zip"), bar));
    QCOMPARE(treeContents(save.path()), updateFiles);
}

QTEST_GUILESS_MAIN(TestSystemUpdate)
#include "tst_systemupdate.moc"
