#include "tests/common/httptestserver.h"

#include <QFile>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {
constexpr qint64 kChunk = 64 * 1024;
constexpr qint64 kHighWater = 256 * 1024;   // keep at most this much queued in the socket
constexpr int kMaxRequestHead = 64 * 1024;

// Generated bodies repeat "abc...w": up to a chunk, copied from one precomputed stretch.
QByteArray generatedBytes(qint64 offset, qint64 n)
{
    static const QByteArray pattern = QByteArray("abcdefghijklmnopqrstuvw").repeated(int(kChunk / 23 + 2));
    return QByteArray(pattern.constData() + offset % 23, int(qMin(n, kChunk)));
}

QByteArray reasonPhrase(int status)
{
    static const QHash<int, QByteArray> phrases{{200, "OK"}, {301, "Moved Permanently"}, {403, "Forbidden"},
        {404, "Not Found"}, {500, "Internal Server Error"}, {503, "Service Unavailable"}};
    return phrases.value(status, "Status");
}

// A route answering with a small HTML page.
HttpTestServer::Route page(int status, const QByteArray &body)
{
    return {status, body.isNull() ? "<html><body>" + QByteArray::number(status) + " " + reasonPhrase(status) + "</body></html>\n"
                                  : body, {}, -1, HttpTestServer::Fault::None, 0, 0, 0, "text/html"};
}
} // namespace

// One accepted connection: reads the request head, then writes the route's answer.
class HttpTestServer::Connection : public QObject {
public:
    Connection(HttpTestServer *owner, QTcpSocket *socket) : QObject(socket), owner(owner), socket(socket)
    {
        ++owner->connections;
        connect(socket, &QTcpSocket::readyRead, this, [this] { readRequest(); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this] { pump(); });
        connect(socket, &QTcpSocket::disconnected, this, [this] { finish(); });
    }
    ~Connection() override { if (owner) --owner->connections; }

private:
    void readRequest()
    {
        if (answering) {
            socket->readAll();
            return;
        }
        head += socket->readAll();
        if (!head.contains("\r\n\r\n")) {
            if (head.size() > kMaxRequestHead)
                socket->abort();
            return;
        }
        answering = true;
        const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
        const QString path = QString::fromUtf8(requestLine.value(1));
        owner->requestLog.append(path);
        emit owner->requestReceived(path);
        route = owner->routes.value(path, page(404, {}));
        answer();
    }

    void answer()
    {
        if (route.fault == Fault::CloseWithoutReply) {
            socket->disconnectFromHost();
            return;
        }
        if (!route.filePath.isEmpty()) {
            file.setFileName(route.filePath);
            if (!file.open(QIODevice::ReadOnly))
                route = Route{500, "cannot open the served file\n"};
        }
        const qint64 total = route.generatedSize >= 0 ? route.generatedSize
                             : route.filePath.isEmpty() ? route.body.size() : file.size();
        limit = route.fault == Fault::CutOff ? qMin(route.cutAfter, total) : total;
        QByteArray header = "HTTP/1.1 " + QByteArray::number(route.status) + ' ' + reasonPhrase(route.status)
                            + "\r\nContent-Type: " + route.contentType + "\r\nConnection: close\r\n";
        if (!route.location.isEmpty())
            header += "Location: " + route.location + "\r\n";
        if (route.fault != Fault::NoContentLength)
            header += "Content-Length: " + QByteArray::number(total) + "\r\n";
        header += "\r\n";
        socket->write(header);
        if (route.fault == Fault::Trickle && route.trickleBytes > 0) {
            trickle = new QTimer(this);
            connect(trickle, &QTimer::timeout, this, [this] { sendSome(route.trickleBytes); });
            trickle->start(qMax(1, route.trickleIntervalMs));
            return;
        }
        pump();
    }

    // Keeps the socket's queue topped up without holding the whole body.
    void pump()
    {
        if (!answering || trickle || closing)
            return;
        while (sent < limit && socket->bytesToWrite() < kHighWater)
            sendSome(kChunk);
        if (sent >= limit)
            close();
    }

    void sendSome(qint64 wanted)
    {
        const qint64 n = qMin(wanted, limit - sent);
        if (n > 0) {
            const QByteArray chunk = route.generatedSize >= 0 ? generatedBytes(sent, n)
                                     : route.filePath.isEmpty() ? route.body.mid(int(sent), int(n)) : file.read(n);
            if (chunk.isEmpty()) {
                limit = sent;   // the file shrank: end here
            } else {
                socket->write(chunk);
                sent += chunk.size();
            }
        }
        if (trickle && sent >= limit)
            close();
    }

    void close()
    {
        if (closing)
            return;
        closing = true;
        if (trickle)
            trickle->stop();
        socket->disconnectFromHost();   // flushes what is queued first
    }

    void finish()
    {
        close();
        socket->deleteLater();
    }

    QPointer<HttpTestServer> owner;
    QTcpSocket *socket;
    QByteArray head;
    bool answering = false;
    bool closing = false;
    Route route;
    QFile file;
    qint64 limit = 0;
    qint64 sent = 0;
    QTimer *trickle = nullptr;
};

HttpTestServer::HttpTestServer(QObject *parent) : QObject(parent), server(new QTcpServer(this))
{
    connect(server, &QTcpServer::newConnection, this, &HttpTestServer::onNewConnection);
}

HttpTestServer::~HttpTestServer() = default;
bool HttpTestServer::listen(quint16 port) { return server->listen(QHostAddress::LocalHost, port); }
quint16 HttpTestServer::port() const { return server->serverPort(); }

QString HttpTestServer::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port()); }
void HttpTestServer::serveFile(const QString &path, const QString &filePath) { setRoute(path, Route{200, {}, filePath}); }
void HttpTestServer::serveGenerated(const QString &path, qint64 size) { setRoute(path, Route{200, {}, {}, size}); }
void HttpTestServer::serveStatus(const QString &path, int status, const QByteArray &body) { setRoute(path, page(status, body)); }

void HttpTestServer::serveTrickle(const QString &path, const QByteArray &body, int bytes, int intervalMs)
{
    setRoute(path, Route{200, body, {}, -1, Fault::Trickle, 0, bytes, intervalMs});
}

void HttpTestServer::serveRedirect(const QString &path, const QString &target)
{
    setRoute(path, Route{301, {}, {}, -1, Fault::None, 0, 0, 0, "text/html", target.toUtf8()});
}

void HttpTestServer::onNewConnection()
{
    while (QTcpSocket *socket = server->nextPendingConnection())
        new Connection(this, socket);
}
