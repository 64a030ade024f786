// The single-instance lock and socket: $XDG_RUNTIME_DIR/versewell (or versewell-UID under the
// temporary folder), which must be this user's own and closed to everyone else.
//
// The lock is an flock() on instance.lock: the kernel holds it for as long as the holder
// lives, stopped or busy, and drops it when the holder dies, so there is no stale lock to
// guess at. The holder listens on instance.socket with a plain Unix socket watched by the
// event loop: a knock is the line "knock", answered with "ok". A failed accept is retried
// (with a spare descriptor for the case of the open-file limit), a socket file that has gone
// is made again, and clients that send nothing or the wrong bytes are dropped, so no client
// can stop the reader from answering the next start.
#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int kAnswerWaitMs = 4000;   // how long a later start waits for the running reader
constexpr int kClientIdleMs = 2000;   // a client that has not knocked by then is dropped
constexpr size_t kMaxClients = 16;    // clients served at once; the oldest gives way
constexpr int kWatchIntervalMs = 500; // how often the holder checks its socket file

struct Client {
    int fd;
    QSocketNotifier* notifier;
    long long since; // ms on the monotonic clock
    std::string received;
};

int gLockFd = -1;
int gListenFd = -1;
int gSpareFd = -1; // kept open so that an accept at the open-file limit can still be served
QSocketNotifier* gListenNotifier = nullptr;
QTimer* gWatch = nullptr;
dev_t gSocketDevice = 0;
ino_t gSocketInode = 0;
std::vector<Client> gClients;
void (*gOnKnock)() = nullptr;
std::string gFolder;
std::string gProblem;

long long nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

std::string socketPath() {
    return gFolder + "/instance.socket";
}

// Settles gFolder; false with gProblem set when the folder cannot be used safely.
bool privateFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string base;
    if (runtime && *runtime) {
        base = std::string(runtime) + "/versewell";
    } else {
        const char* tmp = std::getenv("TMPDIR");
        base = std::string(tmp && *tmp ? tmp : "/tmp") + "/versewell-" + std::to_string(getuid());
    }
    if (mkdir(base.c_str(), 0700) != 0 && errno != EEXIST) {
        gProblem = "the runtime folder " + base + " cannot be made (" + std::strerror(errno) + ")";
        return false;
    }
    struct stat st {};
    if (lstat(base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        gProblem = "the runtime folder " + base + " is not a folder";
        return false;
    }
    if (st.st_uid != getuid()) {
        gProblem = "the runtime folder " + base + " belongs to another user (uid " +
                   std::to_string(st.st_uid) + ")";
        return false;
    }
    if ((st.st_mode & 077) != 0) {
        gProblem = "the runtime folder " + base + " is open to other users";
        return false;
    }
    gFolder = base;
    return true;
}

