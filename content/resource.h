// The book's content resources: lookup by book number, header checks and expansion.
#pragma once
#include <cstddef>
#include <cstdint>

#include "content/book_constants.h"
#include "content/expanded_buffer.h"

// Load error codes, stored through the optional errorOut parameters.
enum LoadError : int {
    ResourceNotFound = 1,    // no raw-data resource with the computed id
    ResourceUnavailable = 2, // empty or unloadable resource, or no memory for the output
    BadRecordHeader = 3,     // outerLength below 5, packedLength 0, or packed data past the end
    BadDescriptor = 4,       // plainLength 0 or no source data
    BufferError = 5,         // the packed data do not produce exactly plainLength bytes
};

// What the expander works on: the packed bytes and the expected output length.
struct CompressedDescriptor {
    const uint8_t* source;
    uint16_t sourceLength; // packedLength
    uint16_t plainLength;
};

// Book number n (1..53 a lesson, 31767 the index) to resource 1000 + n (low 16 bits), expanded
// into a new buffer of plainLength bytes followed by kExpandPadding zeros. The caller owns the
// buffer and frees it with plainFree. Returns null on failure, with the code in *errorOut when
// errorOut is given; a number below 1 returns null at once and stores nothing.
uint8_t* LoadBookResource(int number, int* errorOut);

// Expands the resource bytes (6-byte prefix, record header, packed data): what LoadBookResource
// does once it has found the resource. `size` is the resource's real size: packed data that
// would run past it are refused with BadRecordHeader.
uint8_t* expandResource(const uint8_t* bytes, uint32_t size, int* errorOut);

// Checks the record header at `record` (offset 6 of a resource) against outerLength, builds the
// descriptor and expands.
uint8_t* OpenCompressedRecord(const uint8_t* record, uint16_t outerLength, int* errorOut);

// Expands the packed data into a new buffer (see LoadBookResource for its form). Data that end
// before plainLength bytes are produced, that run a literal or a back-reference operand past the
// packed end, or whose back-reference points before the output start (or at distance 0), show
// "UnCompress() buffer error!" and fail with BufferError.
uint8_t* UnCompress(const CompressedDescriptor* descriptor, int* errorOut);
