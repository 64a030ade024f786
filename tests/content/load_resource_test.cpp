// Resource lookup and header checks, on crafted resources and on the embedded book.
#include <gtest/gtest.h>

#include <string>

#include "content/book_constants.h"
#include "content/resource.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/resources.h"
#include "tests/support/fixtures.h"

namespace {
std::string be16(unsigned v) {
    return {char(v >> 8), char(v & 0xFF)};
}

// A resource around `packed` with the given header fields.
std::string resource(unsigned outer, unsigned packedLength, unsigned plainLength,
                     const std::string& packed) {
    return be16(outer) + be16(7) + be16(7) + be16(packedLength) + be16(plainLength) + packed +
           std::string(4, '\0');
}
std::string goodResource(const std::string& text) {
    return resource(unsigned(text.size()) + 8, unsigned(text.size()), unsigned(text.size()), text);
}

class LoadBookResourceTest : public testing::Test {
protected:
    void TearDown() override { serveEmbeddedBook(); }
};

TEST_F(LoadBookResourceTest, NumbersBelowOneReturnNothingAndStoreNothing) {
    serveResources({{1000, goodResource("zero")}});
    for (int number : {0, -1, -31767}) {
        int error = 99;
        EXPECT_EQ(LoadBookResource(number, &error), nullptr) << number;
        EXPECT_EQ(error, 99) << number;
    }
}

TEST_F(LoadBookResourceTest, ErrorCodes) {
    serveResources({
        {1001, goodResource("hello")},
        {1002, resource(4, 5, 5, "hello")},     // outerLength 4, record valid
        {1003, resource(8, 0, 5, "hello")},     // packedLength 0
        {1004, resource(13, 5, 0, "hello")},    // plainLength 0
        {1005, ""},                             // size 0
        {1006, resource(208, 200, 5, "hello")}, // packed data past the resource
        {1007, resource(13, 5, 6, "hello")},    // one byte short
        {1008, std::string("\x00\x09\x00", 3)}, // shorter than its header
    });
    struct Case {
        int number;
        int error;
    } cases[] = {{54, ResourceNotFound},   {1002 - 1000, BadRecordHeader},
                 {3, BadRecordHeader},     {4, BadDescriptor},
                 {5, ResourceUnavailable}, {6, BadRecordHeader},
                 {7, BufferError},         {8, BadRecordHeader}};
    for (const Case& c : cases) {
        int error = 0;
        EXPECT_EQ(LoadBookResource(c.number, &error), nullptr) << c.number;
        EXPECT_EQ(error, c.error) << c.number;
    }
    takeShownMessages();
    uint8_t* text = LoadBookResource(1, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(reinterpret_cast<char*>(text), "hello");
    plainFree(text);
}

TEST_F(LoadBookResourceTest, TheIdIsComputedInSixteenBits) {
    serveResources({{999, goodResource("wrapped")}, {32767, goodResource("index")}});
    uint8_t* text = LoadBookResource(65535, nullptr); // 65535 + 1000 = 66535 = 65536 + 999
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(reinterpret_cast<char*>(text), "wrapped");
    plainFree(text);
    text = LoadBookResource(kIndexBookNumber, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(reinterpret_cast<char*>(text), "index");
    plainFree(text);
}

TEST_F(LoadBookResourceTest, OutputAllocationFailureIsUnavailable) {
    serveResources({{1001, goodResource("hello")}});
    injectAllocFailures(0, 1);
    int error = 0;
    EXPECT_EQ(LoadBookResource(1, &error), nullptr);
    EXPECT_EQ(error, ResourceUnavailable);
}

// Every resource the reader carries: the layout bookc writes, and an expansion that needs
// exactly packedLength bytes to give exactly plainLength.
TEST_F(LoadBookResourceTest, EveryEmbeddedResourceExpandsExactly) {
    serveEmbeddedBook();
    int found = 0;
    for (int n : kBookNumbers) {
        {
            ResourceHandle r = findResource(kRawDataResource, uint16_t(1000 + n));
            if (!r) continue;
            ++found;
            const uint8_t* bytes = loadResource(r);
            uint32_t size = resourceSize(r);
            ASSERT_GE(size, 14u);
            unsigned outer = bytes[0] << 8 | bytes[1];
            unsigned tag1 = bytes[2] << 8 | bytes[3], tag2 = bytes[4] << 8 | bytes[5];
            unsigned packedLength = bytes[6] << 8 | bytes[7];
            uint16_t plainLength = uint16_t(bytes[8] << 8 | bytes[9]);
            EXPECT_EQ(outer, packedLength + 8) << n;
            EXPECT_EQ(size, outer + 6) << n;
            EXPECT_EQ(tag1, n == kIndexBookNumber ? 1u : unsigned(n)) << n;
            EXPECT_EQ(tag2, n == kIndexBookNumber ? 255u : unsigned(n)) << n;
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes) + 10 + packedLength, 4),
                      std::string(4, '\0'));

            int error = 0;
            uint8_t* text = LoadBookResource(n, &error);
            ASSERT_NE(text, nullptr) << n << " error " << error;
            EXPECT_EQ(text[plainLength], 0);
            plainFree(text);
            CompressedDescriptor shortened{bytes + 10, uint16_t(packedLength - 1), plainLength};
            EXPECT_EQ(UnCompress(&shortened, &error), nullptr)
                << n << ": the last packed byte is needed";
            EXPECT_EQ(error, BufferError);
        }
    }
    takeShownMessages();
    EXPECT_GE(found, 6) << "the book carries the index and at least five lessons";
    int error = 0;
    EXPECT_EQ(LoadBookResource(54, &error), nullptr);
    EXPECT_EQ(error, ResourceNotFound);
}
} // namespace
