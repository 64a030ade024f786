#include "platform/memory.h"

#include <cstdlib>

namespace {
long gSucceedLeft = 0;
long gFailLeft = 0;
bool gInjecting = false;
long gCalls = 0;
} // namespace

void* plainAlloc(size_t bytes) {
    ++gCalls;
    if (gInjecting) {
        if (gSucceedLeft > 0) {
            --gSucceedLeft;
        } else if (gFailLeft != 0) {
            if (gFailLeft > 0 && --gFailLeft == 0) gInjecting = false;
            return nullptr;
        }
    }
    return std::malloc(bytes == 0 ? 1 : bytes);
}

void plainFree(void* block) {
    std::free(block);
}

void injectAllocFailures(long succeed, long fail) {
    gSucceedLeft = succeed;
    gFailLeft = fail;
    gInjecting = fail != 0;
}

long allocationCount() {
    return gCalls;
}
