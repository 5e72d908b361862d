#include "core/languagefile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace languagefile {

namespace {

const char kName[] = "Corvel.ini";

bool besideIsWritable(const QString &appDir)
{
    return QFileInfo(appDir).isWritable();
}

QString userFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QLatin1Char('/')
           + QLatin1String(kName);
}

} // namespace

QString readPath(const QString &appDir)
{
    const QString beside = appDir + QLatin1String(kName);
    if (!besideIsWritable(appDir) && QFileInfo::exists(userFile()))
        return userFile();
    return beside;
}

QString writePath(const QString &appDir)
{
    if (besideIsWritable(appDir))
        return appDir + QLatin1String(kName);
    QDir().mkpath(QFileInfo(userFile()).path());
    return userFile();
}

} // namespace languagefile
