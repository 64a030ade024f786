// The dialog host under the offscreen platform: items placed from dialog units, list boxes,
// edit boxes, radio buttons, the keys and buttons that end a dialog, and a dialog that draws
// itself with its own surface and scroll bar.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/bitmaps.h"
#include "platform/dialog.h"
#include "platform/gui.h"
#include "platform/window.h"
#include "tests/support/fixtures.h"

namespace {
// One call on a dialog's handlers, as recorded: a and b hold its arguments (item and
// notification, width and height, x and y, key, request and position), dc its context.
enum class Call { Created, Destroyed, Size, Activate, Paint, Erase, Key, Tap, Scroll, Item };
struct Event {
    Call call;
    int a = 0, b = 0;
    DcHandle dc = nullptr;
};
std::vector<Event> gLog;
void (*gScriptBody)(WindowHandle) = nullptr;
DcHandle gSurface = nullptr;
int gDrawsItself = 0; // the state of a dialog that asks for its own surface when made

const WindowEvents kRecording = {
    .created =
        [](WindowHandle dialog) {
            gLog.push_back({Call::Created});
            if (dialogState(dialog) == &gDrawsItself) gSurface = getWindowDc(dialog);
        },
    .destroyed = [](WindowHandle) { gLog.push_back({Call::Destroyed}); },
    .size =
        [](WindowHandle, int w, int h) {
            gLog.push_back({Call::Size, w, h});
        },
    .activate =
        [](WindowHandle, bool on) {
            gLog.push_back({Call::Activate, on});
        },
    .paint = [](WindowHandle) { gLog.push_back({Call::Paint}); },
    .eraseBackground =
        [](WindowHandle, DcHandle dc) {
            gLog.push_back({Call::Erase, 0, 0, dc});
            return false;
        },
    // Handled: the arrows the dialog uses; the rest go on to the dialog.
    .key =
        [](WindowHandle, Key key, KeyModifiers) {
            gLog.push_back({Call::Key, int(key)});
            return key == Key::Down || key == Key::Up;
        },
    .tap =
        [](WindowHandle, Point at) {
            gLog.push_back({Call::Tap, at.x, at.y});
        },
    .scroll =
        [](WindowHandle, ScrollRequest request, int position) {
            gLog.push_back({Call::Scroll, int(request), position});
        },
    .itemCommand =
        [](WindowHandle dialog, int item, ItemNotification notification) {
            gLog.push_back({Call::Item, item, int(notification)});
            if (item == DialogOk || item == DialogCancel) endDialog(dialog, item);
        },
};

enum { IdName = 10, IdPreview, IdSorted, IdPlain, IdRadio1, IdRadio2, IdRadio3, IdCheck, IdKey };

const DialogItemTemplate kItems[] = {
    {DialogItemKind::Static, -1, u"Name", 0, 7, 7, 40, 8, StaticCenter},
    {DialogItemKind::Edit, IdName, u"", 0, 7, 20, 100, 14, EditRight | ItemBorder},
    {DialogItemKind::Edit, IdPreview, u"", 0, 7, 40, 100, 30,
     EditMultiLine | EditRight | EditDisplayOrder | ItemBorder},
    {DialogItemKind::ListBox, IdSorted, nullptr, 0, 7, 75, 60, 50,
     ListNotify | ListSort | ItemVScroll | ItemBorder},
    {DialogItemKind::ListBox, IdPlain, nullptr, 0, 70, 75, 40, 50,
     ListNotify | ItemVScroll | ItemBorder},
    {DialogItemKind::RadioButton, IdRadio1, u"1", 0, 115, 7, 30, 10, ItemPlain},
    {DialogItemKind::RadioButton, IdRadio2, u"2", 0, 115, 19, 30, 10, ItemPlain},
    {DialogItemKind::RadioButton, IdRadio3, u"3", 0, 115, 31, 30, 10, ItemPlain},
    {DialogItemKind::CheckBox, IdCheck, u"x", 0, 115, 43, 30, 10, ItemPlain},
    {DialogItemKind::StaticImage, IdKey, nullptr, 113, 7, 96, 10, 10, ItemPlain},
};
const DialogTemplate kItemsDialog = {
    500, u"Items", 0, 0, 150, 130, DialogOkCancel, kItems, int(sizeof kItems / sizeof kItems[0])};
const DialogTemplate kDrawnDialog = {501, u"Drawn", 0, 0, 100, 80, DialogPlain, nullptr, 0};

class DialogHost : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(startTestGraphics());
        static const WindowEvents none{};
        registerWindowClass(u"HostOwner", &none);
        owner_ = createWindow(u"HostOwner", u"Owner", WindowPlain);
        showWindow(owner_);
        processPendingEvents();
        gLog.clear();
        gSurface = nullptr;
    }
    void TearDown() override {
        scriptDialogs(nullptr);
        destroyWindow(owner_);
        processPendingEvents();
    }
    // Runs `t` with `body` as the user; returns the dialog's result. A dialog that never showed
    // (so that the body never ran) fails the test.
    intptr_t run(const DialogTemplate& t, void (*body)(WindowHandle), void* state = nullptr) {
        static int runs;
        runs = 0;
        gScriptBody = body;
        scriptDialogs([](WindowHandle dialog, int) {
            ++runs;
            gScriptBody(dialog);
        });
        intptr_t result = runDialog(&t, owner_, &kRecording, state);
        EXPECT_EQ(runs, 1) << "dialog " << t.id << " was shown " << runs << " times";
        return result;
    }
    static std::vector<Event> commands() {
        std::vector<Event> out;
        for (const Event& e : gLog) {
            if (e.call == Call::Item) out.push_back(e);
        }
        return out;
    }
    WindowHandle owner_ = nullptr;
};

