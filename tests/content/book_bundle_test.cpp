// The bundle file: what is accepted and what is refused whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/book_bundle.h"

namespace {
std::string le32(uint32_t v) {
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}
const std::string kMagic(kBundleMagic, 8);

TEST(BookBundle, BuildAndParse) {
    std::vector<uint8_t> bytes = buildBookBundle({{1001, {1, 2, 3}}, {32767, {}}, {5, {9}}});
    std::vector<BundleEntry> entries;
    std::string error;
    ASSERT_EQ(parseBookBundle(bytes.data(), bytes.size(), entries, error), 0) << error;
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].id, 1001);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + entries[0].offset,
                                   bytes.begin() + entries[0].offset + 3),
              (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(entries[1].size, 0u);
    EXPECT_EQ(bytes[entries[2].offset], 9);
}

TEST(BookBundle, RefusedWhole) {
    struct Case {
        std::string bytes;
        const char* message;
    } cases[] = {
        {"", "bad magic"},
        {"VWBOOK2\n" + le32(0), "bad magic"},
        {kMagic, "bad magic"},
        {kMagic + le32(1), "entry table"},
        {kMagic + le32(0xFFFFFFFF), "entry table"},
        {kMagic + le32(1) + le32(7) + le32(4) + "abc", "runs past the end"},
        {kMagic + le32(1) + le32(7) + le32(0xFFFFFFFF) + "abc", "runs past the end"},
        {kMagic + le32(1) + le32(70000) + le32(1) + "a", "above 65535"},
        {kMagic + le32(2) + le32(7) + le32(1) + le32(7) + le32(1) + "ab", "appears twice"},
        {kMagic + le32(1) + le32(7) + le32(1) + "ab", "stray bytes"},
    };
    for (const Case& c : cases) {
        std::vector<BundleEntry> entries;
        std::string error;
        EXPECT_EQ(parseBookBundle(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(),
                                  entries, error),
                  1)
            << c.message;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_TRUE(entries.empty());
    }
}
} // namespace
