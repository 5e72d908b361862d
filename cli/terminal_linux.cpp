#include "cli/terminal.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
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
    action.sa_flags = SA_RESTART;   // the worker's reads and writes are not cut short
    ::sigaction(SIGINT, &action, nullptr);
}

void nextInterruptEnds()
{
    struct sigaction action{};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
}

bool readLine(std::string &line, bool (*stop)())
{
    line.clear();
    for (;;) {
        pollfd input{0, POLLIN, 0};
        const int ready = ::poll(&input, 1, 100);
        if (stop())
            return false;
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready <= 0)
            continue;
        // Read directly, not through stdio, so that nothing typed waits in a buffer poll cannot see.
        char c = 0;
        const ssize_t n = ::read(0, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return !line.empty();
        if (c == '\n')
            return true;
        line += c;
    }
}

} // namespace terminal
