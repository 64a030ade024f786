// The real program in a real window: an Xvfb display, reader processes started and stopped,
// keys typed with xdotool, screenshots taken with vw-grab, the settings file read back.
#pragma once
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/draw.h"
#include "tools/bookc/book_compile.h"

extern char** environ;

namespace e2e {
namespace fs = std::filesystem;

inline void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Runs a command to completion; returns its exit status and what it printed.
inline int run(const std::string& command, std::string* out = nullptr) {
    fs::path file = fs::temp_directory_path() / ("e2e-out-" + std::to_string(::getpid()));
    int raw = std::system((command + " >" + file.string() + " 2>/dev/null").c_str());
    if (out) ReadFile(file.string(), *out);
    fs::remove(file);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// Starts a program without waiting for it; its standard error goes to `errors` (or nowhere).
inline pid_t spawn(const std::vector<std::string>& args, const std::string& errors = "/dev/null") {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0600);
    pid_t pid = 0;
    int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

// Waits for `pid` to end, at most `ms`; returns its exit status, or -1 while it still runs.
inline int waitFor(pid_t pid, int ms) {
    for (int waited = 0; waited <= ms; waited += 50) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        sleepMs(50);
    }
    return -1;
}

inline bool alive(pid_t pid) {
    return ::kill(pid, 0) == 0 && waitFor(pid, 0) == -1;
}

// This week's lesson as the reader opens it (the schedule's 0 opens lesson 1), from --week.
inline long thisWeeksLesson(const std::string& options = "") {
    std::string week;
    if (run(std::string(std::getenv("VERSEWELL")) + " --week " + options, &week) != 0) return -1;
    size_t tab = 0;
    for (int i = 0; i < 3; ++i)
        tab = week.find('\t', tab) + 1;
    long lesson = std::stol(week.substr(tab));
    return lesson == 0 ? 1 : lesson;
}

// Pixels that are not white in a rectangle of a screenshot, counting every second one.
inline int ink(DcHandle shot, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; y += 2) {
        for (int x = left; x < right; x += 2)
            n += dcPixel(shot, x, y) != 0xFFFFFF;
    }
    return n;
}

// Pixels that differ between two screenshots of the reader's window.
inline int differences(DcHandle a, DcHandle b) {
    int n = 0;
    for (int y = 0; y < 640; ++y) {
        for (int x = 0; x < 480; ++x)
            n += dcPixel(a, x, y) != dcPixel(b, x, y);
    }
    return n;
}

