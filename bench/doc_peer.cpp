#include "bench/doc_peer.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

extern char** environ;

namespace {
namespace fs = std::filesystem;

// Runs txt2pdbdoc with `args` (found on PATH), its output streams closed; returns its exit
// status, and its user time in *user.
int run(std::vector<std::string> args, double* user) {
    args.insert(args.begin(), "txt2pdbdoc");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
    pid_t pid = 0;
    int status = -1;
    struct rusage usage {};
    if (posix_spawnp(&pid, "txt2pdbdoc", &actions, nullptr, argv.data(), environ) == 0)
        wait4(pid, &status, 0, &usage);
    posix_spawn_file_actions_destroy(&actions);
    if (user) *user = double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6;
    return status;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t be32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) << 24 | uint32_t(uint8_t(b[at + 1])) << 16 |
           uint32_t(uint8_t(b[at + 2])) << 8 | uint32_t(uint8_t(b[at + 3]));
}
} // namespace

DocPeer DocPeerCreate() {
    fs::path folder = fs::temp_directory_path() / ("vw-docpeer-" + std::to_string(getpid()));
    std::error_code error;
    fs::create_directories(folder, error);
    return {error ? std::string() : folder.string()};
}

void DocPeerRemove(DocPeer& peer) {
    std::error_code error;
    if (!peer.folder.empty()) fs::remove_all(peer.folder, error);
    peer.folder.clear();
}

size_t DocPeerPack(const DocPeer& peer, const std::string& name, const std::string& text) {
    fs::path txt = fs::path(peer.folder) / (name + ".txt"),
             pdb = fs::path(peer.folder) / (name + ".pdb");
    std::ofstream(txt, std::ios::binary) << text;
    // -b: the bytes as they are (no control characters dropped, no line ends changed).
    if (run({"-b", name, txt.string(), pdb.string()}, nullptr) != 0) return 0;
    std::string db = readAll(pdb);
    // The database header is 78 bytes, its record count at 76, then 8 bytes per record.
    if (db.size() < 78) return 0;
    size_t records = size_t(uint8_t(db[76])) << 8 | uint8_t(db[77]);
    if (records < 2 || db.size() < 78 + 8 * records) return 0;
    std::vector<size_t> offsets;
    for (size_t i = 0; i < records; ++i)
        offsets.push_back(be32(db, 78 + 8 * i));
    offsets.push_back(db.size());
    // Record 0 is the document's header; the rest hold the packed text.
    return offsets.back() - offsets[1];
}

bool DocPeerDecodesTo(const DocPeer& peer, const std::string& name, const std::string& expected) {
    fs::path pdb = fs::path(peer.folder) / (name + ".pdb"),
             back = fs::path(peer.folder) / (name + ".back");
    bool same = run({"-d", pdb.string(), back.string()}, nullptr) == 0 && readAll(back) == expected;
    std::error_code error;
    fs::remove(back, error);
    return same;
}

double DocPeerDecodeSeconds(const DocPeer& peer, const std::string& name) {
    double user = 0;
    fs::path pdb = fs::path(peer.folder) / (name + ".pdb");
    return run({"-d", pdb.string(), "/dev/null"}, &user) == 0 ? user : -1;
}
