#include "update/updateserver.h"

#include <QUrl>

const char kUpdatePackagePath[] = "/download/Corvel3/CorvelUpdate.zip";
const char kFullPackagePath[] = "/download/Corvel3/CorvelAll.zip";

namespace {
const char kVendorServer[] = "http://update.v-orla.it";
}

QString updateServerAddress(const QString &path)
{
    QUrl url(QString::fromLatin1(kVendorServer));
    if (qEnvironmentVariableIsSet("CORVEL3_UPDATE_SERVER")) {
        QString server = qEnvironmentVariable("CORVEL3_UPDATE_SERVER").trimmed();
        if (!server.contains(QLatin1String("://")))
            server.prepend(QLatin1String("http://"));
        const QUrl replacement(server);
        url.setScheme(replacement.scheme().isEmpty() ? QStringLiteral("http") : replacement.scheme());
        url.setHost(replacement.host());
        url.setPort(replacement.port());
    }
    url.setPath(path);
    return url.toString();
}