bool fillAddress(sockaddr_un& address) {
    std::string path = socketPath();
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

void dropClient(size_t i) {
    // The notifier may be the one whose signal is running: it goes once that is over.
    gClients[i].notifier->setEnabled(false);
    gClients[i].notifier->deleteLater();
    ::close(gClients[i].fd);
    gClients.erase(gClients.begin() + long(i));
}

// Reads what the client at index i has sent. Returns false when it was dropped.
bool serveClient(size_t i) {
    char buffer[64];
    for (;;) {
        ssize_t n = ::recv(gClients[i].fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            gClients[i].received.append(buffer, size_t(n));
            const std::string& got = gClients[i].received;
            size_t compare = std::min<size_t>(got.size(), 5);
            if (got.compare(0, compare, "knock", compare) != 0) {
                dropClient(i); // not our protocol
                return false;
            }
            if (got.size() >= 5) {
                static const char ok[] = "ok\n";
                (void)!::send(gClients[i].fd, ok, sizeof ok - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
                dropClient(i);
                if (gOnKnock) gOnKnock();
                return false;
            }
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        if (n < 0 && errno == EINTR) continue;
        dropClient(i); // closed, or an error
        return false;
    }
}

size_t clientIndex(int fd) {
    for (size_t i = 0; i < gClients.size(); ++i) {
        if (gClients[i].fd == fd) return i;
    }
    return gClients.size();
}

void addClient(int fd) {
    if (gClients.size() >= kMaxClients) dropClient(0);
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    gClients.push_back({fd, notifier, nowMs(), {}});
    QObject::connect(notifier, &QSocketNotifier::activated, [fd]() {
        size_t i = clientIndex(fd);
        if (i < gClients.size()) serveClient(i);
    });
    // The knock is usually there already.
    serveClient(gClients.size() - 1);
}

void acceptClients() {
    for (;;) {
        int fd = ::accept4(gListenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            addClient(fd);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED) continue;
        if ((errno == EMFILE || errno == ENFILE) && gSpareFd >= 0) {
            // At the open-file limit: make room with the spare descriptor, turn the caller
            // away, and drop the oldest idle client so that the next one can be served.
            ::close(gSpareFd);
            int turned = ::accept4(gListenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (turned >= 0) ::close(turned);
            if (!gClients.empty()) dropClient(0);
            gSpareFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (turned >= 0) continue;
        }
        return; // nothing more waiting, or a passing error: the notifier calls again
    }
}

void closeListener() {
    delete gListenNotifier;
    gListenNotifier = nullptr;
    if (gListenFd >= 0) ::close(gListenFd);
    gListenFd = -1;
}

// Makes the socket file and listens on it (the holder only). Returns false on failure.
bool listenOnSocket() {
    closeListener();
    sockaddr_un address;
    if (!fillAddress(address)) return false;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // A socket file left by a reader that died is ours to replace: we hold the lock.
    ::unlink(address.sun_path);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(address.sun_path, 0600) != 0 || ::listen(fd, 64) != 0) {
        ::close(fd);
        return false;
    }
    struct stat st {};
    if (::stat(address.sun_path, &st) == 0) {
        gSocketDevice = st.st_dev;
        gSocketInode = st.st_ino;
    }
    gListenFd = fd;
    // Before the application exists the knocks wait in the socket's queue.
    if (QCoreApplication::instance()) {
        gListenNotifier = new QSocketNotifier(fd, QSocketNotifier::Read);
        QObject::connect(gListenNotifier, &QSocketNotifier::activated, acceptClients);
    }
    return true;
}

bool socketFileIsOurs() {
    struct stat st {};
    return ::stat(socketPath().c_str(), &st) == 0 && S_ISSOCK(st.st_mode) &&
           st.st_dev == gSocketDevice && st.st_ino == gSocketInode;
}

// The holder's periodic care: idle clients dropped, the socket file made again when it has
// gone or been replaced, the spare descriptor taken back when it could not be.
void watchSocket() {
    long long now = nowMs();
    for (size_t i = 0; i < gClients.size();) {
        if (now - gClients[i].since > kClientIdleMs) {
            dropClient(i);
        } else {
            ++i;
        }
    }
    if (gSpareFd < 0) gSpareFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (gListenFd < 0 || !socketFileIsOurs()) listenOnSocket();
}

// Tries to take the lock. Returns true when this process holds it now.
bool takeLock() {
    std::string path = gFolder + "/instance.lock";
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    // The holder's process id, for whoever looks.
    std::string pid = std::to_string(getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) (void)!::write(fd, pid.data(), pid.size());
    gLockFd = fd;
    return true;
}

enum class Knock { Answered, Silent, NoServer };

// Knocks once: connects, sends "knock" and waits for "ok" until `deadline`.
Knock knockOnce(long long deadline) {
    sockaddr_un address;
    if (!fillAddress(address)) return Knock::NoServer;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Knock::NoServer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return Knock::NoServer;
    }
    static const char knock[] = "knock\n";
    if (::send(fd, knock, sizeof knock - 1, MSG_NOSIGNAL) != ssize_t(sizeof knock - 1)) {
        ::close(fd);
        return Knock::NoServer;
    }
    std::string answer;
    Knock result = Knock::Silent;
    for (;;) {
        long long left = deadline - nowMs();
        if (left <= 0) break;
        struct pollfd p = {fd, POLLIN, 0};
        int ready = ::poll(&p, 1, int(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        char buffer[16];
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            result = Knock::NoServer; // turned away or closed: try again
            break;
        }
        answer.append(buffer, size_t(n));
        if (answer.size() >= 2) {
            result = answer.compare(0, 2, "ok") == 0 ? Knock::Answered : Knock::NoServer;
            break;
        }
    }
    ::close(fd);
    return result;
}
} // namespace

InstanceClaim claimSingleInstance(void (*onKnock)()) {
    gProblem.clear();
    gFolder.clear();
    if (!privateFolder()) return InstanceClaim::Unguarded;
    long long deadline = nowMs() + kAnswerWaitMs;
    bool heard = false; // a holder accepted the knock but did not answer
    for (;;) {
        if (takeLock()) {
            gOnKnock = onKnock;
            gSpareFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            listenOnSocket();
            serveSingleInstance();
            return InstanceClaim::First;
        }
        // Someone holds the lock: a live reader, starting, running or stopped.
        Knock k = knockOnce(deadline);
        if (k == Knock::Answered) return InstanceClaim::Other;
        if (k == Knock::Silent) heard = true;
        if (nowMs() >= deadline) break;
        struct timespec pause = {0, 50 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    gProblem = heard ? "another reader is running but did not answer"
                     : "another reader holds the lock but does not listen";
    return InstanceClaim::NoAnswer;
}

void serveSingleInstance() {
    if (gLockFd < 0 || gWatch || !QCoreApplication::instance()) return;
    if (gListenFd >= 0 && !gListenNotifier) {
        gListenNotifier = new QSocketNotifier(gListenFd, QSocketNotifier::Read);
        QObject::connect(gListenNotifier, &QSocketNotifier::activated, acceptClients);
    }
    gWatch = new QTimer;
    QObject::connect(gWatch, &QTimer::timeout, watchSocket);
    gWatch->start(kWatchIntervalMs);
}

const char* instanceProblem() {
    return gProblem.c_str();
}

void releaseSingleInstance() {
    delete gWatch;
    gWatch = nullptr;
    while (!gClients.empty())
        dropClient(0);
    bool ours = gListenFd >= 0 && socketFileIsOurs();
    closeListener();
    if (ours) ::unlink(socketPath().c_str());
    if (gSpareFd >= 0) ::close(gSpareFd);
    gSpareFd = -1;
    // The lock file stays: removing it while others may have it open would let two
    // processes lock two different files.
    if (gLockFd >= 0) ::close(gLockFd);
    gLockFd = -1;
    gOnKnock = nullptr;
}

const char* instanceFolder() {
    return gFolder.c_str();
}
