// Start-up to the first painted page of the real program (offscreen), side by side with a bare
// Qt widget program that only opens a window and paints once: the time to the end of each, and
// the resident memory each has then. The two are run in turn, so that a machine whose load
// changes while the bench runs slows both alike; the medians are compared. The same follows
// under an X server (Xvfb), for comparison.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {
namespace fs = std::filesystem;

struct Run {
    double milliseconds;
    double cpuMilliseconds; // user and system time: what the clock shows less others' turns
    double residentMb;      // peak resident set: the memory held once the first page is up
};

// Runs the program to its end, with `preload` (when given) preloaded into it. False when it
// does not end cleanly.
bool runToEnd(const char* program, Run* run, const char* preload = nullptr) {
    char* argv[] = {const_cast<char*>(program), nullptr};
    std::vector<std::string> settings;
    for (char** e = environ; *e; ++e)
        settings.emplace_back(*e);
    if (preload) settings.push_back(std::string("LD_PRELOAD=") + preload);
    std::vector<char*> env;
    for (std::string& e : settings)
        env.push_back(e.data());
    env.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
    pid_t pid = 0;
    int status = -1;
    struct rusage usage {};
    auto start = std::chrono::steady_clock::now();
    if (posix_spawn(&pid, program, &actions, nullptr, argv, env.data()) == 0)
        wait4(pid, &status, 0, &usage);
    auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    run->milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
    run->residentMb = double(usage.ru_maxrss) / 1024.0; // kilobytes
    run->cpuMilliseconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return status == 0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct Pair {
    double readerMs, bareMs, readerMb, bareMb, readerCpu, bareCpu;
    bool ok;
};

// Both programs `runs` times, in turn (after one warming run of each); their medians.
Pair measure(int runs) {
    std::vector<double> readerMs, bareMs, readerMb, bareMb, readerCpu, bareCpu;
    Run warm{};
    bool ok = runToEnd(VW_READER, &warm, VW_FIRST_PAINT_SHIM) && runToEnd(VW_BARE, &warm);
    for (int i = 0; ok && i < runs; ++i) {
        Run reader{}, bare{};
        ok = runToEnd(VW_READER, &reader, VW_FIRST_PAINT_SHIM) && runToEnd(VW_BARE, &bare);
        readerMs.push_back(reader.milliseconds);
        bareMs.push_back(bare.milliseconds);
        readerMb.push_back(reader.residentMb);
        bareMb.push_back(bare.residentMb);
        readerCpu.push_back(reader.cpuMilliseconds);
        bareCpu.push_back(bare.cpuMilliseconds);
    }
    if (!ok) return {0, 0, 0, 0, 0, 0, false};
    return {median(readerMs),
            median(bareMs),
            median(readerMb),
            median(bareMb),
            median(readerCpu),
            median(bareCpu),
            true};
}

// An X server on a display of its own (its number from -displayfd); 0 when none could start.
pid_t startXvfb(std::string* display) {
    int fds[2];
    if (access("/usr/bin/Xvfb", X_OK) != 0 || pipe(fds) != 0) return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    if (fds[1] != 3) posix_spawn_file_actions_addclose(&actions, fds[1]);
    const char* argv[] = {"/usr/bin/Xvfb", "-displayfd", "3",   "-screen", "0",
                          "800x900x24",    "-nolisten",  "tcp", nullptr};
    pid_t server = 0;
    if (posix_spawn(&server, argv[0], &actions, nullptr, const_cast<char**>(argv), environ) != 0)
        server = 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string number;
    char c = 0;
    struct pollfd ready = {fds[0], POLLIN, 0};
    while (server > 0 && poll(&ready, 1, 30000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (server > 0 && number.empty()) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
        return 0;
    }
    *display = ":" + number;
    return server;
}
} // namespace

int main() {
    // A configuration of a reader that has run before (a font chosen), kept apart from the
    // user's, and the offscreen platform.
    fs::path home = fs::temp_directory_path() / ("vw-startup-" + std::to_string(getpid()));
    fs::create_directories(home / "config/quillmere");
    fs::create_directories(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    std::ofstream(home / "config/quillmere/versewell.ini")
        << "[General]\nFontName=David CLM\nFontSize=dword:00000012\n";
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    constexpr int kRuns = 31;
    Pair offscreen = measure(kRuns);
    // The same under an X server, when one can be had.
    Pair x11{0, 0, 0, 0, 0, 0, false};
    std::string display;
    if (pid_t server = startXvfb(&display)) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("DISPLAY", display.c_str(), 1);
        x11 = measure(kRuns / 2);
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
    fs::remove_all(home);
    if (!offscreen.ok) {
        std::printf("a program did not end cleanly\n");
        return 1;
    }
    std::printf("%d runs of each, in turn; medians\n", kRuns);
    std::printf("offscreen: reader to its first page %.1f ms (%.1f ms of CPU), %.1f MB resident; "
                "bare Qt window %.1f ms (%.1f ms of CPU), %.1f MB\n",
                offscreen.readerMs, offscreen.readerCpu, offscreen.readerMb, offscreen.bareMs,
                offscreen.bareCpu, offscreen.bareMb);
    std::printf("CPU time, offscreen: reader/bare = %.2f\n",
                offscreen.readerCpu / offscreen.bareCpu);
    if (x11.ok) {
        std::printf("under Xvfb (%d runs): reader %.1f ms, %.1f MB; bare %.1f ms, %.1f MB: "
                    "reader/bare = %.2f, reader - bare = %.1f MB\n",
                    kRuns / 2, x11.readerMs, x11.readerMb, x11.bareMs, x11.bareMb,
                    x11.readerMs / x11.bareMs, x11.readerMb - x11.bareMb);
    }
    std::printf("start-up (offscreen): reader/bare = %.2f; memory: reader - bare = %.1f MB\n",
                offscreen.readerMs / offscreen.bareMs, offscreen.readerMb - offscreen.bareMb);
    std::printf("figure startup %.2f\n", offscreen.readerMs / offscreen.bareMs);
    std::printf("figure memory-mb %.1f\n", offscreen.readerMb - offscreen.bareMb);
    return 0;
}
