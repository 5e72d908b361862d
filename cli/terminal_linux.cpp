#include "cli/clifrontend.h"

#include <unistd.h>

bool isTerminal(int standardStream)
{
    return ::isatty(standardStream) == 1;
}
