#include "core/languagefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace languagefile {

namespace {

const char kName[] = "Corvel.ini";
const char kKey[] = "language";

QString userFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QLatin1Char('/')
           + QLatin1String(kName);
}

// Folders programs are installed into: whoever runs the program, it keeps nothing there.
bool isSystemFolder(const QString &folder)
{
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(folder)) + QLatin1Char('/');
    for (const char *prefix : {"/usr/", "/opt/", "/bin/", "/sbin/", "/lib/", "/lib64/", "/snap/"})
        if (path.startsWith(QLatin1String(prefix)))
            return true;
    for (const char *variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        const QString programs = QDir::fromNativeSeparators(qEnvironmentVariable(variable));
        if (!programs.isEmpty() && path.startsWith(QDir::cleanPath(programs) + QLatin1Char('/'), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// A file this process makes is its user's: the folder is the user's when its owner is the same.
// (Where the file system has no owners both read alike.)
bool ownedByTheUser(const QFileInfo &folder)
{
    QTemporaryFile probe;   // a unique name in the user's temporary folder
    if (!probe.open())
        return true;
    return QFileInfo(probe.fileName()).ownerId() == folder.ownerId();
}

bool besideIsTheUsers(const QString &appDir)
{
    const QFileInfo folder(appDir);
    return folder.isWritable() && !isSystemFolder(folder.absoluteFilePath()) && ownedByTheUser(folder);
}

QByteArray rawChoice(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray content = file.readAll();
    const int zero = content.indexOf('\0');
    if (zero >= 0)
        content.truncate(zero);
    return content.isNull() ? QByteArray("") : content;
}

} // namespace

QString readPath(const QString &appDir)
{
    const QString beside = appDir + QLatin1String(kName);
    if (!besideIsTheUsers(appDir) && QFileInfo::exists(userFile()))
        return userFile();
    return beside;
}

QString writePath(const QString &appDir)
{
    if (besideIsTheUsers(appDir))
        return appDir + QLatin1String(kName);
    QDir().mkpath(QFileInfo(userFile()).path());
    return userFile();
}

QByteArray readChoice(const QString &appDir)
{
    const QString path = readPath(appDir);
    if (!QFileInfo::exists(path))
        return QByteArray();
    if (path == userFile()) {
        const QSettings settings(path, QSettings::IniFormat);
        if (settings.contains(QLatin1String(kKey)))
            return settings.value(QLatin1String(kKey)).toString().toUtf8();
    }
    // Beside the program, or a user's file an older version wrote: the choice is the whole text.
    return rawChoice(path);
}

bool writeChoice(const QString &appDir, const QByteArray &choice)
{
    const QString path = writePath(appDir);
    if (path == userFile()) {
        QFile::remove(path);   // an older version's plain text is not a settings file
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(QLatin1String(kKey), QString::fromUtf8(choice));
        settings.sync();
        return settings.status() == QSettings::NoError;
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(choice) == choice.size() && file.flush();
}

} // namespace languagefile
