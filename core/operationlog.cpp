#include "core/operationlog.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFile>
#include <QStandardPaths>

namespace oplog {
namespace {
constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

QFile &logFile()
{
    static QFile file;
    return file;
}

// A split or a backup writes a line per song: the open file and its size are kept, so a line
// costs one write.
void writeLine(const QString &line)
{
    static qint64 size = 0;
    QFile &file = logFile();
    const QString target = path();
    if (file.isOpen() && file.fileName() != target)
        file.close();   // the data folder changed (tests switch it)
    if (file.isOpen() && size > kMaxBytes) {
        file.close();
        QFile::remove(target + QStringLiteral(".1"));
        QFile::rename(target, target + QStringLiteral(".1"));
    }
    if (!file.isOpen()) {
        QDir().mkpath(QFileInfo(target).absolutePath());
        file.setFileName(target);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            return;
        size = file.size();
    }
    const QByteArray bytes = line.toUtf8() + '\n';
    file.write(bytes);
    file.flush();
    size += bytes.size();
}

// Local time with its offset from UTC, to the second. The offset is asked of the system once a
// minute (asking for every line reads the time zone file three times), and a second's text is
// made once for all its lines.
QString now()
{
    static QElapsedTimer sinceOffset;
    static int offset = 0;
    static qint64 second = -1;
    static QString text;
    if (!sinceOffset.isValid() || sinceOffset.elapsed() > 60000) {
        offset = QDateTime::currentDateTime().offsetFromUtc();
        sinceOffset.start();
        second = -1;
    }
    const qint64 current = QDateTime::currentSecsSinceEpoch();
    if (current != second) {
        second = current;
        text = QDateTime::fromSecsSinceEpoch(current, Qt::OffsetFromUTC, offset).toString(Qt::ISODate);
    }
    return text;
}
} // namespace

QString path()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.corvel3");
    return folder + QStringLiteral("/operations.log");
}

void record(const QString &operation, const QString &action, const QString &filePath, bool ok, const QString &detail)
{
    QString line = now() + QLatin1Char('\t') + operation + QLatin1Char('\t') + action + QLatin1Char('\t') + filePath;
    if (!detail.isEmpty())
        line += QLatin1Char(' ') + detail;
    line += ok ? QStringLiteral("\tok") : QStringLiteral("\tFAILED");
    writeLine(line);
}

void begin(const QString &operation) { writeLine(now() + QLatin1Char('\t') + operation + QStringLiteral("\tstart")); }

void end(const QString &operation, bool ok)
{
    writeLine(now() + QLatin1Char('\t') + operation + (ok ? QStringLiteral("\tend\tok") : QStringLiteral("\tend\tFAILED")));
}

} // namespace oplog
