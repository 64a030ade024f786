// Search Again from the main window: the Return key and command 117 over the embedded book.
#include <cstring>

#include "dialogs/search.h"
#include "tests/support/fixtures.h"
#include "tests/support/shell_fixture.h"
#include "tools/bookc/hebrew_text.h"

namespace {
class SearchShell : public ShellTest {};

TEST_F(SearchShell, ReturnAndSearchAgainGoOnFromTheLastHit) {
    start();
    ASSERT_EQ(appState.Lesson, 33);
    std::string word = storedHebrew("משה");
    std::memcpy(appState.searchPattern, word.c_str(), word.size() + 1);
    EXPECT_TRUE(key(Key::Return));
    uint16_t first = view()->highlightEnd;
    ASSERT_NE(first, 0) << "a hit in this week's lesson";
    EXPECT_EQ(
        std::string(reinterpret_cast<char*>(view()->text) + view()->highlightStart, word.size()),
        word);
    command(CmdSearchAgain);
    EXPECT_NE(view()->highlightEnd, first) << "the next one";
    EXPECT_EQ(
        std::string(reinterpret_cast<char*>(view()->text) + view()->highlightStart, word.size()),
        word);
    int min = -1, max = -1, pos = -1;
    ASSERT_TRUE(scrollRange(window_, &min, &max, &pos));
    EXPECT_EQ(pos, view()->topLine) << "the scroll bar follows the hit";
    EXPECT_TRUE(takeShownMessages().empty());

    std::memcpy(appState.searchPattern, "zzz", 4);
    command(CmdSearchAgain);
    std::vector<ShownMessage> shown = takeShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"Not Found!");
    EXPECT_EQ(shown[0].caption, u"Versewell");
    EXPECT_TRUE(shown[0].hasOwner);

    appState.searchPattern[0] = 0;
    uint16_t top = view()->topLine;
    EXPECT_TRUE(key(Key::Return));
    command(CmdSearchAgain);
    EXPECT_TRUE(takeShownMessages().empty()) << "nothing to search for";
    EXPECT_EQ(view()->topLine, top);
}
} // namespace