class Desktop : public testing::Test {
protected:
    // Xvfb picks a free display itself and names it on a pipe once it accepts connections, so
    // that test programs started at the same moment (other checkouts too) never share one.
    static void SetUpTestSuite() {
        ::unsetenv("QT_QPA_PLATFORM");
        int fds[2];
        if (::pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        // The read end may be descriptor 3 itself: closed before the write end takes its place.
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        if (fds[1] != 3) posix_spawn_file_actions_addclose(&actions, fds[1]);
        const char* argv[] = {"/usr/bin/Xvfb", "-displayfd", "3",   "-screen", "0",
                              screen_.c_str(), "-nolisten",  "tcp", nullptr};
        if (posix_spawn(&server_, argv[0], &actions, nullptr, const_cast<char**>(argv), environ) !=
            0) {
            server_ = 0;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        std::string number;
        char c = 0;
        struct pollfd ready = {fds[0], POLLIN, 0};
        while (server_ > 0 && ::poll(&ready, 1, 30000) > 0 && ::read(fds[0], &c, 1) == 1 &&
               c != '\n') {
            number += c;
        }
        ::close(fds[0]);
        if (!number.empty()) display_ = ":" + number;
        ::setenv("DISPLAY", display_.c_str(), 1);
    }
    // Each suite has a server of its own: the next suite starts another.
    static void TearDownTestSuite() {
        if (server_ > 0) {
            ::kill(server_, SIGTERM);
            waitFor(server_, 3000);
        }
        // Every suite of the program starts its own display.
        server_ = 0;
        display_.clear();
    }

    void SetUp() override {
        ASSERT_FALSE(display_.empty()) << "Xvfb did not start";
        static int counter = 0;
        home_ = fs::temp_directory_path() /
                ("e2e-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        fs::create_directories(home_ / "config");
        fs::create_directories(home_ / "runtime");
        fs::permissions(home_ / "runtime", fs::perms::owner_all, fs::perm_options::replace);
        ::setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (home_ / "runtime").c_str(), 1);
        // A font chosen already: only a test of the first run starts without one.
        writeSettings("[General]\nFontName=David CLM\n");
    }
    void TearDown() override {
        for (pid_t pid : started_) {
            if (alive(pid)) {
                ::kill(pid, SIGKILL);
                waitFor(pid, 2000);
            }
        }
        fs::remove_all(home_);
    }

    pid_t start(const std::vector<std::string>& args = {}) {
        std::vector<std::string> all = {std::getenv("VERSEWELL")};
        all.insert(all.end(), args.begin(), args.end());
        pid_t pid = spawn(all, (home_ / "readers.log").string());
        started_.push_back(pid);
        return pid;
    }

    // What the readers of this test wrote on standard error, and whether each still runs.
    std::string readerLogs() {
        std::string text;
        ReadFile((home_ / "readers.log").string(), text);
        for (pid_t pid : started_)
            text += "\nreader " + std::to_string(pid) + (alive(pid) ? " runs" : " ended");
        return text;
    }

    // The reader's main window: its X id once it is mapped, or an empty string.
    std::string window(int ms = 15000) {
        for (int waited = 0; waited <= ms; waited += 100) {
            std::string ids;
            run("xdotool search --onlyvisible --name '^Versewell$'", &ids);
            if (!ids.empty()) return ids.substr(0, ids.find('\n'));
            sleepMs(100);
        }
        return {};
    }
    int windowCount() {
        std::string ids;
        run("xdotool search --onlyvisible --name '^Versewell$'", &ids);
        int n = 0;
        for (char c : ids)
            n += c == '\n';
        return n;
    }

    // The visible window titled exactly `title`: its X id, or an empty string.
    std::string windowTitled(const std::string& title, int ms) {
        for (int waited = 0; waited <= ms; waited += 100) {
            std::string ids;
            run("xdotool search --onlyvisible --name '^" + title + "$'", &ids);
            if (!ids.empty()) return ids.substr(0, ids.find('\n'));
            sleepMs(100);
        }
        return {};
    }

    void keys(const std::string& id, const std::string& names) {
        run("xdotool windowfocus --sync " + id);
        run("xdotool key --delay 150 " + names);
        sleepMs(500);
    }

    // A screenshot of the screen (the reader's window sits at the top left).
    DcHandle grab() {
        std::string png = (home_ / ("shot" + std::to_string(++shots_) + ".png")).string();
        EXPECT_EQ(run(std::string(std::getenv("VW_GRAB")) + " " + png), 0);
        return loadImageDc(png.c_str());
    }

    std::string settings() const {
        std::string text;
        ReadFile((home_ / "config/quillmere/versewell.ini").string(), text);
        return text;
    }
    void writeSettings(const std::string& text) {
        fs::create_directories(home_ / "config/quillmere");
        std::ofstream(home_ / "config/quillmere/versewell.ini") << text;
    }
    // The value of `name` in the settings file ("dword:..." as a number), or -1.
    long setting(const std::string& name) const {
        std::string text = settings();
        std::string key = "\n";
        key += name;
        key += '=';
        size_t at = text.find(key);
        if (at == std::string::npos) return -1;
        size_t from = at + key.size();
        std::string value = text.substr(from, text.find('\n', from) - from);
        return value.rfind("dword:", 0) == 0 ? std::stol(value.substr(6), nullptr, 16)
                                             : std::stol(value);
    }

    // Ends the reader with its Exit shortcut and waits for it.
    int quit(pid_t pid, const std::string& id) {
        keys(id, "ctrl+q");
        return waitFor(pid, 8000);
    }

    // The suite's screen; a suite that needs a larger one sets it before SetUpTestSuite.
    static inline std::string screen_ = "800x900x24";
    static inline std::string display_;
    static inline pid_t server_ = 0;
    fs::path home_;
    std::vector<pid_t> started_;
    int shots_ = 0;
};
} // namespace e2e
