// Helpers shared by the tests: padded lesson buffers, bundles of crafted resources, paths.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "content/resource.h"

// A copy of `bytes` followed by the padding zeros that every expanded buffer carries.
inline std::vector<uint8_t> padded(const std::string& bytes) {
    std::vector<uint8_t> out(bytes.begin(), bytes.end());
    out.insert(out.end(), kExpandPadding, 0);
    return out;
}

inline std::string sourceDir() {
    return VW_SOURCE_DIR;
}
inline std::string buildDir() {
    return VW_BUILD_DIR;
}

// Makes the platform serve exactly these raw-data resources (id, bytes) until the next call.
void serveResources(const std::vector<std::pair<uint16_t, std::string>>& resources);

// Back to the book embedded in the test program.
void serveEmbeddedBook();

// The stored form (letter code, display order) of Hebrew written in reading order, as bookc
// stores it; a failure to convert is reported on the running test.
std::string storedHebrew(const std::string& hebrew);

// The windowed application (offscreen in the test programs), started once for the process.
// False when it cannot be started.
bool startTestGraphics();
