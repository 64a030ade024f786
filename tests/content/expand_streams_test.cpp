// Long packed streams, made token by token from a seed, expand to what a plain one-byte-at-a-
// time expander makes of them: every kind of token at every place in the stream, back-
// references at every distance, and damage far from the start.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "content/resource.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "tests/support/plain_expand.h"

namespace {
struct Mix {
    const char* name;
    int plain, pair, literal, reference; // weights of the token kinds
    int nearOnly;                        // back-references at distance 1 to this, when not 0
};

// Packed tokens whose expansion comes to about `plainTarget` bytes; all of them valid.
std::string makeStream(const Mix& mix, uint32_t seed, size_t plainTarget) {
    std::mt19937 random(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::string packed;
    size_t written = 0;
    int total = mix.plain + mix.pair + mix.literal + mix.reference;
    while (written < plainTarget) {
        int k = pick(0, total - 1);
        if ((k -= mix.plain) < 0) {
            int c = pick(0x09, 0x7F);
            packed += char(pick(0, 9) == 0 ? 0 : c);
            written += 1;
        } else if ((k -= mix.pair) < 0) {
            packed += char(pick(0xC0, 0xFF));
            written += 2;
        } else if ((k -= mix.literal) < 0) {
            int n = pick(1, 8);
            packed += char(n);
            for (int i = 0; i < n; ++i)
                packed += char(pick(0, 255));
            written += size_t(n);
        } else if (written > 0) {
            int most = int(std::min<size_t>(written, 2047));
            if (mix.nearOnly) most = std::min(most, mix.nearOnly);
            int distance = pick(0, 3) == 0 ? pick(1, std::min(most, 20)) : pick(1, most);
            int length = pick(3, 10);
            unsigned v = unsigned(distance) << 3 | unsigned(length - 3);
            packed += char(0x80 | (v >> 8));
            packed += char(v & 0xFF);
            written += size_t(length);
        }
    }
    return packed;
}

const Mix kMixes[] = {
    {"like the book", 57, 13, 1, 29, 0},        {"back-references only", 1, 0, 0, 20, 0},
    {"near back-references", 10, 5, 1, 30, 15}, {"literal runs", 10, 5, 20, 10, 0},
    {"long plain runs", 200, 2, 1, 2, 0},       {"space pairs", 5, 40, 1, 5, 0},
};

TEST(ExpandStreams, SameAsThePlainExpander) {
    for (const Mix& mix : kMixes) {
        for (uint32_t seed = 1; seed <= 20; ++seed) {
            std::string packed = makeStream(mix, seed, 600 + seed * 1500);
            // Each plain length: the whole stream, and one cut inside it.
            std::string whole;
            size_t full = 0;
            for (size_t n = 1; n <= 65535; n *= 2) {
                if (!PlainExpand(packed, n, whole)) break;
                full = n;
            }
            ASSERT_GT(full, 0u);
            for (size_t plainLength : {full, full - full / 3}) {
                std::string expected;
                ASSERT_TRUE(PlainExpand(packed, plainLength, expected));
                CompressedDescriptor d{reinterpret_cast<const uint8_t*>(packed.data()),
                                       uint16_t(packed.size()), uint16_t(plainLength)};
                uint8_t* out = UnCompress(&d, nullptr);
                ASSERT_NE(out, nullptr) << mix.name << " seed " << seed;
                ASSERT_EQ(std::string(reinterpret_cast<char*>(out), plainLength), expected)
                    << mix.name << " seed " << seed << " plain " << plainLength;
                for (size_t i = 0; i < kExpandPadding; ++i)
                    ASSERT_EQ(out[plainLength + i], 0);
                plainFree(out);
            }
        }
    }
    EXPECT_TRUE(takeShownMessages().empty());
}

// Damage deep inside a long stream is refused as it is near its start.
TEST(ExpandStreams, DamageFarFromTheStart) {
    struct Damage {
        const char* name;
        std::string token;
    };
    const Damage kDamage[] = {
        {"distance 0", std::string("\x80\x02", 2)},
        {"distance past the start", "\xBF\xF8"}, // 2047, more than was written
    };
    std::string head = makeStream(kMixes[4], 7, 1200); // about 1,200 bytes, all near 2047 apart
    std::string tail = makeStream(kMixes[0], 8, 4000);
    int tried = 0;
    for (const Damage& damage : kDamage) {
        for (size_t at : {size_t(0), size_t(40), size_t(200)}) {
            std::string packed = head.substr(0, head.size() - at) + damage.token + tail;
            CompressedDescriptor d{reinterpret_cast<const uint8_t*>(packed.data()),
                                   uint16_t(packed.size()), 4000};
            std::string expected;
            if (PlainExpand(packed, 4000, expected)) continue; // the cut made it valid again
            ++tried;
            int error = 0;
            EXPECT_EQ(UnCompress(&d, &error), nullptr) << damage.name << " at " << at;
            EXPECT_EQ(error, BufferError) << damage.name;
            EXPECT_EQ(takeShownMessages().size(), 1u);
        }
    }
    EXPECT_GE(tried, 4);
}
} // namespace
