#pragma once

#include <QString>
#include <QStringList>

class ProgressView;

// Unpacks the zip archive at zipPath into the folder that holds it with the outside unpacker,
// keeping the window alive while waiting, then deletes the archive. False, with nothing started
// or deleted, when the unpacker program is missing. The unpacker's own result is not read: a
// damaged archive shows up later as missing files. The bar is left in its busy state.
bool unpackPackage(QString zipPath, ProgressView &bar);
// The same for callers holding the path by reference and the bar by pointer (may be null).
bool unpackPackage(const QString &zipPath, ProgressView *bar);

// The unpacker's arguments for zipPath, in the order the program expects them.
QStringList unpackArguments(const QString &zipPath);
