// Every allocation of each of the reader's main flows made to fail in turn (the first, then
// the second, ... until the flow runs through): no crash, no leak (LeakSanitizer checks after
// each flow in the sanitizer build), only the messages the reader has for it, never a blank
// page without a word, and the stored settings either untouched or a whole save of the state.
#include <cstring>
#include <functional>
#include <set>

#include "app/navigation.h"
#include "dialogs/bookmarks.h"
#include "dialogs/choose_font.h"
#include "platform/dialog.h"
#include "platform/memory.h"
#include "tests/support/fixtures.h"
#include "tests/support/shell_fixture.h"
#include "tools/bookc/book_compile.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {
const char kSettings[] = "[General]\nFlags=dword:d1140044\nFontName=David CLM\n"
                         "FontSize=dword:00000012\nLesson=dword:00000005\n"
                         "SearchString=@ByteArray({{{{{)\n";

std::function<void(WindowHandle)> gDialogBody;

class AllocationSweep : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        scriptDialogs([](WindowHandle dialog, int) { gDialogBody(dialog); });
        gDialogBody = [](WindowHandle dialog) { userPressesKey(dialog, Key::Escape); };
    }
    void TearDown() override {
        injectAllocFailures(0, 0);
        scriptDialogs(nullptr);
        ShellTest::TearDown();
    }

    // The settings file, without "Program Path" (written at a start that finds it missing).
    std::string stored() const {
        std::string text;
        ReadFile((config_.dir() / "quillmere/versewell.ini").string(), text);
        size_t at = text.find("Program%20Path=");
        if (at != std::string::npos) text.erase(at, text.find('\n', at) + 1 - at);
        return text;
    }

    // Start-up as launchInstance makes it (no claim, no loop); false when it stopped early.
    bool startUp() {
        resetAppState();
        appState.MenuBarOnBottom = 0;
        loadSettings();
        if (quitRequested()) return false;
        selectLesson(0, appState.todayLaunch);
        registerMainClass(kMainClass);
        window_ = createWindow(kMainClass, kMainClass, WindowVScroll);
        if (!window_) return false;
        showWindow(window_);
        processPendingEvents();
        updateWindow(window_);
        return true;
    }

    void shutDown() {
        if (window_) destroyWindow(window_);
        window_ = nullptr;
        processPendingEvents();
        freeBookmarks();
        clearQuitRequest();
    }

    // Runs `flow` with allocation k failing, for k = 1, 2, ... until it no longer reaches k.
    // `setUp` makes the state the flow starts from (no failures then). Returns the number of
    // allocations the flow makes when nothing fails.
    long sweep(const char* name, const std::function<bool()>& setUp,
               const std::function<void()>& flow, std::set<std::u16string> allowed) {
        allowed.insert(u"There is not enough memory, aborting");
        long clean = -1;
        for (long k = 0;; ++k) {
            config_.write("quillmere/versewell.ini", kSettings);
            clearQuitRequest();
            if (!setUp()) {
                ADD_FAILURE() << name << ": the set-up failed";
                shutDown();
                return clean;
            }
            std::string before = stored();
            takeShownMessages();
            long calls = allocationCount();
            injectAllocFailures(k, 1); // allocation k + 1 of the flow fails
            flow();
            injectAllocFailures(0, 0);
            long made = allocationCount() - calls;
            bool failed = made > k;
            std::vector<ShownMessage> shown = takeShownMessages();
            bool told = false;
            for (const ShownMessage& m : shown) {
                EXPECT_TRUE(allowed.count(m.text)) << name << ", allocation " << k + 1;
                told = told || m.text == u"There is not enough memory, aborting" ||
                       m.text == u"Resource not found";
            }
            if (quitRequested()) {
                // The out-of-memory stop saved the state: a whole file the next start can use.
                std::string after = stored();
                EXPECT_NE(after.find("FontName=David CLM"), std::string::npos)
                    << name << ", allocation " << k + 1 << "\n"
                    << after;
                EXPECT_NE(after.find("\nLesson=dword:000000"), std::string::npos)
                    << name << ", allocation " << k + 1 << "\n"
                    << after;
            } else {
                EXPECT_EQ(stored(), before) << name << ", allocation " << k + 1;
                // Without a word to the user the page is not blank.
                if (!told && appState.view) {
                    EXPECT_GT(appState.view->lineCount, 0) << name << ", allocation " << k + 1;
                }
            }
            shutDown();
            if (!failed) {
                clean = made;
                break;
            }
        }
#if defined(__SANITIZE_ADDRESS__)
        EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << name << " leaks";
#endif
        std::printf("%s: %ld allocations, each made to fail once\n", name, clean);
        return clean;
    }
};

TEST_F(AllocationSweep, StartUp) {
    EXPECT_GT(sweep(
                  "start-up", [] { return true; }, [this] { startUp(); }, {u"Resource not found"}),
              0);
}

// Each action allocates: a sweep of none would mean it never ran (a dialog that never opened).
TEST_F(AllocationSweep, LessonChangeResizeAndFont) {
    auto ready = [this] { return startUp() && appState.view; };
    EXPECT_GT(sweep("lesson change", ready, [this] { command(CmdNextLesson); }, {}), 0);
    EXPECT_GT(sweep("link back", ready,
                    [this] {
                        appState.PreviousLesson = 7;
                        goToLesson(window_, 7, 0, 1);
                    },
                    {}),
              0);
    EXPECT_GT(sweep("window resize", ready, [this] { resize(300, 500); }, {}), 0);
    gDialogBody = [](WindowHandle dialog) {
        WindowHandle sizes = dialogItem(dialog, FontSizeList);
        char16_t text[8];
        for (int i = 0; i < listCount(sizes); ++i) {
            listItemText(sizes, i, text, 8);
            if (std::u16string(text) == u"32") {
                listSetSelection(sizes, i);
                windowEvents(dialog)->itemCommand(dialog, FontSizeList,
                                                  ItemNotification::SelectionChanged);
            }
        }
        userPressesKey(dialog, Key::Return);
    };
    EXPECT_GT(sweep("font change", ready, [this] { onCommand(window_, CmdFont); }, {}), 0);
}

TEST_F(AllocationSweep, IndexSearchAndClipboard) {
    auto ready = [this] { return startUp() && appState.view; };
    gDialogBody = [](WindowHandle dialog) { userPressesKey(dialog, Key::Return); };
    EXPECT_GT(sweep("index", ready, [this] { onCommand(window_, CmdIndex); }, {}), 0);
    // "{{{{{" is nowhere in the book: Search Again goes through every lesson and back.
    EXPECT_GT(sweep("search through the whole book", ready,
                    [this] { onCommand(window_, CmdSearchAgain); }, {u"Not Found!"}),
              0);
    EXPECT_GT(sweep("copy", ready, [this] { onCommand(window_, CmdCopy); }, {}), 0);
    EXPECT_GT(sweep("append", ready, [this] { onCommand(window_, CmdAppend); }, {}), 0);
}
} // namespace
