#include "update/downloadmanager.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <cstdio>

namespace {
constexpr qint64 kReadBufferBytes = 1024 * 1024;
constexpr int kMaxRedirects = 5;
}

DownloadManager::DownloadManager(const QString &saveFolder, QObject *parent)
    : QObject(parent), folder(QDir::cleanPath(saveFolder))
{
}

DownloadManager::~DownloadManager()
{
    // A transfer still running (after a Stop) ends with the manager; its slots must not run.
    if (reply) {
        reply->disconnect(this);
        reply->abort();
        delete reply;
        reply = nullptr;
    }
    outputFile.close();
}

QString DownloadManager::makeSavePath(const QUrl &url)
{
    const QString path = url.path(QUrl::FullyDecoded);
    // Only a name: no separator of any system leads out of the save folder.
    QString name = path.mid(qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1);
    if (name.isEmpty() || name == QLatin1String("..") || name == QLatin1String(".") || name.contains(QLatin1Char(':')))
        name = QStringLiteral("download");
    const QString full = folder + QLatin1Char('/') + name;
    if (QFile::exists(full))
        QFile::remove(full);
    return full;
}

QUrl DownloadManager::parseAddress(const QString &address)
{
    return QUrl::fromEncoded(address.toLocal8Bit(), QUrl::TolerantMode);
}

bool DownloadManager::openOutput(const QUrl &url)
{
    outputFile.setFileName(savePath);
    bytesWritten = 0;
    writeFailed = false;
    downloadOk = false;
    if (outputFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return true;
    std::fprintf(stderr, "Problem opening save file '%s' for download '%s': %s\n", qPrintable(savePath),
                 url.toEncoded().constData(), qPrintable(outputFile.errorString()));
    std::fflush(stderr);
    return false;
}

void DownloadManager::sendRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    // Redirects are followed, http to https included, but never from https back to http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    reply = networkManager.get(request);
    // Bounds what the network layer may hold for us: it stops reading from the socket until
    // downloadReadyRead has passed the bytes on to the file.
    reply->setReadBufferSize(kReadBufferBytes);
    connect(reply, &QNetworkReply::downloadProgress, this, &DownloadManager::downloadProgress);
    connect(reply, &QNetworkReply::finished, this, &DownloadManager::downloadFinished);
    connect(reply, &QNetworkReply::readyRead, this, &DownloadManager::downloadReadyRead);
    std::printf("Downloading %s...\n", url.toEncoded().constData());
    std::fflush(stdout);
}

bool DownloadManager::download(const QString &address)
{
    downloadDone = false;
    downloadPercent = 0;
    const QUrl url = parseAddress(address);
    savePath = makeSavePath(url);
    if (QFile::exists(savePath))
        QFile::remove(savePath);
    if (!openOutput(url))
        return false;
    sendRequest(url);
    return true;
}

void DownloadManager::appendUrl(const QUrl &url)
{
    if (urlQueue.isEmpty() && !queueRunning) {
        queueRunning = true;
        QTimer::singleShot(0, this, &DownloadManager::startNextDownload);
    }
    urlQueue.enqueue(url);
    ++queuedCount;
}

void DownloadManager::appendAddress(const QString &address)
{
    const QUrl url = parseAddress(address);
    if (url.isValid())
        appendUrl(url);
    // Nothing to fetch and nothing running: the (empty) run ends at once.
    if (urlQueue.isEmpty() && !queueRunning)
        QTimer::singleShot(0, this, &DownloadManager::finished);
}

void DownloadManager::startNextDownload()
{
    downloadDone = false;
    if (urlQueue.isEmpty()) {
        queueRunning = false;
        std::printf("%d/%d files downloaded successfully\n", okCount, queuedCount);
        std::fflush(stdout);
        emit finished();
        return;
    }
    const QUrl url = urlQueue.dequeue();
    downloadPercent = 0;
    savePath = makeSavePath(url);
    if (!openOutput(url)) {
        startNextDownload();
        return;
    }
    sendRequest(url);
    // The queue runs by itself: once this reply is through, the next address starts.
    connect(reply, &QNetworkReply::finished, this, &DownloadManager::startNextDownload, Qt::QueuedConnection);
}

void DownloadManager::downloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    received = bytesReceived;
    // No length announced (-1) or an empty body: the percentage stays where it was.
    if (bytesTotal <= 0)
        return;
    downloadPercent = int(bytesReceived * 100 / bytesTotal);
}

void DownloadManager::writeAvailable()
{
    if (!reply)
        return;
    const QByteArray chunk = reply->readAll();
    if (chunk.isEmpty() || writeFailed)
        return;
    // A full PC disk shows up here, not as a network error.
    if (outputFile.write(chunk) != chunk.size())
        writeFailed = true;
    bytesWritten += chunk.size();
}

void DownloadManager::downloadReadyRead()
{
    writeAvailable();
}

bool DownloadManager::replyComplete()
{
    if (!reply || reply->error() != QNetworkReply::NoError || writeFailed)
        return false;
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200)
        return false;
    // A body cut short of its announced length. (The network layer never hands over more than
    // announced, and the header it reports after a redirect or without a length can be stale,
    // so only a shortfall counts; a body it unpacked has another length altogether.)
    const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed().toLower();
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    if (announced.isValid() && (encoding.isEmpty() || encoding == "identity")
        && bytesWritten < announced.toLongLong())
        return false;
    return true;
}

void DownloadManager::downloadFinished()
{
    // Whatever is still buffered belongs to the file too.
    if (reply && reply->bytesAvailable() > 0)
        writeAvailable();
    if (!outputFile.flush())
        writeFailed = true;
    outputFile.close();
    downloadOk = replyComplete();
    if (!downloadOk) {
        std::fprintf(stderr, "Failed: %s\n",
                     qPrintable(reply && reply->error() != QNetworkReply::NoError ? reply->errorString()
                                                                                   : QStringLiteral("incomplete reply")));
        std::fflush(stderr);
    } else {
        std::printf("Succeeded.\n");
        std::fflush(stdout);
        ++okCount;
    }
    if (reply)
        reply->deleteLater();
    reply = nullptr;
    downloadDone = true;
}
