// The search dialog, scripted: taps on the keyboard's picture, the box they fill, OK with a hit,
// without one and with an empty box, Cancel, and the box filled from the stored word.
#include <cstring>
#include <string>

#include "dialogs/search.h"
#include "dialogs/search_dialog.h"
#include "platform/dialog.h"
#include "tests/support/shell_fixture.h"

namespace {
class SearchDialog : public ScriptedDialogTest {
protected:
    intptr_t run(void (*body)(WindowHandle)) {
        return runScripted(115, body, [this] { return sendOpen(); });
    }
    intptr_t sendOpen() {
        takeShownMessages();
        return onCommand(window_, CmdSearch) == 0 ? 1 : 0;
    }
};

std::u16string boxText(WindowHandle dialog) {
    char16_t text[40];
    getItemText(dialogItem(dialog, SearchBoxId), text, 40);
    return text;
}

// A tap at picture pixel (x, y), in dialog client coordinates.
int tapPicture(WindowHandle dialog, int x, int y) {
    return TapToLetter(dialog, x + appState.dialogUnitX * 7 / 4, y + appState.dialogUnitY * 71 / 8);
}

TEST_F(SearchDialog, TapsOnTheKeyboardType) {
    start();
    run([](WindowHandle dialog) {
        ASSERT_GT(appState.dialogUnitX, 0);
        struct Case {
            int x, y;
            int result;
            std::u16string typed;
        } cases[] = {
            {140, 10, 0, u"\u05D0"}, // the top row's rightmost key: the table's first letter
            {152, 24, 0, u"\u05D0"}, {153, 3, 0, u" "},       // the one-pixel column: a space, then
            {153, 30, 0, u"\u05D8"}, {153, 60, 0, u"\u05E1"}, // positions 9 and 18
            {0, 0, 0, u"\u05D8"},    {34, 80, 0, u" "},       {118, 94, 0, u" "}, // the space bar
            {33, 80, 1, u""},        {119, 80, 1, u""},       {10, 90, 1, u""},   // beside it
            {-1, 10, 1, u""},        {154, 10, 1, u""},       {10, 95, 1, u""},   // off the picture
        };
        for (const Case& c : cases) {
            setItemText(dialogItem(dialog, SearchBoxId), u"");
            EXPECT_EQ(tapPicture(dialog, c.x, c.y), c.result) << c.x << "," << c.y;
            EXPECT_EQ(boxText(dialog), c.typed) << c.x << "," << c.y;
        }
        // Three letters, in the order tapped, the caret after the last (at the box's left end).
        setItemText(dialogItem(dialog, SearchBoxId), u"");
        for (int column : {8, 7, 6})
            tapPicture(dialog, 17 * column + 3, 3);
        EXPECT_EQ(boxText(dialog), u"\u05D0\u05D1\u05D2");
        int s = -1, e = -1;
        editSelection(dialogItem(dialog, SearchBoxId), &s, &e);
        EXPECT_EQ(s, 3);
        EXPECT_EQ(e, 3);
        userPressesKey(dialog, Key::Escape);
    });
}

TEST_F(SearchDialog, OkSearchesCancelKeepsTheWord) {
    start();
    std::strcpy(appState.searchPattern, "xyz");
    // Cancel: the stored word stays whatever the box says.
    run([](WindowHandle dialog) {
        setItemText(dialogItem(dialog, SearchBoxId), u"\u05DE");
        userPressesKey(dialog, Key::Escape);
    });
    EXPECT_STREQ(appState.searchPattern, "xyz");

    // A word that is there: the hit is shown and the dialog closes.
    run([](WindowHandle dialog) {
        setItemText(dialogItem(dialog, SearchBoxId), u"\u05DE\u05E9\u05D4"); // Moshe
        userPressesKey(dialog, Key::Return);
    });
    EXPECT_STREQ(appState.searchPattern, "ezo") << "stored in display order";
    EXPECT_NE(view()->highlightEnd, 0);
    EXPECT_EQ(appState.searchBoxFont, nullptr) << "the box's font goes with the dialog";

    // A word that is nowhere: "Not Found!", and the dialog stays with its word selected.
    static bool stayed;
    stayed = false;
    run([](WindowHandle dialog) {
        setItemText(dialogItem(dialog, SearchBoxId), u"\u05E5\u05E5\u05E5\u05E5");
        userPressesKey(dialog, Key::Return);
        std::vector<ShownMessage> shown = takeShownMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, u"Not Found!");
        EXPECT_EQ(shown[0].caption, u"Versewell");
        int s = -1, e = -1;
        editSelection(dialogItem(dialog, SearchBoxId), &s, &e);
        EXPECT_EQ(s, 0);
        EXPECT_EQ(e, 4) << "the word selected for the next try";
        stayed = true;
        userPressesKey(dialog, Key::Escape);
    });
    EXPECT_TRUE(stayed);
    EXPECT_STREQ(appState.searchPattern, "vvvv") << "OK stores the word even without a hit";

    // An empty box: the empty word, no search, and Search Again then does nothing.
    uint16_t top = view()->topLine;
    run([](WindowHandle dialog) {
        setItemText(dialogItem(dialog, SearchBoxId), u"");
        userPressesKey(dialog, Key::Return);
    });
    EXPECT_EQ(appState.searchPattern[0], 0);
    EXPECT_TRUE(takeShownMessages().empty());
    EXPECT_EQ(onCommand(window_, CmdSearchAgain), 0);
    EXPECT_EQ(view()->topLine, top);
    EXPECT_TRUE(takeShownMessages().empty());
}

TEST_F(SearchDialog, TheBoxShowsTheStoredWordInReadingOrder) {
    start();
    struct Case {
        bool reverse;
    } cases[] = {{false}, {true}};
    for (const Case& c : cases) {
        std::strcpy(appState.searchPattern, "ezo"); // Moshe, stored in display order
        appState.Flags =
            c.reverse ? (appState.Flags | FlagReverse) : (appState.Flags & ~FlagReverse);
        run([](WindowHandle dialog) {
            EXPECT_EQ(boxText(dialog), u"\u05DE\u05E9\u05D4");
            int s = -1, e = -1;
            editSelection(dialogItem(dialog, SearchBoxId), &s, &e);
            EXPECT_EQ(e - s, 3) << "selected, so that typing replaces it";
            FontDescription d = fontDescription(itemFont(dialogItem(dialog, SearchBoxId)));
            EXPECT_EQ(d.height, appState.view->font.FontSize) << "the reader's font";
            userPressesKey(dialog, Key::Return); // confirmed unedited
        });
        EXPECT_STREQ(appState.searchPattern, "ezo")
            << "the word keeps its order, Reverse " << c.reverse;
    }
}
} // namespace
