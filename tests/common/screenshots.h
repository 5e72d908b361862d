#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

// Saves a picture of a window into $CORVEL3_SCREENSHOTS (default: ./screenshots) as <name>.png.
inline QString saveScreenshot(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("CORVEL3_SCREENSHOTS", QDir::currentPath() + "/screenshots");
    QDir().mkpath(folder);
    const QString file = folder + "/" + name + ".png";
    window->grab().save(file);
    return file;
}
