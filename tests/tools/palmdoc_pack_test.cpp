// The compressor against the reader's own expander.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "content/resource.h"
#include "platform/memory.h"
#include "tests/support/fixtures.h"
#include "tools/bookc/book_compile.h"
#include "tools/bookc/lesson_source.h"
#include "tools/bookc/palmdoc_pack.h"

namespace {
std::string expand(const std::vector<uint8_t>& packed, size_t plainLength) {
    CompressedDescriptor d{packed.data(), uint16_t(packed.size()), uint16_t(plainLength)};
    int error = 0;
    uint8_t* out = UnCompress(&d, &error);
    if (!out) return "<error " + std::to_string(error) + ">";
    std::string s(reinterpret_cast<char*>(out), plainLength);
    plainFree(out);
    return s;
}

void expectRoundTrip(const std::string& plain, const std::string& what) {
    std::vector<uint8_t> packed =
        PackPalmDoc(reinterpret_cast<const uint8_t*>(plain.data()), plain.size());
    ASSERT_LE(packed.size(), 0xFFFFu) << what;
    ASSERT_TRUE(expand(packed, plain.size()) == plain) << what;
    // Never worse than storing everything in literal runs of eight.
    EXPECT_LE(packed.size(), plain.size() + (plain.size() + 7) / 8) << what;
}

TEST(PalmDocPack, RoundTripOnRandomBytes) {
    std::mt19937 rng(12345);
    for (size_t size : {1u, 2u, 3u, 7u, 8u, 9u, 100u, 2047u, 2048u, 5000u, 50000u}) {
        for (int alphabet : {2, 4, 27, 256}) {
            std::string plain(size, '\0');
            for (char& c : plain)
                c = char(alphabet == 27 ? (rng() % 5 == 0 ? ' ' : 0x61 + rng() % 27)
                                        : rng() % alphabet);
            expectRoundTrip(plain, std::to_string(size) + " bytes of " + std::to_string(alphabet) +
                                       " values");
        }
    }
}

TEST(PalmDocPack, EdgeShapes) {
    expectRoundTrip(std::string(65535, 'a'), "one repeated byte");
    expectRoundTrip(std::string(3000, ' '), "spaces");
    expectRoundTrip(" a b c", "space pairs");
    expectRoundTrip(std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x80\xFF", 10),
                    "bytes that need literal runs");
    std::string far(4000, 'x');
    far.replace(0, 10, "0123456789");
    far.replace(2040, 10, "0123456789");
    far.replace(3990, 10, "0123456789");
    expectRoundTrip(far, "matches at the window's edge and beyond it");
}

TEST(PalmDocPack, RoundTripOnEveryLessonOfTheBook) {
    int lessons = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sourceDir() + "/book")) {
        if (entry.path().filename().string().rfind("lesson-", 0) != 0) continue;
        std::string source;
        ASSERT_TRUE(ReadFile(entry.path().string(), source));
        CompiledLesson lesson;
        SourceError error;
        ASSERT_TRUE(CompileLesson(entry.path().string(), source, lesson, error))
            << error.describe();
        expectRoundTrip(lesson.records, entry.path().filename().string());
        std::vector<uint8_t> packed = PackPalmDoc(
            reinterpret_cast<const uint8_t*>(lesson.records.data()), lesson.records.size());
        EXPECT_LT(packed.size() * 10, lesson.records.size() * 8) << "real text packs below 80 %";
        ++lessons;
    }
    EXPECT_GE(lessons, 5);
}
} // namespace
