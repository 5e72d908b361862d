// Loaded into corvel3-cli beside libfiu's POSIX wrappers (LD_PRELOAD), it decides which system
// calls fail: CORVEL3_FAULTS="random:SEED:PERMILLE:NAMES" fails about PERMILLE calls in a
// thousand, drawn from a generator seeded with SEED; "nth:N:0:NAMES" fails the N-th call only.
// NAMES are libfiu failure points separated by commas ("posix/io/rw/*,posix/io/oc/open"). Only
// calls from the operations' own thread (and the threads it starts, which inherit its name) fail:
// the program's start and the toolkit's network thread stay out of the way. The same seed fails the same calls of a run that makes the
// same calls in the same order. A failed call reports EIO: libfiu would otherwise draw the error
// at random, and an EINTR is simply retried by the toolkit, so the fault would not happen at all.
// libfiu has no wrapper for syncfs(): the one below fails as "linux/io/syncfs".
// Without it fiu.h turns its calls into nothing.
#define FIU_ENABLE 1
#include <fiu-control.h>
#include <fiu.h>
#include <dlfcn.h>
#include <errno.h>
#include <pthread.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

static pthread_mutex_t guard = PTHREAD_MUTEX_INITIALIZER;
static unsigned long long state;
static long calls;
static long nth = -1;
static int permille;

extern "C" {

static int decide(const char *name, int *failnum, void **failinfo, unsigned int *flags)
{
    (void)name, (void)failnum, (void)failinfo, (void)flags;
    char thread[16] = {};
    if (pthread_getname_np(pthread_self(), thread, sizeof thread) != 0 || strncmp(thread, "corvel3 operati", 15) != 0)
        return 0;
    pthread_mutex_lock(&guard);
    int fail;
    if (nth >= 0) {
        fail = ++calls == nth;
    } else {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        fail = (int)((state >> 33) % 1000) < permille;
    }
    pthread_mutex_unlock(&guard);
    return fail;
}

int syncfs(int fd)
{
    if (fiu_fail("linux/io/syncfs")) {
        errno = EIO;
        return -1;
    }
    static int (*const next)(int) = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "syncfs"));
    return next(fd);
}

} // extern "C"

__attribute__((constructor)) static void setUp(void)
{
    const char *faults = getenv("CORVEL3_FAULTS");
    if (!faults)
        return;
    char *copy = strdup(faults);
    char *rest = copy;
    const char *mode = strsep(&rest, ":");
    const char *number = strsep(&rest, ":");
    const char *value = strsep(&rest, ":");
    if (!mode || !number || !value || !rest) {
        free(copy);
        return;
    }
    if (strcmp(mode, "nth") == 0) {
        nth = atol(number);
    } else {
        state = strtoull(number, NULL, 10) * 2654435761ULL + 1;
        permille = atoi(value);
    }
    fiu_init(0);
    for (char *name = strsep(&rest, ","); name; name = strsep(&rest, ","))
        if (*name)
            fiu_enable_external(name, 1, (void *)(intptr_t)EIO, 0, decide);
    free(copy);
}
