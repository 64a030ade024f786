// One reader at a time, under faults: a stopped reader, a deleted socket, the open-file limit,
// clients that misbehave, a runtime folder that is not the user's, many starts at once, and a
// kill at every step of the save at exit.
#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "tests/e2e/desktop.h"

namespace {
using namespace e2e;

class Instance : public Desktop {
protected:
    std::string socketPath() const {
        return (home_ / "runtime/versewell/instance.socket").string();
    }

    // A client connection to the running reader's socket; -1 when it cannot connect.
    int connectClient() const {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::string path = socketPath();
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    // Waits for `pid` to show its window or to end. Returns the window id, or empty with the
    // exit status in *ended (128 + signal for a kill).
    std::string windowOrEnd(pid_t pid, int* ended, int ms = 20000) {
        *ended = -1;
        for (int waited = 0; waited <= ms; waited += 100) {
            std::string ids;
            run("xdotool search --onlyvisible --name '^Versewell$'", &ids);
            if (!ids.empty()) return ids.substr(0, ids.find('\n'));
            *ended = waitFor(pid, 0);
            if (*ended != -1) return {};
            sleepMs(100);
        }
        return {};
    }

    // A start that must end with 0 at once, because a reader is running.
    void expectTurnedAway(const char* what, int ms = 8000) {
        pid_t pid = start();
        EXPECT_EQ(waitFor(pid, ms), 0) << what << "\n" << readerLogs();
        EXPECT_EQ(windowCount(), 1) << what;
    }
};

TEST_F(Instance, AStoppedReaderKeepsItsPlace) {
    pid_t first = start();
    std::string id = window();
    ASSERT_FALSE(id.empty()) << readerLogs();
    ::kill(first, SIGSTOP);
    pid_t second = start();
    EXPECT_EQ(waitFor(second, 10000), 0) << "a start beside a stopped reader ends\n"
                                         << readerLogs();
    EXPECT_NE(readerLogs().find("did not answer"), std::string::npos) << readerLogs();
    EXPECT_EQ(windowCount(), 1);
    ::kill(first, SIGCONT);
    sleepMs(500);
    expectTurnedAway("the resumed reader answers again");
    EXPECT_EQ(quit(first, id), 0);
    pid_t next = start();
    std::string id2 = window();
    EXPECT_FALSE(id2.empty()) << "after the quit the next start opens\n" << readerLogs();
    expectTurnedAway("and holds the place itself");
    EXPECT_EQ(quit(next, id2), 0);
}

TEST_F(Instance, TheReaderKeepsListening) {
    pid_t first = start();
    std::string id = window();
    ASSERT_FALSE(id.empty()) << readerLogs();

    fs::remove(socketPath());
    sleepMs(1500);
    EXPECT_TRUE(fs::exists(socketPath())) << "a deleted socket file is made again";
    expectTurnedAway("after the socket file was deleted", 5000);

    // The open-file limit reached by clients that hold their connections open.
    ASSERT_EQ(run("prlimit --pid " + std::to_string(first) + " --nofile=64:64"), 0);
    std::vector<int> held;
    for (int i = 0; i < 80; ++i) {
        int fd = connectClient();
        if (fd >= 0) held.push_back(fd);
    }
    sleepMs(500);
    expectTurnedAway("with the open-file limit reached");
    for (int fd : held)
        ::close(fd);
    sleepMs(500);
    expectTurnedAway("once the clients are gone");
    EXPECT_TRUE(alive(first));
    EXPECT_EQ(quit(first, id), 0);
}

TEST_F(Instance, ClientsThatMisbehaveBlockNothing) {
    pid_t first = start();
    std::string id = window();
    ASSERT_FALSE(id.empty()) << readerLogs();
    int silent = connectClient(), garbage = connectClient(), stream = connectClient();
    ASSERT_GE(silent, 0);
    ASSERT_GE(garbage, 0);
    ASSERT_GE(stream, 0);
    ASSERT_GT(::send(garbage, "hello there\n", 12, MSG_NOSIGNAL), 0);
    std::atomic<bool> stop{false};
    std::thread streamer([&] {
        char bytes[4096];
        std::memset(bytes, 'k', sizeof bytes);
        for (int i = 0; i < 20000 && !stop; ++i) {
            if (::send(stream, bytes, sizeof bytes, MSG_NOSIGNAL | MSG_DONTWAIT) < 0 &&
                errno != EAGAIN)
                break;
            sleepMs(1);
        }
    });
    expectTurnedAway("beside a silent, a garbage and a streaming client", 6000);
    stop = true;
    streamer.join();
    for (int fd : {silent, garbage, stream})
        ::close(fd);
    EXPECT_TRUE(alive(first));
    EXPECT_EQ(quit(first, id), 0);
}

TEST_F(Instance, TwentyStartsAtOnceLeaveOne) {
    std::vector<pid_t> pids;
    for (int i = 0; i < 20; ++i)
        pids.push_back(start());
    ASSERT_FALSE(window(60000).empty()) << readerLogs();
    int ended = 0, running = 0;
    pid_t survivor = 0;
    for (pid_t pid : pids) {
        int status = waitFor(pid, 60000 / 20);
        if (status == 0) ++ended;
        if (status == -1) {
            ++running;
            survivor = pid;
        }
    }
    // The ones still starting get more time.
    for (pid_t pid : pids) {
        if (pid != survivor && alive(pid) && waitFor(pid, 30000) == 0) {
            ++ended;
            --running;
        }
    }
    sleepMs(500);
    EXPECT_EQ(ended, 19) << readerLogs();
    EXPECT_EQ(running, 1) << readerLogs();
    EXPECT_EQ(windowCount(), 1);
    if (survivor) {
        EXPECT_EQ(quit(survivor, window()), 0);
    }
}

TEST_F(Instance, ARuntimeFolderThatIsNotTheUsersIsRefused) {
    fs::path tmp = home_ / "tmp";
    fs::path folder = tmp / ("versewell-" + std::to_string(::getuid()));
    fs::create_directories(folder);
    struct Case {
        uid_t owner;
        fs::perms mode;
        const char* said;
    } cases[] = {
        {::getuid() + 4321, fs::perms::owner_all, "belongs to another user"},
        {::getuid(), fs::perms::owner_all | fs::perms::others_all, "is open to other users"},
    };
    std::string runtime = std::getenv("XDG_RUNTIME_DIR");
    for (const Case& c : cases) {
        ASSERT_EQ(::chown(folder.c_str(), c.owner, ::getgid()), 0);
        fs::permissions(folder, c.mode, fs::perm_options::replace);
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", tmp.c_str(), 1);
        pid_t pid = start();
        ::unsetenv("TMPDIR");
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        std::string id = window();
        ASSERT_FALSE(id.empty()) << "the reader runs, without the guard\n" << readerLogs();
        std::string logs = readerLogs();
        EXPECT_NE(logs.find(c.said), std::string::npos) << logs;
        EXPECT_NE(logs.find("running without the one-reader check"), std::string::npos) << logs;
        EXPECT_TRUE(fs::is_empty(folder)) << "nothing is put in a folder that is not safe";
        EXPECT_EQ(quit(pid, id), 0);
        fs::remove(home_ / "readers.log");
    }
    ASSERT_EQ(::chown(folder.c_str(), ::getuid(), ::getgid()), 0);
}

// The save at exit killed before each of its file operations in turn (the fault injector
// counts them): the settings file is always one whole version, the old one or the new one.
TEST_F(Instance, AKillDuringTheSaveLeavesOneWholeVersion) {
    const char* shim = std::getenv("VW_FAULT_SHIM");
    ASSERT_NE(shim, nullptr);
    const std::string initial =
        "[General]\nFlags=dword:d1140044\nFontName=David CLM\nLesson=dword:00000005\n";
    std::string asan = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
    auto startFaulty = [&](long at) {
        ::setenv("LD_PRELOAD", shim, 1);
        ::setenv("VW_FAULT_DIR", (home_ / "config").c_str(), 1);
        ::setenv("VW_FAULT_MODE", "kill", 1);
        ::setenv("VW_FAULT_AT", std::to_string(at).c_str(), 1);
        ::setenv("VW_FAULT_ARM", "1", 1);
        ::setenv("ASAN_OPTIONS", (asan + ":verify_asan_link_order=0").c_str(), 1);
        pid_t pid = start();
        for (const char* name :
             {"LD_PRELOAD", "VW_FAULT_DIR", "VW_FAULT_MODE", "VW_FAULT_AT", "VW_FAULT_ARM"})
            ::unsetenv(name);
        if (asan.empty()) {
            ::unsetenv("ASAN_OPTIONS");
        } else {
            ::setenv("ASAN_OPTIONS", asan.c_str(), 1);
        }
        return pid;
    };
    // One run without a fault: the versions a kill may leave.
    writeSettings(initial);
    pid_t clean = startFaulty(0);
    int ended = -1;
    std::string id = windowOrEnd(clean, &ended);
    ASSERT_FALSE(id.empty()) << readerLogs();
    sleepMs(500);
    std::string started = settings(); // with "Program Path"
    keys(id, "Right Next");
    ASSERT_EQ(quit(clean, id), 0);
    std::string saved = settings();
    ASSERT_NE(saved, started);
    ASSERT_NE(saved.find("Lesson=dword:00000006"), std::string::npos) << saved;

    int killedInSave = 0;
    bool finished = false;
    for (long at = 1; at <= 80 && !finished; ++at) {
        writeSettings(initial);
        pid_t pid = startFaulty(at);
        int status = -1;
        std::string wid = windowOrEnd(pid, &status);
        // Xvfb now and then turns a connection away just after a client was killed; that is
        // the X server's business, not the settings': start once more.
        for (int again = 0; wid.empty() && again < 3 &&
                            readerLogs().find("could not connect to display") != std::string::npos;
             ++again) {
            fs::remove(home_ / "readers.log");
            pid = startFaulty(at);
            wid = windowOrEnd(pid, &status);
        }
        ASSERT_FALSE(wid.empty()) << "step " << at << "\n" << readerLogs();
        sleepMs(500);
        keys(wid, "Right Next");
        ::kill(pid, SIGUSR2); // the injector counts from here: the save at exit
        sleepMs(200);
        status = quit(pid, wid);
        if (status == 128 + SIGKILL) ++killedInSave;
        if (status == 0) {
            finished = true; // the whole run had fewer operations than `at`
            EXPECT_EQ(settings(), saved);
            continue;
        }
        ASSERT_EQ(status, 128 + SIGKILL) << "step " << at << "\n" << readerLogs();
        std::string left = settings();
        EXPECT_TRUE(left == initial || left == started || left == saved)
            << "killed before file operation " << at << ":\n"
            << left;
        // The next start reads what was left: it opens on a lesson, not on an empty window.
        if (left != initial && left != started && left != saved) break;
    }
    EXPECT_TRUE(finished);
    EXPECT_GE(killedInSave, 2) << "the save at exit has several steps to be killed at";
}
} // namespace