std::u16string textOf(WindowHandle item) {
    char16_t text[200];
    getItemText(item, text, 200);
    return text;
}

TEST_F(DialogHost, ItemsSitWhereTheirDialogUnitsSay) {
    DialogUnits units = dialogBaseUnits();
    static int bx, by;
    bx = units.x;
    by = units.y;
    ASSERT_GT(bx, 0);
    ASSERT_GT(by, 0);
    EXPECT_EQ(run(kItemsDialog,
                  [](WindowHandle dialog) {
                      Rect client = clientRect(dialog);
                      EXPECT_EQ(client.right, 150 * bx / 4);
                      EXPECT_EQ(client.bottom, 130 * by / 8)
                          << "the OK row lies below the client area";
                      Rect name = windowRect(dialogItem(dialog, IdName));
                      EXPECT_EQ(name.left, 7 * bx / 4);
                      EXPECT_EQ(name.top, 20 * by / 8);
                      EXPECT_EQ(name.right - name.left, 100 * bx / 4);
                      BitmapHandle bitmap = loadBitmap(113);
                      Rect picture = windowRect(dialogItem(dialog, IdKey));
                      EXPECT_EQ(picture.left, 7 * bx / 4);
                      EXPECT_EQ(picture.top, 96 * by / 8);
                      EXPECT_EQ(picture.right - picture.left, bitmapWidth(bitmap))
                          << "a picture at its size";
                      EXPECT_EQ(picture.bottom - picture.top, bitmapHeight(bitmap));
                      deleteBitmap(bitmap);
                      moveWindow(dialogItem(dialog, IdName), 3, 4, 50, 20, true);
                      Rect moved = windowRect(dialogItem(dialog, IdName));
                      EXPECT_EQ(moved.left, 3);
                      EXPECT_EQ(moved.bottom, 24);
                      EXPECT_EQ(dialogItemId(dialogItem(dialog, IdPlain)), IdPlain);
                      EXPECT_EQ(dialogItem(dialog, 999), nullptr);
                      endDialog(dialog, 7);
                  }),
              7);
    ASSERT_GE(gLog.size(), 2u);
    EXPECT_EQ(gLog.front().call, Call::Created);
    EXPECT_EQ(gLog.back().call, Call::Destroyed) << "destroyed comes last";
}

// One text in boxes too short for it, aligned left, centred and right, in a dialog too narrow
// for the first; and a text that fits its box.
const DialogItemTemplate kShortBoxes[] = {
    {DialogItemKind::Static, 20, u"Talks on Exodus", 0, 60, 4, 10, 8, ItemPlain},
    {DialogItemKind::Static, 21, u"Talks on Exodus", 0, 60, 16, 10, 8, StaticCenter},
    {DialogItemKind::Static, 22, u"Talks on Exodus", 0, 60, 28, 10, 8, StaticRight},
    {DialogItemKind::Static, 23, u"Fits", 0, 4, 40, 40, 8, ItemPlain},
};
const DialogTemplate kShortBoxesDialog = {
    502,         u"Short",    0,
    0,           80,          50,
    DialogPlain, kShortBoxes, int(sizeof kShortBoxes / sizeof kShortBoxes[0])};

