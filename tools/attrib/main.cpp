// corvel3-attrib PATH...: marks each path hidden and system (what "ATTRIB +H +S" does), so the
// player's start file and system folder stay out of every listing that skips such entries.
// Exit code 0 when every path was marked, 1 when one was not, 2 without any path.
#include <cstdio>
#include <cstring>

#include <QFile>
#include <QString>

#include "device/platform.h"

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: corvel3-attrib PATH...\n");
        return 2;
    }
    // A path is never taken for an option, except these two alone.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: corvel3-attrib PATH...\n"
                    "Marks each PATH hidden and system. Run by the Corvel3 maintenance tool.\n");
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("corvel3-attrib %s\n", CORVEL3_VERSION);
        return 0;
    }
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        if (!platform::setHiddenSystem(QFile::decodeName(argv[i]))) {
            std::fprintf(stderr, "corvel3-attrib: cannot mark %s hidden and system\n", argv[i]);
            ++failed;
        }
    }
    return failed ? 1 : 0;
}
