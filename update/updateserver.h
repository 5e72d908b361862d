#pragma once

#include <QString>

// Paths of the packages on the update server.
extern const char kUpdatePackagePath[];   // "/download/Corvel3/CorvelUpdate.zip"
extern const char kFullPackagePath[];     // "/download/Corvel3/CorvelAll.zip"

// The full address of path on the update server: plain HTTP on the vendor's host, unless
// CORVEL3_UPDATE_SERVER ("http://127.0.0.1:8631", or just "127.0.0.1:8631") names another
// scheme, host and port. A value naming no host yields an address that cannot be reached
// rather than falling back to the real server.
QString updateServerAddress(const QString &path);