TEST_F(DialogHost, TextsThatDoNotFitGrowTheirBoxesAndTheDialog) {
    static int bx;
    bx = dialogBaseUnits().x;
    EXPECT_EQ(run(kShortBoxesDialog,
                  [](WindowHandle dialog) {
                      Rect left = windowRect(dialogItem(dialog, 20)),
                           centre = windowRect(dialogItem(dialog, 21)),
                           right = windowRect(dialogItem(dialog, 22)),
                           fits = windowRect(dialogItem(dialog, 23));
                      int x = 60 * bx / 4, end = 70 * bx / 4;
                      EXPECT_EQ(left.left, x) << "a left-aligned text grows to the right";
                      EXPECT_GT(left.right, end);
                      EXPECT_EQ(right.right, end) << "a right-aligned one to the left";
                      EXPECT_LT(right.left, x);
                      EXPECT_LE(std::abs((centre.left + centre.right) - (x + end)), 1)
                          << "a centred one both ways";
                      EXPECT_LT(centre.left, x);
                      EXPECT_EQ(right.right - right.left, left.right - left.left);
                      EXPECT_EQ(fits.right - fits.left, 40 * bx / 4)
                          << "a text that fits keeps its box";
                      EXPECT_GT(clientRect(dialog).right, left.right)
                          << "the dialog grows to hold the box";
                      EXPECT_LE(clientRect(dialog).right, left.right + 4 * bx / 4 + 1)
                          << "with the template's left margin";
                      // A longer text set later grows its box too, and the dialog with it.
                      setItemText(dialogItem(dialog, 23),
                                  u"Talks on Exodus, by Quillmere, and more besides");
                      Rect grown = windowRect(dialogItem(dialog, 23));
                      EXPECT_GT(grown.right - grown.left, 40 * bx / 4);
                      EXPECT_GE(clientRect(dialog).right, grown.right);
                      endDialog(dialog, 1);
                  }),
              1);
}

TEST_F(DialogHost, ListBoxes) {
    EXPECT_EQ(
        run(kItemsDialog,
            [](WindowHandle dialog) {
                WindowHandle sorted = dialogItem(dialog, IdSorted),
                             plain = dialogItem(dialog, IdPlain);
                for (const char16_t* face : {u"Miriam", u"david", u"Frank", u"David", u"aharoni"})
                    listAddString(sorted, face);
                std::vector<std::u16string> order;
                for (int i = 0; i < listCount(sorted); ++i) {
                    char16_t text[40];
                    EXPECT_GT(listItemText(sorted, i, text, 40), 0);
                    order.push_back(text);
                }
                EXPECT_EQ(order, (std::vector<std::u16string>{u"aharoni", u"david", u"David",
                                                              u"Frank", u"Miriam"}))
                    << "sorted with case ignored, equal ones in the order added";
                for (const char16_t* size : {u"7", u"10", u"72", u"12"})
                    listAddString(plain, size);
                struct Case {
                    WindowHandle list;
                    int after;
                    const char16_t* prefix;
                    int found;
                } cases[] = {
                    {plain, -1, u"7", 0},    {plain, 0, u"7", 2},    {plain, 2, u"7", 0},
                    {plain, -1, u"1", 1},    {plain, 1, u"1", 3},    {plain, -1, u"9", -1},
                    {sorted, -1, u"DAV", 1}, {sorted, 1, u"dav", 2}, {sorted, -1, u"", 0},
                    {sorted, 7, u"Fr", 3},
                };
                for (const Case& c : cases)
                    EXPECT_EQ(listFindPrefix(c.list, c.after, c.prefix), c.found)
                        << std::string(c.prefix,
                                       c.prefix + std::char_traits<char16_t>::length(c.prefix))
                        << " after " << c.after;
                EXPECT_EQ(listSelection(plain), -1);
                EXPECT_EQ(listSetSelection(plain, 2), 2);
                EXPECT_EQ(listSelection(plain), 2);
                EXPECT_EQ(listSetSelection(plain, 9), -1);
                EXPECT_EQ(listSelection(plain), -1) << "out of range clears the selection";
                EXPECT_TRUE(commands().empty()) << "the program's own changes are not notified";
                char16_t none[4];
                EXPECT_EQ(listItemText(plain, 4, none, 4), -1);

                // The user types: the list selects by prefix and tells the dialog.
                setFocusItem(sorted);
                EXPECT_EQ(focusedItem(dialog), sorted);
                userTypes(sorted, u"fr");
                EXPECT_EQ(listSelection(sorted), 3);
                std::vector<Event> told = commands();
                ASSERT_FALSE(told.empty());
                EXPECT_EQ(told.back().a, IdSorted);
                EXPECT_EQ(told.back().b, int(ItemNotification::SelectionChanged));
                listReset(sorted);
                EXPECT_EQ(listCount(sorted), 0);
                endDialog(dialog, 1);
            }),
        1);
}

