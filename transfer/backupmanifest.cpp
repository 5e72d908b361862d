#include "transfer/backupmanifest.h"

#include <algorithm>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonArray>
#include <QJsonObject>
#include <QMutex>
#include <QSaveFile>
#include <QStringView>
#include <QThread>
#include <QWaitCondition>

namespace backupmanifest {

const char kFileName[] = ".corvel3-manifest.json";

QByteArray fileSha256(const QString &path)
{
    static thread_local QByteArray buffer(1 << 20, Qt::Uninitialized);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QByteArray();
    Hasher hasher;
    for (;;) {
        const qint64 got = file.read(buffer.data(), buffer.size());
        if (got < 0)
            return QByteArray();
        if (got == 0)
            return hasher.hex();
        hasher.add(buffer.constData(), got);
    }
}

namespace {

class Worker : public QThread {
public:
    explicit Worker(std::function<void()> body) : body(std::move(body)) {}

protected:
    void run() override { body(); }

private:
    std::function<void()> body;
};

} // namespace

struct HashQueue::Shared {
    QMutex mutex;
    QWaitCondition changed;
    QStringList paths;   // by number
    std::vector<QByteArray> hashes;
    int taken = 0;       // files a thread has started on
    int done = 0;
    bool closing = false;
    std::vector<std::unique_ptr<QThread>> threads;

    static constexpr int kWaiting = 32;

    void work()
    {
        QMutexLocker lock(&mutex);
        for (;;) {
            while (taken == paths.size() && !closing)
                changed.wait(&mutex);
            if (closing)
                return;
            const int number = taken++;
            const QString path = paths.at(number);
            lock.unlock();
            const QByteArray hash = fileSha256(path);
            lock.relock();
            hashes[size_t(number)] = hash;
            ++done;
            changed.wakeAll();
        }
    }

    void close()
    {
        {
            QMutexLocker lock(&mutex);
            closing = true;
            changed.wakeAll();
        }
        for (auto &thread : threads)
            thread->wait();
        threads.clear();
    }
};

HashQueue::HashQueue(int threads) : shared(new Shared)
{
    for (int i = 0; i < std::max(1, threads); ++i) {
        shared->threads.emplace_back(new Worker([s = shared.get()] { s->work(); }));
        shared->threads.back()->start();
    }
}

HashQueue::~HashQueue()
{
    shared->close();
}

int HashQueue::add(const QString &path)
{
    QMutexLocker lock(&shared->mutex);
    while (shared->paths.size() - shared->done >= Shared::kWaiting)
        shared->changed.wait(&shared->mutex);
    shared->paths.append(path);
    shared->hashes.emplace_back();
    shared->changed.wakeAll();
    return shared->paths.size() - 1;
}

std::vector<QByteArray> HashQueue::finish()
{
    {
        QMutexLocker lock(&shared->mutex);
        while (shared->done < shared->paths.size())
            shared->changed.wait(&shared->mutex);
    }
    shared->close();
    return std::move(shared->hashes);
}

namespace {

// A JSON string: quotes, backslashes and control characters escaped, the rest as UTF-8.
void appendJsonString(QByteArray &out, const QString &text)
{
    out += '"';
    int from = 0;
    for (int i = 0; i < text.size(); ++i) {
        const ushort u = text.at(i).unicode();
        if (u != '"' && u != '\\' && u >= 0x20)
            continue;
        out += QStringView(text).mid(from, i - from).toUtf8();
        if (u < 0x20) {
            out += "\\u00";
            out += "0123456789abcdef"[u >> 4];
            out += "0123456789abcdef"[u & 15];
        } else {
            out += '\\';
            out += char(u);
        }
        from = i + 1;
    }
    out += QStringView(text).mid(from).toUtf8();
    out += '"';
}

} // namespace

bool write(const QString &folder, const QVector<Entry> &entries, bool complete)
{
    // Written by hand, a line a file: building a JSON document of 50,000 objects first costs more
    // than the rest of a small-file backup's bookkeeping together.
    QByteArray out = "{\n    \"format\": 1,\n    \"created\": ";
    appendJsonString(out, QDateTime::currentDateTime().toString(Qt::ISODate));
    out += ",\n    \"complete\": ";
    out += complete ? "true" : "false";
    out += ",\n    \"files\": [";
    for (int i = 0; i < entries.size(); ++i) {
        const Entry &e = entries.at(i);
        out += i ? ",\n        {\"path\": " : "\n        {\"path\": ";
        appendJsonString(out, e.path);
        if (!e.pathBytes.isEmpty())
            out += ", \"pathBytes\": \"" + e.pathBytes.toBase64() + '"';
        out += ", \"size\": " + QByteArray::number(e.size) + ", \"sha256\": \"" + e.sha256 + "\"}";
    }
    out += "\n    ]\n}\n";
    QSaveFile file(folder + QLatin1Char('/') + QLatin1String(kFileName));
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.commit();
}

QVector<Entry> read(const QString &folder, bool *found)
{
    *found = false;
    QVector<Entry> entries;
    QFile in(folder + QLatin1Char('/') + QLatin1String(kFileName));
    if (!in.open(QIODevice::ReadOnly))
        return entries;
    const QJsonDocument doc = QJsonDocument::fromJson(in.readAll());
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value(QStringLiteral("format")).toInt() != 1 || !root.value(QStringLiteral("files")).isArray())
        return entries;
    const QJsonArray files = root.value(QStringLiteral("files")).toArray();
    entries.reserve(files.size());
    for (const QJsonValue &v : files) {
        const QJsonObject o = v.toObject();
        Entry e;
        e.path = o.value(QStringLiteral("path")).toString();
        e.size = qint64(o.value(QStringLiteral("size")).toDouble(-1));
        e.sha256 = o.value(QStringLiteral("sha256")).toString().toLatin1();
        if (o.contains(QStringLiteral("pathBytes"))) {
            const auto bytes = QByteArray::fromBase64Encoding(o.value(QStringLiteral("pathBytes")).toString().toLatin1(),
                                                              QByteArray::AbortOnBase64DecodingErrors);
            const QByteArray &raw = bytes.decoded;
            if (!bytes || raw.isEmpty() || raw.startsWith('/') || raw.contains('\0') || raw.split('/').contains(".."))
                return {};
            e.pathBytes = raw;
        }
        // A path that climbs out of the folder is never a backup's.
        if (e.path.isEmpty() || e.path.startsWith(QLatin1Char('/')) || e.path.split(QLatin1Char('/')).contains(QStringLiteral("..")))
            return {};
        entries.append(e);
    }
    *found = true;
    return entries;
}

