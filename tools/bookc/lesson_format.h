// Facts of the lesson records that both directions of bookc use, beside those the reader names.
#pragma once
#include <cstddef>
#include <cstdint>

#include "content/lesson_records.h"

// Alignment codes of the style byte (StyleAlignMask bits).
constexpr uint8_t kAlignLeft = 0x00;
constexpr uint8_t kAlignLeft2 = StyleAlignMask; // the second left code: draws as left

// The style bits that make a text record's look; a style byte with none of them set (0 or
// StyleEmptyAfter) would end the lesson or its line table.
constexpr uint8_t kStyleLookBits = uint8_t(~StyleEmptyAfter);

// Layout byte of a text record: bits 0-5 margin, bits 6-7 label code.
constexpr int kLabelShift = 6;
constexpr int kMaxLabelCode = 3;
constexpr int kMaxMargin = 0x3F;
constexpr int kDefaultMargin = 4; // of paragraphs and items; titles default to 0

// Layout byte of a rule: pixels up to kRuleMaxPixels, above it kRulePercentBase + percent / 2.
constexpr int kRuleMaxPixels = 160;
constexpr int kRulePercentBase = 160;
constexpr int kRuleMinPercent = 2, kRuleMaxPercent = 190;

// Links: the layout byte bookc writes (any but 0 makes a link), and the number bytes: bits 0-6
// in the first, bits 7-13 in a second one with bit 7 set, written from kLinkTwoBytes on.
constexpr uint8_t kLinkLayout = 1;
constexpr int kMaxLinkNumber = kReturnLink - 1; // kReturnLink is written [return]
constexpr int kLinkNumberBits = 7;
constexpr uint16_t kLinkTwoBytes = 1 << kLinkNumberBits;
constexpr uint8_t kLinkLowMask = kLinkTwoBytes - 1;
constexpr uint8_t kLinkSecondByte = 0x80;

// A lesson's records fit a resource's 16-bit plainLength.
constexpr size_t kMaxLessonBytes = 0xFFFF;
