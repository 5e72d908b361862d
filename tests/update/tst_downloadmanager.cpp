#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "tests/common/httptestserver.h"
#include "tests/update/updatetestsupport.h"
#include "update/downloadmanager.h"
#include "update/systemupdate.h"
#include "update/updateserver.h"

using Fault = HttpTestServer::Fault;

class TestDownloadManager : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void makeSavePath_data();
    void makeSavePath();
    void updateServerAddress_data();
    void updateServerAddress();

    void downloadAnswers_data();
    void downloadAnswers();
    void clearFolderEmptiesSaveFolder();
    void staleFileGoesBeforeDownload();
    void missingSaveFolderSendsNothing();
    void stopEndsSlowTrickle();
    void barShowsEachPercentOnceAndEndsAtHundred();
    void diagnosticsLines();
    void queueRunsAllAddresses();
    void emptyQueueFinishes();

private:
    HttpTestServer *server = nullptr;
    PrivateTempDir *temp = nullptr;
};

void TestDownloadManager::init()
{
    temp = new PrivateTempDir;
    server = new HttpTestServer;
    QVERIFY(server->listen());
}

void TestDownloadManager::cleanup()
{
    delete server;
    server = nullptr;
    delete temp;
    temp = nullptr;
}

void TestDownloadManager::makeSavePath_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");
    QTest::newRow("package") << "http://h/download/Corvel3/CorvelUpdate.zip" << "CorvelUpdate.zip";
    QTest::newRow("trailing slash") << "http://h/download/Corvel3/" << "download";
    QTest::newRow("no path") << "http://h" << "download";
    QTest::newRow("encoded blank") << "http://h/a%20b.zip" << "a b.zip";
    QTest::newRow("query ignored") << "http://h/x.zip?v=2" << "x.zip";
}

void TestDownloadManager::makeSavePath()
{
    QFETCH(QString, address);
    QFETCH(QString, name);
    DownloadManager manager;
    const QString expected = temp->saveFolder() + QLatin1Char('/') + name;
    writeTree(temp->saveFolder(), {{name, "old"}});
    QCOMPARE(manager.makeSavePath(QUrl(address)), expected);
    QVERIFY(!QFile::exists(expected));
    QVERIFY(QFileInfo(temp->saveFolder()).isDir());   // the folder itself stays
}

void TestDownloadManager::updateServerAddress_data()
{
    QTest::addColumn<QByteArray>("override");
    QTest::addColumn<QString>("expected");
    QTest::newRow("vendor") << QByteArray() << "http://update.v-orla.it/download/Corvel3/CorvelUpdate.zip";
    QTest::newRow("local") << QByteArray("http://127.0.0.1:8631")
                           << "http://127.0.0.1:8631/download/Corvel3/CorvelUpdate.zip";
    QTest::newRow("no scheme") << QByteArray("127.0.0.1:9000") << "http://127.0.0.1:9000/download/Corvel3/CorvelUpdate.zip";
    QTest::newRow("path dropped") << QByteArray("http://localhost:81/mirror/")
                                  << "http://localhost:81/download/Corvel3/CorvelUpdate.zip";
}

void TestDownloadManager::updateServerAddress()
{
    QFETCH(QByteArray, override);
    QFETCH(QString, expected);
    const QByteArray previous = qgetenv("CORVEL3_UPDATE_SERVER");
    if (override.isNull())
        qunsetenv("CORVEL3_UPDATE_SERVER");
    else
        qputenv("CORVEL3_UPDATE_SERVER", override);
    const QString address = ::updateServerAddress(QString::fromLatin1(kUpdatePackagePath));
    qputenv("CORVEL3_UPDATE_SERVER", previous);
    QCOMPARE(address, expected);
}

