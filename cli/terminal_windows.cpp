#include "cli/terminal.h"

#include <csignal>
#include <io.h>
#include <windows.h>

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

namespace terminal {

namespace {
HANDLE handleOf(int standardStream)
{
    return ::GetStdHandle(standardStream == 0 ? STD_INPUT_HANDLE
                          : standardStream == 1 ? STD_OUTPUT_HANDLE
                                                : STD_ERROR_HANDLE);
}
} // namespace

bool isTerminal(int standardStream)
{
    return ::_isatty(standardStream) != 0;
}

int columns(int standardStream)
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!::GetConsoleScreenBufferInfo(handleOf(standardStream), &info))
        return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

void allowEscapes(int standardStream)
{
    const HANDLE console = handleOf(standardStream);
    DWORD mode = 0;
    if (::GetConsoleMode(console, &mode))
        ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
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

// The console calls the handler on a thread of its own.
void onInterrupt(void (*handler)(int))
{
    std::signal(SIGINT, handler);
}

void nextInterruptEnds()
{
    std::signal(SIGINT, SIG_DFL);
}

// Ctrl-C aborts the console read under way, so stop() is asked once it returns.
bool readLine(std::string &line, bool (*stop)())
{
    line.clear();
    char buffer[256];
    if (!std::fgets(buffer, sizeof buffer, stdin) || stop()) {
        std::clearerr(stdin);
        return false;
    }
    line = buffer;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return true;
}

} // namespace terminal
