// The PalmDoc compressor: LZ77 with a 2 KiB window, as the reader's expander reads it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Packs `size` bytes. The result expands to exactly the input. The parse is optimal for the
// format's costs (a back-reference 2 bytes, a space pair or a plain byte 1, a literal run of k
// bytes 1 + k), found by dynamic programming over the longest match at each position.
std::vector<uint8_t> PackPalmDoc(const uint8_t* data, size_t size);
