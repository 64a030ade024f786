// checkedAlloc: the fatal out-of-memory path.
#include <gtest/gtest.h>

#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/quit.h"
#include "state/state.h"

namespace {
TEST(CheckedAlloc, SuccessIsAPlainBlock) {
    clearQuitRequest();
    void* block = checkedAlloc(64);
    ASSERT_NE(block, nullptr);
    plainFree(block);
    EXPECT_FALSE(quitRequested());
    EXPECT_TRUE(takeShownMessages().empty());
}

TEST(CheckedAlloc, FailureTellsTheUserAndQuits) {
    clearQuitRequest();
    takeShownMessages();
    resetAppState();
    appState.bookmarks = static_cast<uint16_t*>(plainAlloc(4 * sizeof(uint16_t)));
    appState.bookmarkCount = 3;
    injectAllocFailures(0, 1);
    EXPECT_EQ(checkedAlloc(64), nullptr);
    std::vector<ShownMessage> shown = takeShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"There is not enough memory, aborting");
    EXPECT_EQ(shown[0].caption, u"Error");
    EXPECT_FALSE(shown[0].hasOwner);
    EXPECT_EQ(shown[0].flags, 0x10u);
    int code = -1;
    EXPECT_TRUE(quitRequested(&code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(appState.bookmarks, nullptr) << "the owned list is released on the way out";
    clearQuitRequest();
}
} // namespace
