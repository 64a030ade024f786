// Start-up to the first painted page of the real program (offscreen), side by side with a bare
// Qt widget program that only opens a window and paints once.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"

extern char** environ;

namespace {
namespace fs = std::filesystem;

// Runs the program to its end; returns its exit status.
int runToEnd(const char* program) {
    char* argv[] = {const_cast<char*>(program), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) == 0) waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return status;
}

void BM_ReaderFirstPage(benchmark::State& state) {
    for (auto _ : state) {
        if (runToEnd(VW_READER) != 0) state.SkipWithError("the reader did not end cleanly");
    }
}
BENCHMARK(BM_ReaderFirstPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(15);

void BM_BareQtWindow(benchmark::State& state) {
    for (auto _ : state) {
        if (runToEnd(VW_BARE) != 0) state.SkipWithError("the bare program did not end cleanly");
    }
}
BENCHMARK(BM_BareQtWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(15);
} // namespace

int main(int argc, char** argv) {
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

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double reader = reporter.nanos("BM_ReaderFirstPage/iterations:15/real_time");
    double bare = reporter.nanos("BM_BareQtWindow/iterations:15/real_time");
    if (reader > 0 && bare > 0) {
        std::printf("\nstart-up to the first page: reader %.1f ms, bare Qt window %.1f ms: "
                    "reader/bare = %.2f\n",
                    reader / 1e6, bare / 1e6, reader / bare);
    }
    fs::remove_all(home);
    return 0;
}