bool isComplete(const QString &folder)
{
    QFile in(folder + QLatin1Char('/') + QLatin1String(kFileName));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    return QJsonDocument::fromJson(in.readAll()).object().value(QStringLiteral("complete")).toBool(true);
}

Check verify(const QString &folder, const std::function<bool(int, int)> &tick)
{
    bool found = false;
    const QVector<Entry> entries = read(folder, &found);
    if (!found)
        return Check();
    return verify(folder, entries, tick);
}

Check verify(const QString &folder, const QVector<Entry> &entries, const std::function<bool(int, int)> &tick)
{
    Check check;
    check.found = true;
    HashQueue hashing(QThread::idealThreadCount());
    std::vector<int> hashed;   // entry by hash number
    std::vector<bool> changed(size_t(entries.size()), false);
    for (int i = 0; i < entries.size(); ++i) {
        const Entry &e = entries.at(i);
        const QString path = folder + QLatin1Char('/') + e.path;
        const QFileInfo info(path);
        if (!e.pathBytes.isEmpty()) {   // few: hashed here, by its own name
            qint64 size = -1;
            const QByteArray sha = platform::rawFileSha256(QFile::encodeName(folder) + '/' + e.pathBytes, &size);
            if (size < 0)
                check.missing << e.path;
            else if (size != e.size || sha != e.sha256)
                changed[size_t(i)] = true;
        } else if (!info.isFile())
            check.missing << e.path;
        else if (info.size() != e.size)
            changed[size_t(i)] = true;
        else {
            hashing.add(path);
            hashed.push_back(i);
        }
        if (tick && !tick(i + 1, entries.size())) {
            check.stopped = true;
            return check;
        }
    }
    const std::vector<QByteArray> hashes = hashing.finish();
    for (size_t n = 0; n < hashes.size(); ++n)
        if (hashes[n] != entries.at(hashed[n]).sha256)
            changed[size_t(hashed[n])] = true;
    for (int i = 0; i < entries.size(); ++i)
        if (changed[size_t(i)])
            check.changed << entries.at(i).path;
    return check;
}

} // namespace backupmanifest
