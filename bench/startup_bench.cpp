// Start-up to the first painted page of the real program (offscreen), side by side with two Qt
// widget programs: a bare one that only opens a window and paints once, and one that makes the
// reader's first window the plain Qt way (tools/qt_peer/plain_window.cpp), doing the reader's
// work for it: the lesson expanded from the embedded book, laid out whole, the scroll range
// set from the layout and the first page drawn. `figure startup` is the reader over the bare
// window, `figure startup-plain` the reader over the plain one. The time to the end
// of each, and the resident memory each has then. They are run in turn, so that a machine whose
// load changes while the bench runs slows all alike; the medians are compared. The same follows
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

// A program the bench starts: its arguments after its name, and what is preloaded into it.
struct Program {
    const char* path;
    std::vector<std::string> args;
    const char* preload = nullptr;
};

// Runs the program to its end. False when it does not end cleanly.
bool runToEnd(const Program& program, Run* run) {
    std::vector<char*> argv{const_cast<char*>(program.path)};
    std::vector<std::string> args = program.args;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> settings;
    for (char** e = environ; *e; ++e)
        settings.emplace_back(*e);
    if (program.preload) settings.push_back(std::string("LD_PRELOAD=") + program.preload);
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
    if (posix_spawn(&pid, program.path, &actions, nullptr, argv.data(), env.data()) == 0)
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

// Every program `runs` times, in turn (after one warming run of each): the medians of each, in
// the programs' order. Empty when one does not end cleanly.
std::vector<Run> measure(const std::vector<Program>& programs, int runs) {
    std::vector<std::vector<Run>> all(programs.size());
    for (int i = -1; i < runs; ++i) {
        for (size_t k = 0; k < programs.size(); ++k) {
            Run run{};
            if (!runToEnd(programs[k], &run)) return {};
            if (i >= 0) all[k].push_back(run);
        }
    }
    std::vector<Run> medians;
    for (const std::vector<Run>& each : all) {
        std::vector<double> ms, cpu, mb;
        for (const Run& r : each) {
            ms.push_back(r.milliseconds);
            cpu.push_back(r.cpuMilliseconds);
            mb.push_back(r.residentMb);
        }
        medians.push_back({median(ms), median(cpu), median(mb)});
    }
    return medians;
}

// The lesson the reader opens with the bench's settings: this week's, or the first when the
// week has none; 0 when the reader cannot say.
int firstLesson() {
    std::string week = std::string("'") + VW_READER + "' --week";
    FILE* out = popen(week.c_str(), "r");
    if (!out) return 0;
    int lesson = 0;
    int fields = std::fscanf(out, "%*s %*s %*d %d", &lesson);
    if (pclose(out) != 0 || fields != 1) return 0;
    return lesson ? lesson : 1;
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
    const char kFace[] = "David CLM"; // the reader's face, and the plain window's
    // A configuration of a reader that has run before (a font chosen), kept apart from the
    // user's, and the offscreen platform.
    fs::path home = fs::temp_directory_path() / ("vw-startup-" + std::to_string(getpid()));
    fs::create_directories(home / "config/quillmere");
    fs::create_directories(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    std::ofstream(home / "config/quillmere/versewell.ini")
        << "[General]\nFontName=" << kFace << "\nFontSize=dword:00000012\n";
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    const int lesson = firstLesson();
    if (lesson == 0) {
        std::printf("the reader could not say which lesson it opens with\n");
        fs::remove_all(home);
        return 1;
    }
    const std::vector<Program> programs = {
        {VW_READER, {}, VW_FIRST_PAINT_SHIM},
        {VW_BARE, {}},
        {VW_PLAIN_WINDOW, {std::to_string(lesson), kFace}},
    };
    constexpr int kRuns = 31;
    std::vector<Run> offscreen = measure(programs, kRuns);
    // The same under an X server, when one can be had.
    std::vector<Run> x11;
    std::string display;
    if (pid_t server = startXvfb(&display)) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("DISPLAY", display.c_str(), 1);
        x11 = measure(programs, kRuns / 2);
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
    fs::remove_all(home);
    if (offscreen.empty()) {
        std::printf("a program did not end cleanly\n");
        return 1;
    }
    const Run &reader = offscreen[0], &bare = offscreen[1], &plain = offscreen[2];
    std::printf("%d runs of each, in turn; medians\n", kRuns);
    std::printf("offscreen: reader to its first page %.1f ms (%.1f ms of CPU), %.1f MB resident; "
                "bare Qt window %.1f ms (%.1f ms of CPU), %.1f MB\n",
                reader.milliseconds, reader.cpuMilliseconds, reader.residentMb, bare.milliseconds,
                bare.cpuMilliseconds, bare.residentMb);
    std::printf("CPU time, offscreen: reader/bare = %.2f\n",
                reader.cpuMilliseconds / bare.cpuMilliseconds);
    std::printf("the reader's window made the plain Qt way (tool bar, menu, scroll bar; lesson %d "
                "expanded, laid out whole by QTextLayout, its first page drawn): %.1f ms (%.1f ms "
                "of CPU), %.1f MB; it/bare = %.2f, reader/it = %.2f (CPU: %.2f)\n",
                lesson, plain.milliseconds, plain.cpuMilliseconds, plain.residentMb,
                plain.milliseconds / bare.milliseconds, reader.milliseconds / plain.milliseconds,
                reader.cpuMilliseconds / plain.cpuMilliseconds);
    if (!x11.empty()) {
        std::printf(
            "under Xvfb (%d runs): reader %.1f ms, %.1f MB; bare %.1f ms, %.1f MB; plain "
            "Qt window %.1f ms: reader/bare = %.2f, reader/plain = %.2f, reader - bare = "
            "%.1f MB\n",
            kRuns / 2, x11[0].milliseconds, x11[0].residentMb, x11[1].milliseconds,
            x11[1].residentMb, x11[2].milliseconds, x11[0].milliseconds / x11[1].milliseconds,
            x11[0].milliseconds / x11[2].milliseconds, x11[0].residentMb - x11[1].residentMb);
    }
    std::printf("start-up (offscreen): reader/bare = %.2f; memory: reader - bare = %.1f MB\n",
                reader.milliseconds / bare.milliseconds, reader.residentMb - bare.residentMb);
    std::printf("figure startup %.2f\n", reader.milliseconds / bare.milliseconds);
    std::printf("figure startup-plain %.2f\n", reader.milliseconds / plain.milliseconds);
    std::printf("figure memory-mb %.1f\n", reader.residentMb - bare.residentMb);
    return 0;
}
