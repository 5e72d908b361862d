#pragma once

#include <QString>

// Where the language file "Corvel.ini" lives: beside the program when that folder can be written;
// otherwise (a program installed into a system folder) in the user's configuration folder, which
// is then read first.
namespace languagefile {

// The file to read at start (it may not exist). appDir ends with a separator.
QString readPath(const QString &appDir);
// The file to write the chosen language into; its folder exists.
QString writePath(const QString &appDir);

} // namespace languagefile
