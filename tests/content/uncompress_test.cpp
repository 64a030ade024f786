// The expander: every way packed data can end, and the bounds it must never cross.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "content/resource.h"
#include "platform/memory.h"
#include "platform/message_box.h"

namespace {
struct ExpandCase {
    const char* name;
    std::string packed;
    uint16_t plainLength;
    int error;            // 0 = success
    std::string expected; // on success
};

const ExpandCase kCases[] = {
    {"plain bytes", "abc", 3, 0, "abc"},
    {"zero and high control bytes are themselves", std::string("\x00\x09\x7F", 3), 3, 0,
     std::string("\x00\x09\x7F", 3)},
    {"literal run", std::string("\x03\x01\xFF\x80", 4), 3, 0, "\x01\xFF\x80"},
    {"back-reference", "abc\x80\x18", 6, 0, "abcabc"},
    {"overlapping back-reference repeats", "a\x80\x0A", 6, 0, "aaaaaa"},
    {"back-reference cut at the end", "ab\x80\x17", 5, 0, "ababa"},
    {"space pair", "x\xE1", 3, 0, "x a"},
    {"space pair whose space fills the last byte", "x\xE1", 2, 0, "x "},
    {"packed bytes left over are ignored", "abcdef", 2, 0, "ab"},
    {"literal run stopped by the output end", std::string("\x05", 1) + "ab", 2, 0, "ab"},
    {"one byte short", "abc", 4, BufferError, ""},
    {"literal run past the packed end", std::string("\x05", 1) + "ab", 5, BufferError, ""},
    {"back-reference without its operand", "a\x80", 4, BufferError, ""},
    {"back-reference distance 0", std::string("a\x80\x00", 3), 4, BufferError, ""},
    {"back-reference before the output start", "a\x80\x10", 4, BufferError, ""},
    {"back-reference at the very start", "\x80\x08", 3, BufferError, ""},
};

class Expand : public testing::TestWithParam<ExpandCase> {};

TEST_P(Expand, ProducesExactlyTheOutputOrTheBufferError) {
    const ExpandCase& c = GetParam();
    takeShownMessages();
    CompressedDescriptor d{reinterpret_cast<const uint8_t*>(c.packed.data()),
                           uint16_t(c.packed.size()), c.plainLength};
    int error = -1;
    uint8_t* out = UnCompress(&d, &error);
    std::vector<ShownMessage> shown = takeShownMessages();
    if (c.error == 0) {
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), c.plainLength), c.expected);
        for (size_t i = 0; i < kExpandPadding; ++i)
            EXPECT_EQ(out[c.plainLength + i], 0) << i;
        EXPECT_EQ(error, -1) << "success stores no code";
        EXPECT_TRUE(shown.empty());
        plainFree(out);
    } else {
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(error, c.error);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, u"UnCompress() buffer error!");
        EXPECT_FALSE(shown[0].hasCaption);
        EXPECT_FALSE(shown[0].hasOwner);
        EXPECT_EQ(shown[0].flags, unsigned(MessageBoxOk));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Expand, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ExpandCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

TEST(Expand, BadDescriptorsAndAllocationFailure) {
    int error = 0;
    EXPECT_EQ(UnCompress(nullptr, &error), nullptr);
    EXPECT_EQ(error, BadDescriptor);
    const uint8_t byte = 'a';
    CompressedDescriptor noPlain{&byte, 1, 0};
    EXPECT_EQ(UnCompress(&noPlain, &error), nullptr);
    EXPECT_EQ(error, BadDescriptor);
    CompressedDescriptor noSource{nullptr, 1, 1};
    EXPECT_EQ(UnCompress(&noSource, &error), nullptr);
    EXPECT_EQ(error, BadDescriptor);

    CompressedDescriptor ok{&byte, 1, 1};
    injectAllocFailures(0, 1);
    EXPECT_EQ(UnCompress(&ok, &error), nullptr);
    EXPECT_EQ(error, ResourceUnavailable);
    EXPECT_TRUE(takeShownMessages().empty()) << "an allocation failure shows nothing";
    uint8_t* out = UnCompress(&ok, nullptr);
    ASSERT_NE(out, nullptr) << "the failure was injected once only";
    plainFree(out);
}
} // namespace
