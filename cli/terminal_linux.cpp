#include "cli/terminal.h"

#include <csignal>
#include <sys/ioctl.h>
#include <unistd.h>

namespace terminal {

bool isTerminal(int standardStream)
{
    return ::isatty(standardStream) == 1;
}

int columns(int standardStream)
{
    winsize size{};
    if (::ioctl(standardStream, TIOCGWINSZ, &size) != 0)
        return 0;
    return size.ws_col;
}

void allowEscapes(int) {}

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

void onInterrupt(void (*handler)(int))
{
    struct sigaction action{};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;   // no SA_RESTART: a read from the terminal returns
    ::sigaction(SIGINT, &action, nullptr);
}

void nextInterruptEnds()
{
    struct sigaction action{};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
}

} // namespace terminal