TEST_F(DialogHost, EditBoxes) {
    EXPECT_EQ(run(kItemsDialog,
                  [](WindowHandle dialog) {
                      WindowHandle name = dialogItem(dialog, IdName);
                      editLimitText(name, 5);
                      setItemText(name, u"\u05D0\u05D1");
                      editSetSelection(name, 1, 1);
                      editReplaceSelection(name, u"\u05D2", true);
                      EXPECT_EQ(textOf(name), u"\u05D0\u05D2\u05D1") << "inserted at the caret";
                      int s = -1, e = -1;
                      editSelection(name, &s, &e);
                      EXPECT_EQ(s, 2) << "the caret after the inserted letter";
                      EXPECT_EQ(e, 2);
                      editSetSelection(name, 0, -1);
                      editSelection(name, &s, &e);
                      EXPECT_EQ(s, 0);
                      EXPECT_EQ(e, 3) << "-1 selects to the end";
                      editReplaceSelection(name, u"abcdefgh", true);
                      EXPECT_EQ(textOf(name), u"abcde") << "the limit holds";
                      EXPECT_EQ(editUndo(name), 1);
                      EXPECT_EQ(textOf(name), u"\u05D0\u05D2\u05D1") << "the replacement undone";
                      editSetSelection(name, 0, 1);
                      editReplaceSelection(name, u"x", false);
                      EXPECT_EQ(textOf(name), u"x\u05D2\u05D1");
                      EXPECT_EQ(editUndo(name), 0)
                          << "a change made without undo leaves nothing to undo";

                      // The box takes the font it is given, and gives the same one back.
                      FontDescription d{};
                      d.height = 31;
                      FontHandle font = createFont(d);
                      setItemFont(name, font);
                      EXPECT_EQ(itemFont(name), font);
                      EXPECT_NE(itemFont(dialogItem(dialog, IdPlain)), font)
                          << "another item keeps its own";
                      EXPECT_NE(itemFont(dialogItem(dialog, IdPlain)), nullptr);
                      deleteFont(font);

                      // A display-order box keeps its direction marks to itself.
                      WindowHandle preview = dialogItem(dialog, IdPreview);
                      setItemText(preview, u"\u05EA\u05E9\n\u05D1\u05D0");
                      EXPECT_EQ(textOf(preview), u"\u05EA\u05E9\n\u05D1\u05D0");
                      editSetSelection(preview, 3, 4);
                      editSelection(preview, &s, &e);
                      EXPECT_EQ(s, 3);
                      EXPECT_EQ(e, 4);
                      editReplaceSelection(preview, u"\u05D2", true);
                      EXPECT_EQ(textOf(preview), u"\u05EA\u05E9\n\u05D2\u05D0");
                      editLimitText(preview, 2);
                      editSetSelection(preview, -1, 0);
                      editReplaceSelection(preview, u"z", true);
                      EXPECT_EQ(textOf(preview).size(), 2u)
                          << "the limit holds in a multi-line box too";
                      endDialog(dialog, 1);
                  }),
              1);
}