void TestDownloadManager::downloadAnswers_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("bodySize");
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("cutAfter");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("savedName");   // "" when downloadFile must give nothing back
    QTest::addColumn<int>("savedSize");       // what lands in the save folder

    const QString zip = QStringLiteral("/download/Corvel3/CorvelUpdate.zip");
    const int none = int(Fault::None);
    QTest::newRow("good package") << 200 << 150000 << none << 0 << zip << "CorvelUpdate.zip" << 150000;
    QTest::newRow("404 page") << 404 << 300 << none << 0 << zip << "" << 300;
    QTest::newRow("9999 bytes") << 200 << 9999 << none << 0 << zip << "" << 9999;
    QTest::newRow("10000 bytes") << 200 << 10000 << none << 0 << zip << "CorvelUpdate.zip" << 10000;
    QTest::newRow("empty body") << 200 << 0 << none << 0 << zip << "" << 0;
    // The size rule alone decides: a long enough partial file still comes back.
    QTest::newRow("cut off early") << 200 << 80000 << int(Fault::CutOff) << 5000 << zip << "" << 5000;
    QTest::newRow("cut off late") << 200 << 80000 << int(Fault::CutOff) << 40000 << zip << "CorvelUpdate.zip"
                                  << 40000;
    QTest::newRow("closed without reply") << 200 << 80000 << int(Fault::CloseWithoutReply) << 0 << zip << "" << 0;
    QTest::newRow("no content length") << 200 << 70000 << int(Fault::NoContentLength) << 0 << zip
                                       << "CorvelUpdate.zip" << 70000;
    QTest::newRow("address ends in slash") << 200 << 12000 << none << 0 << "/download/Corvel3/" << "download" << 12000;
}

void TestDownloadManager::downloadAnswers()
{
    QFETCH(int, status);
    QFETCH(int, bodySize);
    QFETCH(int, fault);
    QFETCH(int, cutAfter);
    QFETCH(QString, path);
    QFETCH(QString, savedName);
    QFETCH(int, savedSize);

    const QByteArray body = noise(bodySize);
    HttpTestServer::Route route;
    route.status = status;
    route.body = body;
    route.fault = Fault(fault);
    route.cutAfter = cutAfter;
    server->setRoute(path, route);

    EngineHarness h;
    CapturedOutput output;
    const QString result = downloadPackage(h.ctx, h.ops(), server->url(path), true);
    output.restore();

    if (savedName.isEmpty())
        QCOMPARE(result, QString());
    else
        QCOMPARE(result, temp->saveFolder() + QLatin1Char('/') + savedName);
    // The network layer retries once on a connection closed before any answer.
    QVERIFY(server->requestCount(path) >= 1);
    QCOMPARE(h.progress.value(), 100);
    QCOMPARE(h.progress.maximum(), 100);

    // Whatever arrived stays in the save folder, byte for byte.
    const QString name = savedName.isEmpty() ? QFileInfo(path).fileName() : savedName;
    const QString saved = temp->saveFolder() + QLatin1Char('/') + (name.isEmpty() ? QStringLiteral("download") : name);
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.size(), qint64(savedSize));
    if (status == 200)
        QVERIFY(file.readAll() == body.left(savedSize));
}

void TestDownloadManager::clearFolderEmptiesSaveFolder()
{
    writeTree(temp->saveFolder(), {{"old.zip", noise(20000)}, {"CorvelUpdate/a.txt", "x"}});
    server->serveBytes(QStringLiteral("/p.zip"), noise(20000));
    EngineHarness h;
    CapturedOutput output;
    QCOMPARE(downloadPackage(h.ctx, h.ops(), server->url(QStringLiteral("/p.zip")), true),
             temp->saveFolder() + QStringLiteral("/p.zip"));
    output.restore();
    QCOMPARE(QDir(temp->saveFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("p.zip")});
}

void TestDownloadManager::staleFileGoesBeforeDownload()
{
    // Without clearing, a previous package of the same name still never survives a failed fetch.
    writeTree(temp->saveFolder(), {{"p.zip", noise(50000)}, {"keep.txt", "k"}});
    server->serveStatus(QStringLiteral("/p.zip"), 404);
    EngineHarness h;
    CapturedOutput output;
    QCOMPARE(downloadPackage(h.ctx, h.ops(), server->url(QStringLiteral("/p.zip")), false), QString());
    output.restore();
    QVERIFY(QFileInfo(temp->saveFolder() + QStringLiteral("/p.zip")).size() < 1000);
    QVERIFY(QFile::exists(temp->saveFolder() + QStringLiteral("/keep.txt")));
}

void TestDownloadManager::missingSaveFolderSendsNothing()
{
    server->serveBytes(QStringLiteral("/p.zip"), noise(20000));
    EngineHarness h;
    CapturedOutput output;
    QCOMPARE(downloadPackage(h.ctx, h.ops(), server->url(QStringLiteral("/p.zip")), false), QString());
    const QByteArray err = output.err();
    QCOMPARE(err, "Problem opening save file '" + QFile::encodeName(temp->saveFolder()) + "/p.zip' for download '"
                      + server->url(QStringLiteral("/p.zip")).toUtf8() + "': No such file or directory\n");
    QVERIFY(server->requests().isEmpty());
    QVERIFY(h.progress.values.isEmpty());   // no wait, no bar
}

