#include "transfer/backupmanifest.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace backupmanifest {

const char kFileName[] = ".corvel3-manifest.json";

QByteArray fileSha256(const QString &path)
{
    static QByteArray buffer(1 << 20, Qt::Uninitialized);
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

bool write(const QString &folder, const QVector<Entry> &entries, bool complete)
{
    QJsonArray files;
    for (const Entry &e : entries)
        files.append(QJsonObject{{QStringLiteral("path"), e.path},
                                 {QStringLiteral("size"), double(e.size)},
                                 {QStringLiteral("sha256"), QString::fromLatin1(e.sha256)}});
    const QJsonObject root{{QStringLiteral("format"), 1},
                           {QStringLiteral("created"), QDateTime::currentDateTime().toString(Qt::ISODate)},
                           {QStringLiteral("complete"), complete},
                           {QStringLiteral("files"), files}};
    QSaveFile out(folder + QLatin1Char('/') + QLatin1String(kFileName));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    return out.commit();
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
    Check check;
    const QVector<Entry> entries = read(folder, &check.found);
    if (!check.found)
        return check;
    int done = 0;
    for (const Entry &e : entries) {
        const QString path = folder + QLatin1Char('/') + e.path;
        const QFileInfo info(path);
        if (!info.isFile())
            check.missing << e.path;
        else if (info.size() != e.size || fileSha256(path) != e.sha256)
            check.changed << e.path;
        if (tick && !tick(++done, entries.size())) {
            check.stopped = true;
            break;
        }
    }
    return check;
}

} // namespace backupmanifest