TEST_F(DialogHost, RadioButtonsAndCheckBoxes) {
    EXPECT_EQ(run(kItemsDialog,
                  [](WindowHandle dialog) {
                      WindowHandle r1 = dialogItem(dialog, IdRadio1),
                                   r2 = dialogItem(dialog, IdRadio2),
                                   r3 = dialogItem(dialog, IdRadio3);
                      setButtonCheck(r1, 1);
                      setButtonCheck(r3, 1);
                      EXPECT_EQ(buttonCheck(r1) + buttonCheck(r3), 2)
                          << "the program's checks touch no other";
                      setButtonCheck(r1, 0);
                      setButtonCheck(r3, 0);
                      EXPECT_EQ(buttonCheck(r1) + buttonCheck(r2) + buttonCheck(r3), 0)
                          << "none checked";
                      setButtonCheck(r3, 1);
                      Rect r = windowRect(r2);
                      userClicks(dialog, r.left + 4, (r.top + r.bottom) / 2);
                      EXPECT_EQ(buttonCheck(r2), 1);
                      EXPECT_EQ(buttonCheck(r3), 0) << "a click checks one of the group";
                      userClicks(dialog, r.left + 4, (r.top + r.bottom) / 2);
                      EXPECT_EQ(buttonCheck(r2), 1) << "a second click keeps it checked";
                      ASSERT_FALSE(commands().empty());
                      EXPECT_EQ(commands().back().a, IdRadio2);
                      EXPECT_EQ(commands().back().b, int(ItemNotification::Clicked));
                      WindowHandle check = dialogItem(dialog, IdCheck);
                      Rect c = windowRect(check);
                      userClicks(dialog, c.left + 4, (c.top + c.bottom) / 2);
                      EXPECT_EQ(buttonCheck(check), 1);
                      EXPECT_EQ(buttonCheck(r2), 1) << "a check box is no member of the group";
                      endDialog(dialog, 1);
                  }),
              1);
}

TEST_F(DialogHost, ReturnEscapeAndClosing) {
    struct Case {
        const char* what;
        void (*act)(WindowHandle);
        intptr_t result;
    } cases[] = {
        {"Return in a line box",
         [](WindowHandle d) {
             setFocusItem(dialogItem(d, IdName));
             userPressesKey(d, Key::Return);
         },
         1},
        {"Return in a multi-line box",
         [](WindowHandle d) {
             setFocusItem(dialogItem(d, IdPreview));
             userPressesKey(d, Key::Return);
         },
         1},
        {"Return in a list",
         [](WindowHandle d) {
             setFocusItem(dialogItem(d, IdPlain));
             userPressesKey(d, Key::Return);
         },
         1},
        {"Escape", [](WindowHandle d) { userPressesKey(d, Key::Escape); }, 2},
        {"closing the window", [](WindowHandle d) { userCloses(d); }, 2},
    };
    for (const Case& c : cases) {
        gLog.clear();
        EXPECT_EQ(run(kItemsDialog, c.act), c.result) << c.what;
        std::vector<Event> told = commands();
        ASSERT_FALSE(told.empty()) << c.what;
        EXPECT_EQ(told.back().a, c.result) << c.what;
    }
}

TEST_F(DialogHost, TabFollowsTheTemplate) {
    EXPECT_EQ(run(kItemsDialog,
                  [](WindowHandle dialog) {
                      setFocusItem(dialogItem(dialog, IdName));
                      std::vector<int> visited;
                      for (int i = 0; i < 5; ++i) {
                          userPressesKey(dialog, Key::Tab);
                          visited.push_back(dialogItemId(focusedItem(dialog)));
                      }
                      EXPECT_EQ(visited, (std::vector<int>{IdPreview, IdSorted, IdPlain, IdRadio1,
                                                           IdRadio2}));
                      endDialog(dialog, 1);
                  }),
              1);
}

