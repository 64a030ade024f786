// A fault injector for the end-to-end tests, loaded into the real program with LD_PRELOAD.
// It counts the file operations on paths under $VW_FAULT_DIR (open, write, sync, close,
// rename, link, unlink, truncate) and, at the $VW_FAULT_AT-th one, either kills the process
// before the operation (VW_FAULT_MODE=kill) or makes it and every later one fail as on a full
// disk (VW_FAULT_MODE=fail; removing a file still works, as it does on a full disk). With
// VW_FAULT_ARM set the counting starts only when the process receives SIGUSR2, so that a test
// can aim at what happens after a moment of its choosing.
// Without VW_FAULT_DIR it only passes the calls on.
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
std::atomic<long> gSeen{0};
volatile sig_atomic_t gArmed = 1;

void arm(int) {
    gArmed = 1;
}

__attribute__((constructor)) void setUp() {
    if (std::getenv("VW_FAULT_ARM")) {
        gArmed = 0;
        ::signal(SIGUSR2, arm);
    }
}
std::atomic<bool> gTracked[4096];

const char* watchedDir() {
    static const char* dir = std::getenv("VW_FAULT_DIR");
    return dir && *dir ? dir : nullptr;
}

bool watched(const char* path) {
    const char* dir = watchedDir();
    return dir && path && std::strncmp(path, dir, std::strlen(dir)) == 0;
}

bool trackedFd(int fd) {
    return watchedDir() && fd >= 0 && fd < 4096 && gTracked[fd].load();
}

void track(int fd, bool on) {
    if (fd >= 0 && fd < 4096) gTracked[fd].store(on);
}

// One watched operation: false when it is to fail (errno set). With VW_FAULT_LOG each one is
// listed there (number and operation), for a test that wants to know what it hit.
bool step(int failErrno, const char* what = "") {
    if (!gArmed) return true;
    if (const char* log = std::getenv("VW_FAULT_LOG")) {
        if (std::FILE* f = std::fopen(log, "a")) {
            std::fprintf(f, "%ld %s\n", gSeen.load() + 1, what);
            std::fclose(f);
        }
    }
    static long at = std::getenv("VW_FAULT_AT") ? std::atol(std::getenv("VW_FAULT_AT")) : 0;
    static bool kill =
        std::getenv("VW_FAULT_MODE") && !std::strcmp(std::getenv("VW_FAULT_MODE"), "kill");
    long n = ++gSeen;
    if (at <= 0 || n < at) return true;
    if (kill) ::raise(SIGKILL);
    errno = failErrno;
    return false;
}

// A full disk (fail mode) still lets files be removed.
bool removalsWork() {
    static bool fail =
        std::getenv("VW_FAULT_MODE") && !std::strcmp(std::getenv("VW_FAULT_MODE"), "fail");
    return fail;
}

template <typename F> F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

bool creates(int flags) {
    return (flags & (O_CREAT | O_WRONLY | O_RDWR | O_TRUNC)) != 0;
}
// Opens through `call` (the real open with the mode), failing with ENOSPC at the injected step
// when it would create or write a watched file, and tracking the descriptor it gives.
template <typename Call> int openWatched(const char* path, int flags, Call call) {
    bool w = watched(path) && creates(flags);
    if (w && !step(ENOSPC, path)) return -1;
    int fd = call();
    if (w) track(fd, true);
    return fd;
}
} // namespace

extern "C" {
int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(args, int)) : 0;
    va_end(args);
    return openWatched(path, flags, [&] {
        return real<int (*)(const char*, int, ...)>("open")(path, flags, mode);
    });
}
int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(args, int)) : 0;
    va_end(args);
    return openWatched(path, flags, [&] {
        return real<int (*)(const char*, int, ...)>("open64")(path, flags, mode);
    });
}
int openat(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(args, int)) : 0;
    va_end(args);
    return openWatched(path, flags, [&] {
        return real<int (*)(int, const char*, int, ...)>("openat")(dirfd, path, flags, mode);
    });
}
int openat64(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(args, int)) : 0;
    va_end(args);
    return openWatched(path, flags, [&] {
        return real<int (*)(int, const char*, int, ...)>("openat64")(dirfd, path, flags, mode);
    });
}
ssize_t write(int fd, const void* data, size_t size) {
    if (trackedFd(fd) && !step(ENOSPC, "write")) return -1;
    return real<ssize_t (*)(int, const void*, size_t)>("write")(fd, data, size);
}
int fsync(int fd) {
    if (trackedFd(fd) && !step(EIO)) return -1;
    return real<int (*)(int)>("fsync")(fd);
}
int fdatasync(int fd) {
    if (trackedFd(fd) && !step(EIO)) return -1;
    return real<int (*)(int)>("fdatasync")(fd);
}
int ftruncate(int fd, off_t length) {
    if (trackedFd(fd) && !step(ENOSPC)) return -1;
    return real<int (*)(int, off_t)>("ftruncate")(fd, length);
}
int ftruncate64(int fd, off_t length) {
    if (trackedFd(fd) && !step(ENOSPC)) return -1;
    return real<int (*)(int, off_t)>("ftruncate64")(fd, length);
}
int close(int fd) {
    bool t = trackedFd(fd);
    if (t) {
        track(fd, false);
        // A close that fails still releases the descriptor: only a kill happens here.
        static bool kill =
            std::getenv("VW_FAULT_MODE") && !std::strcmp(std::getenv("VW_FAULT_MODE"), "kill");
        if (kill) step(EIO, "close");
    }
    return real<int (*)(int)>("close")(fd);
}
int rename(const char* from, const char* to) {
    if ((watched(from) || watched(to)) && !step(EROFS, to)) return -1;
    return real<int (*)(const char*, const char*)>("rename")(from, to);
}
int renameat(int fromDir, const char* from, int toDir, const char* to) {
    if ((watched(from) || watched(to)) && !step(EROFS, to)) return -1;
    return real<int (*)(int, const char*, int, const char*)>("renameat")(fromDir, from, toDir, to);
}
int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    if ((watched(from) || watched(to)) && !step(EROFS, to)) return -1;
    return real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2")(
        fromDir, from, toDir, to, flags);
}
int link(const char* from, const char* to) {
    if (watched(to) && !step(EROFS, to)) return -1;
    return real<int (*)(const char*, const char*)>("link")(from, to);
}
int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    if (watched(to) && !step(EROFS, to)) return -1;
    return real<int (*)(int, const char*, int, const char*, int)>("linkat")(fromDir, from, toDir,
                                                                            to, flags);
}
int unlink(const char* path) {
    if (watched(path) && !step(EROFS, path) && !removalsWork()) return -1;
    return real<int (*)(const char*)>("unlink")(path);
}
int unlinkat(int dirfd, const char* path, int flags) {
    if (watched(path) && !step(EROFS, path) && !removalsWork()) return -1;
    return real<int (*)(int, const char*, int)>("unlinkat")(dirfd, path, flags);
}
}
