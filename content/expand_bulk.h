// The fast part of the expansion: everything but the last tokens, which the caller expands one
// at a time, each cut where the output ends.
#pragma once
#include <cstdint>

// Expands tokens from src into out while every token has room for its whole output and for
// 16 bytes more (the buffer's padding takes what falls past outEnd), and its source bytes lie
// before srcEnd; out and src come back where it stopped. `buffer` is the start of the output.
// Returns false, having stopped at it, on a back-reference at distance 0 or reaching before
// the buffer.
bool expandBulk(uint8_t* buffer, uint8_t*& out, uint8_t* outEnd, const uint8_t*& src,
                const uint8_t* srcEnd);
