#include "cli/clifrontend.h"

#include <io.h>

bool isTerminal(int standardStream)
{
    return ::_isatty(standardStream) != 0;
}
