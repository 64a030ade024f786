#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include "platform/book_bundle.h"
#include "platform/gui.h"
#include "platform/resources.h"
#include "tools/bookc/hebrew_text.h"

void serveResources(const std::vector<std::pair<uint16_t, std::string>>& resources) {
    std::vector<BundleResource> list;
    for (const auto& [id, bytes] : resources)
        list.push_back({id, {bytes.begin(), bytes.end()}});
    std::vector<uint8_t> bundle = buildBookBundle(list);
    std::string error;
    ASSERT_EQ(useBookBundleBytes(bundle.data(), bundle.size(), error), 0) << error;
}

void serveEmbeddedBook() {
    useEmbeddedBook();
}

std::string storedHebrew(const std::string& hebrew) {
    std::u32string written;
    EXPECT_TRUE(decodeUtf8(hebrew, written, nullptr));
    std::string out;
    TextError error;
    EXPECT_TRUE(HebrewToStored(written, out, error)) << error.message;
    return out;
}

bool startTestGraphics() {
    static int argc = 1;
    static char name[] = "versewell-tests";
    static char* argv[] = {name, nullptr};
    return startGraphics(&argc, argv);
}
