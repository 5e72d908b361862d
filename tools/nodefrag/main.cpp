// corvel3-nodefrag <fstype> <root>: the defragmentation step waits for its defragmenter's output,
// so where the file system has no defragmenter this says that nothing is done, and ends.
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: corvel3-nodefrag FSTYPE ROOT\n"
                    "Says that FSTYPE file systems have no defragmenter, and ends. Run by the Corvel3\n"
                    "maintenance tool.\n");
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("corvel3-nodefrag %s\n", CORVEL3_VERSION);
        return 0;
    }
    const char *type = argc > 1 && argv[1][0] ? argv[1] : "unknown";
    const char *root = argc > 2 ? argv[2] : "the drive";
    std::printf("No defragmenter for %s file systems: nothing to do for %s\n", type, root);
    std::fflush(stdout);
    return 0;
}