void TestDownloadManager::stopEndsSlowTrickle()
{
    server->serveTrickle(QStringLiteral("/slow.zip"), noise(60000), 200, 50);
    EngineHarness h;
    QTimer::singleShot(800, [&h] { h.state.stopRequested = true; });
    CapturedOutput output;
    const QString result = downloadPackage(h.ctx, h.ops(), server->url(QStringLiteral("/slow.zip")), true);
    output.restore();
    // Far from the 15 s the whole body takes: only a few kilobytes arrived, too few to keep.
    QCOMPARE(result, QString());
    const qint64 arrived = QFileInfo(temp->saveFolder() + QStringLiteral("/slow.zip")).size();
    QVERIFY2(arrived > 0 && arrived < 10000, QByteArray::number(arrived));
    QCOMPARE(h.progress.value(), 100);
    // The transfer ended with the manager: the server sees the connection go.
    QTRY_COMPARE_WITH_TIMEOUT(server->openConnections(), 0, 5000);
}

void TestDownloadManager::barShowsEachPercentOnceAndEndsAtHundred()
{
    server->serveTrickle(QStringLiteral("/t.zip"), noise(12000), 1200, 150);
    EngineHarness h;
    CapturedOutput output;
    QVERIFY(!downloadPackage(h.ctx, h.ops(), server->url(QStringLiteral("/t.zip")), true).isEmpty());
    output.restore();
    // The bar is set to 0, then each tick writes only a changed percentage, then 100 at the end.
    QList<int> values = h.progress.values;
    QVERIFY2(values.size() >= 4, qPrintable(QString::number(values.size())));
    QCOMPARE(values.takeFirst(), 0);
    QCOMPARE(values.last(), 100);
    for (int i = 1; i + 1 < values.size(); ++i) {
        QVERIFY2(values[i] != values[i - 1], "a percentage was written twice");
        QVERIFY(values[i] > values[i - 1]);
    }
}

void TestDownloadManager::diagnosticsLines()
{
    server->serveBytes(QStringLiteral("/ok.zip"), noise(100));
    server->serveStatus(QStringLiteral("/missing.zip"), 404);
    const QString good = server->url(QStringLiteral("/ok.zip"));
    const QString bad = server->url(QStringLiteral("/missing.zip"));
    QDir().mkpath(temp->saveFolder());

    CapturedOutput output;
    {
        DownloadManager manager;
        QVERIFY(manager.download(good));
        QTRY_VERIFY_WITH_TIMEOUT(manager.downloadDone, 10000);
        QVERIFY(manager.download(bad));
        QTRY_VERIFY_WITH_TIMEOUT(manager.downloadDone, 10000);
    }
    const QByteArray out = output.out();
    const QByteArray err = output.err();
    QCOMPARE(out, "Downloading " + good.toUtf8() + "...\nSucceeded.\nDownloading " + bad.toUtf8() + "...\n");
    QVERIFY2(err.startsWith("Failed: ") && err.endsWith("\n") && err.count('\n') == 1, err.constData());
}

void TestDownloadManager::queueRunsAllAddresses()
{
    QDir().mkpath(temp->saveFolder());
    server->serveBytes(QStringLiteral("/a.zip"), "first");
    server->serveBytes(QStringLiteral("/b.zip"), "second");
    server->serveStatus(QStringLiteral("/c.zip"), 404);
    DownloadManager manager;
    QSignalSpy done(&manager, &DownloadManager::finished);
    CapturedOutput output;
    manager.appendAddress(server->url(QStringLiteral("/a.zip")));
    manager.appendAddress(server->url(QStringLiteral("/c.zip")));
    manager.appendUrl(QUrl(server->url(QStringLiteral("/b.zip"))));
    QVERIFY(done.wait(10000));
    const QByteArray out = output.out();
    QCOMPARE(done.count(), 1);
    QCOMPARE(server->requests(), (QStringList{"/a.zip", "/c.zip", "/b.zip"}));
    QVERIFY2(out.endsWith("2/3 files downloaded successfully\n"), out.constData());
    QFile a(temp->saveFolder() + QStringLiteral("/a.zip"));
    QVERIFY(a.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), QByteArray("first"));
}

void TestDownloadManager::emptyQueueFinishes()
{
    DownloadManager manager;
    QSignalSpy done(&manager, &DownloadManager::finished);
    manager.appendAddress(QStringLiteral("http://[invalid"));
    QVERIFY(done.wait(5000));
    QVERIFY(server->requests().isEmpty());
}

QTEST_GUILESS_MAIN(TestDownloadManager)
#include "tst_downloadmanager.moc"
