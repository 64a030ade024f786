// Start-up to the first painted page of the real program (offscreen), side by side with a bare
// Qt widget program that only opens a window and paints once: the time to the end of each, and
// the resident memory each has then. The two are run in turn, so that a machine whose load
// changes while the bench runs slows both alike; the medians are compared.
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
    double residentMb; // peak resident set: the memory held once the first page is up
};

// Runs the program to its end. False when it does not end cleanly.
bool runToEnd(const char* program, Run* run) {
    char* argv[] = {const_cast<char*>(program), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
    pid_t pid = 0;
    int status = -1;
    struct rusage usage {};
    auto start = std::chrono::steady_clock::now();
    if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) == 0)
        wait4(pid, &status, 0, &usage);
    auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    run->milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
    run->residentMb = double(usage.ru_maxrss) / 1024.0; // kilobytes
    return status == 0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
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
    setenv("VERSEWELL_QUIT_AFTER_FIRST_PAINT", "1", 1);

    constexpr int kRuns = 31;
    std::vector<double> readerMs, bareMs, readerMb, bareMb;
    bool ok = true;
    Run warm{};
    ok = runToEnd(VW_READER, &warm) && runToEnd(VW_BARE, &warm); // caches filled for both
    for (int i = 0; ok && i < kRuns; ++i) {
        Run reader{}, bare{};
        ok = runToEnd(VW_READER, &reader) && runToEnd(VW_BARE, &bare);
        readerMs.push_back(reader.milliseconds);
        bareMs.push_back(bare.milliseconds);
        readerMb.push_back(reader.residentMb);
        bareMb.push_back(bare.residentMb);
    }
    fs::remove_all(home);
    if (!ok) {
        std::printf("a program did not end cleanly\n");
        return 1;
    }
    double r = median(readerMs), b = median(bareMs);
    double rm = median(readerMb), bm = median(bareMb);
    std::printf("%d runs of each, in turn (medians; fastest and slowest in brackets)\n", kRuns);
    std::printf("reader to its first page: %.1f ms (%.1f to %.1f), %.1f MB resident\n", r,
                *std::min_element(readerMs.begin(), readerMs.end()),
                *std::max_element(readerMs.begin(), readerMs.end()), rm);
    std::printf("bare Qt window:           %.1f ms (%.1f to %.1f), %.1f MB resident\n", b,
                *std::min_element(bareMs.begin(), bareMs.end()),
                *std::max_element(bareMs.begin(), bareMs.end()), bm);
    std::printf("start-up: reader/bare = %.2f; memory: reader - bare = %.1f MB\n", r / b, rm - bm);
    std::printf("figure startup %.2f\n", r / b);
    std::printf("figure memory-mb %.1f\n", rm - bm);
    return 0;
}
