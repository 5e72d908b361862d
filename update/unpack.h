#pragma once

#include <QString>
#include <QStringList>

class ProgressView;

// Unpacks the zip archive at zipPath into the folder that holds it with the outside unpacker,
// keeping the window alive while waiting. The archive is first tested with the unpacker's
// companion lister when it is there; then the unpacker must start, end normally and report
// success. True only then, and the archive is deleted; on any failure it stays where it is.
// The bar is left in its busy state.
bool unpackPackage(QString zipPath, ProgressView &bar);
// The same for callers holding the path by reference and the bar by pointer (may be null).
bool unpackPackage(const QString &zipPath, ProgressView *bar);

// The unpacker's arguments for zipPath, in the order the program expects them.
QStringList unpackArguments(const QString &zipPath);
