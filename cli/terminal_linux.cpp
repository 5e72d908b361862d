#include "cli/clifrontend.h"

#include <unistd.h>

bool isTerminal(int standardStream)
{
    return ::isatty(standardStream) == 1;
}

FILE *takeStandardOutput()
{
    std::fflush(stdout);
    const int own = ::dup(1);
    FILE *stream = own >= 0 ? ::fdopen(own, "w") : nullptr;
    if (!stream)
        return stdout;
    ::dup2(2, 1);
    return stream;
}
