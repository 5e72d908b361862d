#pragma once

#include <QString>

// A plain-text log of everything the tool does to a file, on the player or on the PC: one line
// per path acted on, "time<TAB>operation<TAB>action<TAB>path<TAB>result". It lives in the user's
// data folder and is bounded: past 4 MiB the log moves to "<name>.1" (replacing the older one)
// and a new one starts. Writing is best effort: a log that cannot be written never stops an
// operation.
namespace oplog {

// Full path of the log file.
QString path();

// One line. operation: "backup", "restore", "update", "reinstall", "optimise"...; action: "delete",
// "move", "rename", "replace", "copy", "create", "rewrite", ...; detail, when given, follows the
// path ("-> new/path" for a move).
void record(const QString &operation, const QString &action, const QString &path, bool ok,
            const QString &detail = QString());

// Marks the start and end of an operation.
void begin(const QString &operation);
void end(const QString &operation, bool ok);

} // namespace oplog
