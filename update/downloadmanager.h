#pragma once

#include <QFile>
#include <QNetworkAccessManager>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QUrl>

class QNetworkReply;

// Writes the body of one HTTP GET into the save folder it is given (a run's own, see
// update/runfolder.h) and publishes a percentage and a done flag for the operation that polls them. Bytes go to the
// file as they arrive, so memory stays flat whatever the package size. The queue form
// (appendUrl/appendAddress) downloads its addresses one after the other by itself.
class DownloadManager : public QObject {
    Q_OBJECT

public:
    explicit DownloadManager(const QString &saveFolder, QObject *parent = nullptr);
    ~DownloadManager() override;

    // The folder every download is saved to.
    QString saveFolder() const { return folder; }

    // The save path for url (its last path component, "download" when empty) in the save
    // folder; a file already there is deleted. The folder itself is not created.
    QString makeSavePath(const QUrl &url);
    // Starts one download at once; false when the save file cannot be opened.
    bool download(const QString &address);

    // Queue form: the first address added to an idle manager starts the run on the next turn
    // of the event loop; finished() is emitted once the queue is empty.
    void appendUrl(const QUrl &url);
    void appendAddress(const QString &address);

    bool downloadDone = false;
    // Set with downloadDone: the reply had no network error, its final status (after at most five
    // redirects) was 200, every byte reached the save file, and as many arrived as announced.
    bool downloadOk = false;
    int downloadPercent = 0;
    qint64 received = 0;   // bytes of the reply so far, whether or not its length was announced
    QString savePath;

signals:
    void finished();

private slots:
    void startNextDownload();
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void downloadFinished();
    void downloadReadyRead();

private:
    static QUrl parseAddress(const QString &address);
    bool openOutput(const QUrl &url);
    void sendRequest(const QUrl &url);
    void writeAvailable();
    bool replyComplete();

    QString folder;
    QNetworkAccessManager networkManager;
    QQueue<QUrl> urlQueue;
    QNetworkReply *reply = nullptr;
    QFile outputFile;
    qint64 bytesWritten = 0;
    bool writeFailed = false;
    int okCount = 0;
    int queuedCount = 0;
    bool queueRunning = false;
};
