#include "cli/clifrontend.h"

#include <io.h>

bool isTerminal(int standardStream)
{
    return ::_isatty(standardStream) != 0;
}

FILE *takeStandardOutput()
{
    std::fflush(stdout);
    const int own = ::_dup(1);
    FILE *stream = own >= 0 ? ::_fdopen(own, "w") : nullptr;
    if (!stream)
        return stdout;
    ::_dup2(2, 1);
    return stream;
}
