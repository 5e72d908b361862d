// corvel3-nodefrag <fstype> <root>: the defragmentation step waits for its defragmenter's output,
// so where the file system has no defragmenter this says that nothing is done, and ends.
#include <cstdio>

int main(int argc, char **argv)
{
    const char *type = argc > 1 && argv[1][0] ? argv[1] : "unknown";
    const char *root = argc > 2 ? argv[2] : "the drive";
    std::printf("No defragmenter for %s file systems: nothing to do for %s\n", type, root);
    std::fflush(stdout);
    return 0;
}
