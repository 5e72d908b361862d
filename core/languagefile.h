#pragma once

#include <QByteArray>
#include <QString>

// Where the language chosen at the first start is kept. A portable program keeps "Corvel.ini"
// beside itself, in a folder of its user's own; an installed one (a system folder, a folder of
// another user, or one it cannot write) never writes there, even run as root: the choice goes
// into the user's configuration folder (~/.config/corvel3/Corvel.ini, QSettings), which is then
// read first.
namespace languagefile {

// The file to read at start (it may not exist). appDir ends with a separator.
QString readPath(const QString &appDir);
// The file to write the chosen language into; its folder exists.
QString writePath(const QString &appDir);

// The choice kept ("italian" or "english" as written; beside the program the file's text up to a
// zero byte), or a null array when there is none.
QByteArray readChoice(const QString &appDir);
// Keeps the choice where writePath says; false when it could not be written.
bool writeChoice(const QString &appDir, const QByteArray &choice);

} // namespace languagefile
