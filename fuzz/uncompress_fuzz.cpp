// Arbitrary bytes as a content resource: header checks and expansion must refuse or succeed
// without reading or writing outside either buffer, and agree with a plain expander.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "content/resource.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "tests/support/plain_expand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool scripted = (scriptMessageBoxes(true), true);
    (void)scripted;
    if (size > 70000) return 0;
    int error = 0;
    uint8_t* out = expandResource(data, uint32_t(size), &error);
    if (out || error == BufferError) {
        // The header was accepted: the plain expander must come to the same end.
        unsigned packedLength = unsigned(data[6]) << 8 | data[7];
        unsigned plainLength = unsigned(data[8]) << 8 | data[9];
        std::string expected;
        bool made = PlainExpand(std::string(reinterpret_cast<const char*>(data + 10), packedLength),
                                plainLength, expected);
        if (made != (out != nullptr)) __builtin_trap();
        if (out && std::memcmp(out, expected.data(), plainLength) != 0) __builtin_trap();
    }
    if (out) {
        unsigned plainLength = unsigned(data[8]) << 8 | data[9];
        for (size_t i = 0; i < kExpandPadding; ++i) {
            if (out[plainLength + i] != 0) __builtin_trap();
        }
    }
    plainFree(out);
    takeShownMessages();
    return 0;
}
