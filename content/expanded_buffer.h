// The shape of every expanded buffer, shared by the expander and its callers.
#pragma once
#include <cstddef>

// Zero bytes that follow every expanded buffer (the first is the end mark at plainLength), so
// that the record walkers stop inside the buffer even on damaged content.
constexpr size_t kExpandPadding = 8;
