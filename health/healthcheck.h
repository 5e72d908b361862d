#pragma once

#include "core/operationcontext.h"
#include "core/outcome.h"
#include "health/healthreport.h"

// The library health check: the player's library against the player's own rules (playlists,
// song files, FAT names, the 1000-song folder limit, duplicates, room for a system package).
namespace health {

struct Options {
    int fixGroups = 0;       // Group flags: the fixes to offer, each after a question
    QString packagePath;     // the last system package, for the free-space check ("": none)
};

// Reads the library; changes nothing. Song heads are read on a pool of threads; Stop ends the
// check early (report.complete stays false).
Report check(OperationContext &ctx, const QString &packagePath);

// The operation: an interrupted rename's playlists completed (when fixing), the check, the fixes
// asked for (each after a question; in a dry run only reported), and the check again after real
// fixes. Done when nothing is left to report; Failed, with one notDone line per kind found
// ("deadLine: 3") and one per fix that failed, otherwise.
Outcome run(OperationContext &ctx, const Options &options, Report *report);

} // namespace health
