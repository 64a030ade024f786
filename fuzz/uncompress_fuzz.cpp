// Arbitrary bytes as a content resource: header checks and expansion must refuse or succeed
// without reading or writing outside either buffer.
#include <cstddef>
#include <cstdint>

#include "content/resource.h"
#include "platform/memory.h"
#include "platform/message_box.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool scripted = (scriptMessageBoxes(true), true);
    (void)scripted;
    if (size > 70000) return 0;
    int error = 0;
    uint8_t* out = ExpandResource(data, uint32_t(size), &error);
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
