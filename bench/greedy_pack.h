// The peer for the book compiler's packer: a plain greedy PalmDoc compressor (longest match
// first, then a space pair, then a plain byte, else a literal run).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

std::vector<uint8_t> PackPalmDocGreedy(const uint8_t* data, size_t size);
