#include "device/devicedrive.h"

#include "device/platform.h"

bool isPlayerLabel(const QString &label)
{
    return label.trimmed().toLower() == QLatin1String("corvel3");
}

QString findDeviceDrive()
{
    for (const platform::Volume &volume : platform::volumes()) {
        if (isPlayerLabel(volume.label))
            return volume.root;
    }
    return QString();
}