TEST_F(DialogHost, ADialogThatDrawsItself) {
    EXPECT_EQ(
        run(
            kDrawnDialog,
            [](WindowHandle dialog) {
                ASSERT_NE(gSurface, nullptr);
                Rect client = clientRect(dialog);
                EXPECT_EQ(dcWidth(gSurface), client.right);
                EXPECT_EQ(dcHeight(gSurface), client.bottom);
                bool sized = false;
                for (const Event& e : gLog)
                    sized = sized ||
                            (e.call == Call::Size && e.a == client.right && e.b == client.bottom);
                EXPECT_TRUE(sized) << "told the client size once shown";
                bool activated = false;
                for (const Event& e : gLog)
                    activated = activated || (e.call == Call::Activate && e.a == 1);
                EXPECT_TRUE(activated) << "the shown dialog is the active window";

                // Over the reader's window, at its place and size, with OK and Cancel below.
                gLog.clear();
                shellInitDialog(dialog, ShellDialogOkButton | ShellDialogSizeFullScreen);
                processPendingEvents();
                Rect owner = windowRect(parentWindow(dialog));
                Rect placed = windowRect(dialog);
                EXPECT_EQ(placed.left, owner.left);
                EXPECT_EQ(placed.top, owner.top);
                EXPECT_EQ(placed.right - placed.left, owner.right - owner.left);
                Rect now = clientRect(dialog);
                EXPECT_LT(now.bottom, placed.bottom - placed.top)
                    << "the buttons take the bottom row";
                EXPECT_EQ(dcWidth(gSurface), now.right) << "the surface follows the client area";
                ASSERT_FALSE(gLog.empty());

                // A refresh with erase: the erase message with the context, then the paint.
                gLog.clear();
                invalidateWindow(dialog, nullptr, true);
                processPendingEvents();
                ASSERT_GE(gLog.size(), 2u);
                EXPECT_EQ(gLog[0].call, Call::Erase);
                EXPECT_EQ(gLog[0].dc, gSurface);
                EXPECT_EQ(gLog[1].call, Call::Paint);

                // Keys, taps and the scroll bar.
                gLog.clear();
                userPressesKey(dialog, Key::Down);
                userClicks(dialog, 17, 23);
                ASSERT_EQ(gLog.size(), 2u);
                EXPECT_EQ(gLog[0].call, Call::Key);
                EXPECT_EQ(gLog[0].a, int(Key::Down));
                EXPECT_EQ(gLog[1].call, Call::Tap);
                EXPECT_EQ(gLog[1].a, 17) << "client coordinates";
                EXPECT_EQ(gLog[1].b, 23);
                int min = -1, max = -1, pos = -1;
                EXPECT_FALSE(scrollRange(dialog, &min, &max, &pos)) << "no bar until it is used";
                setScrollRange(dialog, 0, 12, 5, true);
                ASSERT_TRUE(scrollRange(dialog, &min, &max, &pos));
                EXPECT_EQ(max, 12);
                EXPECT_EQ(pos, 5);
                setScrollPage(dialog, 4);
                EXPECT_EQ(scrollPage(dialog), 4);
                gLog.clear();
                Rect area = clientRect(dialog);
                userClicks(dialog, area.right - 3, area.bottom - 3); // the bar's lower arrow
                bool lineDown = false;
                for (const Event& e : gLog)
                    lineDown =
                        lineDown || (e.call == Call::Scroll && e.a == int(ScrollRequest::LineDown));
                EXPECT_TRUE(lineDown) << "the bar lies along the right edge and sends its requests";
                userPressesKey(dialog, Key::Return);
            },
            &gDrawsItself),
        1);
}

// The wheel over a window that draws itself (the reading view, the index): three lines a notch,
// and the small steps of a touchpad or a fine wheel add up to lines as well, in angle or pixels.
std::vector<ScrollRequest> gScrolls;
const WindowEvents kWheelWindow = {
    .scroll =
        [](WindowHandle, ScrollRequest request, int) {
            if (request != ScrollRequest::EndScroll) gScrolls.push_back(request);
        },
};

TEST_F(DialogHost, SmallWheelStepsAddUpToLines) {
    registerWindowClass(u"WheelWindow", &kWheelWindow);
    constexpr ScrollRequest up = ScrollRequest::LineUp, down = ScrollRequest::LineDown;
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> turns; // angle, pixels
        size_t lines;
        ScrollRequest direction;
    } cases[] = {
        {"a notch up", {{120, 0}}, 3, up},
        {"a notch down", {{-120, 0}}, 3, down},
        {"eight steps of 15", std::vector<std::pair<int, int>>(8, {15, 0}), 3, up},
        {"seven steps of 15: what is left waits", std::vector<std::pair<int, int>>(7, {-15, 0}), 2,
         down},
        {"touchpad pixels", std::vector<std::pair<int, int>>(6, {-24, -10}), 3, down},
    };
    for (const Case& c : cases) {
        WindowHandle window = createWindow(u"WheelWindow", u"Wheel", WindowPlain);
        showWindow(window);
        processPendingEvents();
        gScrolls.clear();
        for (const auto& [angle, pixels] : c.turns)
            userTurnsWheel(window, angle, pixels);
        EXPECT_EQ(gScrolls.size(), c.lines) << c.name;
        for (ScrollRequest r : gScrolls)
            EXPECT_EQ(r, c.direction) << c.name;
        destroyWindow(window);
        processPendingEvents();
    }
}
} // namespace
