// The plain allocator. Every buffer the system allocates goes through here, so that tests can
// make any allocation fail.
#pragma once
#include <cstddef>

// bytes: size of the block. Returns the block, or null when memory is short (or a failure was
// injected). The caller owns the block and releases it with plainFree.
void* plainAlloc(size_t bytes);

// Releases a block from plainAlloc; null is ignored.
void plainFree(void* block);

// Test hook: the next `succeed` allocations succeed, then `fail` allocations fail (fail < 0:
// every one after). injectAllocFailures(0, 0) turns injection off.
void injectAllocFailures(long succeed, long fail);

// Number of plainAlloc calls made so far (successful or not), for tests that look for the
// allocation to fail.
long allocationCount();
