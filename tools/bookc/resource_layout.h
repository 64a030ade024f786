// The bytes of one content resource around its packed data, and the index's tags.
#pragma once
#include <cstddef>
#include <cstdint>

// Offsets of the big-endian 16-bit fields.
constexpr size_t kOuterLengthAt = 0; // packedLength + kOuterExtraBytes
constexpr size_t kTag1At = 2;
constexpr size_t kTag2At = 4;
constexpr size_t kPackedLengthAt = 6;
constexpr size_t kPlainLengthAt = 8;

constexpr size_t kPrefixBytes = 6;       // outerLength and the two tags
constexpr size_t kRecordHeaderBytes = 4; // packedLength and plainLength
constexpr size_t kTrailerBytes = 4;      // the zeros after the packed data
// outerLength counts the packed data and the bytes around it after the prefix.
constexpr size_t kOuterExtraBytes = kRecordHeaderBytes + kTrailerBytes;
// A resource is its packed data and these bytes.
constexpr size_t kResourceExtraBytes = kPrefixBytes + kOuterExtraBytes;

// A lesson's tags are its number twice; the index's are these.
constexpr uint16_t kIndexTag1 = 1, kIndexTag2 = 255;
