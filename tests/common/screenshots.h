#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

// Saves a picture of a window into $CORVEL3_SCREENSHOTS (default: ./screenshots) as <name>.png.
inline QString saveScreenshot(QWidget *window, const QString &name)
{
    QString folder = qEnvironmentVariable("CORVEL3_SCREENSHOTS");
    if (folder.isEmpty())
        folder = QDir::currentPath() + QStringLiteral("/screenshots");
    QDir().mkpath(folder);
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    window->grab().save(file);
    return file;
}
