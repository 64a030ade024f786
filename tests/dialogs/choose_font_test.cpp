// The Choose Font dialog, scripted: the size list, the letter base and the faces that set it, OK
// and Cancel on the record, the layout, the font list's blocks, and command 40006.
#include <cstring>
#include <string>
#include <vector>

#include "dialogs/choose_font.h"
#include "dialogs/font_list.h"
#include "platform/dialog.h"
#include "platform/draw.h"
#include "platform/memory.h"
#include "tests/support/shell_fixture.h"

namespace {
void (*gBody)(WindowHandle) = nullptr;

class ChooseFont : public ScriptedDialogTest {
protected:
    // Runs the dialog on spec_ with `body` as the user, in state_ (kept for a look after the
    // dialog has gone); returns its result.
    intptr_t run(void (*body)(WindowHandle)) {
        return runScripted(105, body, [this] {
            state_ = FontDialogState{};
            state_.editedFontSpec = &spec_;
            resetFontList(state_.fontList);
            return runDialog(&kChooseFontDialog, window_, &kFontDialogEvents, &state_);
        });
    }
    FontSpec spec(const char16_t* face, int size, int base) {
        FontSpec s{};
        std::memcpy(s.FontName, face, (std::char_traits<char16_t>::length(face) + 1) * 2);
        s.FontSize = size;
        s.FontAsciiBase = base;
        return s;
    }
    FontSpec spec_{};
    FontDialogState state_{};
};

std::vector<std::u16string> entries(WindowHandle list) {
    std::vector<std::u16string> out;
    for (int i = 0; i < listCount(list); ++i) {
        char16_t text[40];
        listItemText(list, i, text, 40);
        out.push_back(text);
    }
    return out;
}

std::u16string selected(WindowHandle list) {
    char16_t text[40] = {};
    if (listItemText(list, listSelection(list), text, 40) < 0) return u"none";
    return text;
}

int base(WindowHandle dialog) {
    return buttonCheck(dialogItem(dialog, FontBase97)) * 97 +
           buttonCheck(dialogItem(dialog, FontBase224)) * 224 +
           buttonCheck(dialogItem(dialog, FontBase1488)) * 1488;
}

// Chooses entry `index` of a list as a click would, notification included.
void choose(WindowHandle dialog, int id, int index) {
    WindowHandle list = dialogItem(dialog, id);
    listSetSelection(list, index);
    windowEvents(dialog)->itemCommand(dialog, id, ItemNotification::SelectionChanged);
}

int faceIndex(WindowHandle dialog, bool hebrew) {
    WindowHandle faces = dialogItem(dialog, FontFaceList);
    for (int i = 0; i < listCount(faces); ++i) {
        char16_t name[32];
        listItemText(faces, i, name, 32);
        const FontFace* f = findFontFace(fontDialogState(dialog).fontList, name);
        if (f && (f->charSet == CharSetHebrew) == hebrew) return i;
    }
    return -1;
}

std::u16string previewOf(WindowHandle dialog) {
    char16_t text[40];
    getItemText(dialogItem(dialog, FontPreview), text, 40);
    return text;
}

TEST_F(ChooseFont, TheSizeList) {
    start();
    struct Case {
        int size;
        std::u16string first, selected;
        int count;
    } cases[] = {{8, u"8", u"8", 15},
                 {13, u"10", u"none", 14},
                 {7, u"7", u"7", 15},
                 {0, u"10", u"none", 14},
                 {24, u"10", u"24", 14}};
    for (const Case& c : cases) {
        spec_ = spec(u"David CLM", c.size, 1488);
        static const Case* current;
        current = &c;
        run([](WindowHandle dialog) {
            WindowHandle sizes = dialogItem(dialog, FontSizeList);
            std::vector<std::u16string> shown = entries(sizes);
            ASSERT_EQ(int(shown.size()), current->count) << current->size;
            EXPECT_EQ(shown[0], current->first) << current->size;
            EXPECT_EQ(shown.back(), u"72");
            EXPECT_EQ(selected(sizes), current->selected) << current->size;
            EXPECT_EQ(selected(dialogItem(dialog, FontFaceList)), u"David CLM");
            EXPECT_EQ(dialogItemId(focusedItem(dialog)), FontFaceList) << "focus on the faces";
            userPressesKey(dialog, Key::Return);
        });
        EXPECT_EQ(spec_.FontSize, c.size) << "OK without choosing a size keeps it";
    }
}

TEST_F(ChooseFont, AHebrewFaceSwitchesTheBaseToUnicode) {
    start();
    spec_ = spec(u"David CLM", 18, 224);
    EXPECT_EQ(run([](WindowHandle dialog) {
                  EXPECT_EQ(base(dialog), 224);
                  std::u16string codePage;
                  for (int i = 0; i < 27; ++i)
                      codePage += char16_t(224 + 26 - i);
                  EXPECT_EQ(previewOf(dialog), codePage);
                  int plain = faceIndex(dialog, false), hebrew = faceIndex(dialog, true);
                  ASSERT_GE(plain, 0) << "an installed face without Hebrew letters";
                  ASSERT_GE(hebrew, 0);
                  choose(dialog, FontFaceList, plain);
                  EXPECT_EQ(base(dialog), 224) << "a face without the letters leaves the base";
                  choose(dialog, FontFaceList, hebrew);
                  EXPECT_EQ(base(dialog), 1488);
                  std::u16string unicode;
                  for (char16_t c = 0x05EA; c >= 0x05D0; --c)
                      unicode += c;
                  EXPECT_EQ(previewOf(dialog), unicode) << "from U+05EA down to U+05D0";
                  EXPECT_NE(fontDialogState(dialog).previewFont, nullptr)
                      << "the preview in the chosen face";
                  choose(dialog, FontSizeList, 3);
                  EXPECT_EQ(fontDialogState(dialog).previewRequest.height, 14);
                  userPressesKey(dialog, Key::Return);
              }),
              1);
    EXPECT_EQ(spec_.FontAsciiBase, 1488);
    EXPECT_EQ(spec_.FontSize, 14);
    EXPECT_EQ(state_.previewFont, nullptr) << "deleted with the dialog";
    EXPECT_EQ(state_.fontList.first, nullptr) << "the font list freed";
    struct Found {
        bool hebrew = false;
    } found;
    enumerateFontFamilies(
        nullptr,
        [](const FontDescription* d, const TextMetrics* m, void* context) {
            if (std::u16string(d->face) == u"David CLM")
                static_cast<Found*>(context)->hebrew = m->charSet == CharSetHebrew;
            return 1;
        },
        &found);
    EXPECT_TRUE(found.hebrew) << "David CLM holds the Hebrew letters";
}

TEST_F(ChooseFont, TheLetterBaseButtons) {
    start();
    struct Case {
        int stored, shown, clicked, kept;
        intptr_t result;
    } cases[] = {
        {97, 97, 0, 97, 1},    {97, 97, FontBase224, 224, 1}, {224, 224, FontBase97, 97, 1},
        {0, 1488, 0, 1488, 2}, {1488, 1488, 0, 1488, 2},      {300, 0, 0, 300, 1},
    };
    for (const Case& c : cases) {
        spec_ = spec(u"David CLM", 18, c.stored);
        static const Case* current;
        current = &c;
        EXPECT_EQ(run([](WindowHandle dialog) {
                      EXPECT_EQ(base(dialog), current->shown) << current->stored;
                      if (current->clicked) {
                          Rect r = windowRect(dialogItem(dialog, current->clicked));
                          userClicks(dialog, r.left + 4, (r.top + r.bottom) / 2);
                          EXPECT_EQ(base(dialog), current->kept) << "one button checked";
                      }
                      userPressesKey(dialog, current->result == 1 ? Key::Return : Key::Escape);
                  }),
                  c.result);
        EXPECT_EQ(spec_.FontAsciiBase, c.kept) << c.stored;
    }
}

// The preview holds the 27 letter forms in display order: alef at the right end, tav at the
// left, at every letter base. Its picture is compared with a picture of alef alone, which the
// right-aligned box puts where the last letter of a line goes.
TEST_F(ChooseFont, ThePreviewShowsAlefAtTheRightEnd) {
    start();
    static int currentBase = 0;
    for (int b : {97, 224, 1488}) {
        currentBase = b;
        spec_ = spec(b == 1488 ? u"David CLM" : u"DejaVu Sans", 18, b);
        run([](WindowHandle dialog) {
            WindowHandle preview = dialogItem(dialog, FontPreview);
            auto pictureOf = [&](char16_t first, int count) {
                char16_t text[28] = {};
                for (int i = 0; i < count; ++i)
                    text[i] = char16_t(first - i);
                setItemText(preview, text);
                processPendingEvents();
                DcHandle alone = nullptr;
                Rect shown{};
                EXPECT_TRUE(dialogControl(dialog, 2, &shown, &alone));
                return alone;
            };
            DcHandle all = pictureOf(char16_t(currentBase + 26), 27);
            DcHandle alef = pictureOf(char16_t(currentBase), 1);
            DcHandle tav = pictureOf(char16_t(currentBase + 26), 1);
            // Where alef alone has ink, the whole preview has the same pixels; tav there does not.
            int inked = 0, same = 0, sameAsTav = 0;
            // The box's white inside its border.
            for (int y = 3; y < dcHeight(alef) - 3; ++y) {
                for (int x = 3; x < dcWidth(alef) - 3; ++x) {
                    if (dcPixel(alef, x, y) == 0xFFFFFF) continue;
                    ++inked;
                    same += dcPixel(all, x, y) == dcPixel(alef, x, y);
                    sameAsTav += dcPixel(tav, x, y) == dcPixel(alef, x, y);
                }
            }
            EXPECT_GT(inked, 20) << "base " << currentBase << ": alef shows";
            EXPECT_EQ(same, inked) << "base " << currentBase << ": alef at the right end";
            EXPECT_LT(sameAsTav, inked) << "base " << currentBase << ": tav looks otherwise";
            deleteDc(all);
            deleteDc(alef);
            deleteDc(tav);
            userPressesKey(dialog, Key::Escape);
        });
    }
}

TEST_F(ChooseFont, CancelKeepsTheRecord) {
    start();
    spec_ = spec(u"Miriam Mono CLM", 13, 224);
    EXPECT_EQ(run([](WindowHandle dialog) {
                  choose(dialog, FontFaceList, 0);
                  choose(dialog, FontSizeList, 5);
                  userCloses(dialog);
              }),
              2);
    EXPECT_EQ(std::u16string(spec_.FontName), u"Miriam Mono CLM");
    EXPECT_EQ(spec_.FontSize, 13);
    EXPECT_EQ(spec_.FontAsciiBase, 224);
}

TEST_F(ChooseFont, TheLayoutFollowsTheClientArea) {
    start();
    spec_ = spec(u"David CLM", 18, 1488);
    run([](WindowHandle dialog) {
        layoutFontDialog(dialog, 314, 464); // c 300, e 450, d 200, f 300
        struct Case {
            int id;
            Rect rect;
        } cases[] = {
            {FontFaceList, {7, 7, 200, 300}},  {FontSizeList, {207, 59, 307, 300}},
            {FontPreview, {7, 300, 307, 450}}, {FontBase97, {207, 7, 307, 17}},
            {FontBase224, {207, 24, 307, 34}}, {FontBase1488, {207, 41, 307, 51}},
        };
        for (const Case& c : cases) {
            Rect r = windowRect(dialogItem(dialog, c.id));
            EXPECT_EQ(r.left, c.rect.left) << c.id;
            EXPECT_EQ(r.top, c.rect.top) << c.id;
            EXPECT_EQ(r.right, c.rect.right) << c.id;
            // A radio button is taller when its text needs more than the 10 pixels.
            bool radio = c.id == FontBase97 || c.id == FontBase224 || c.id == FontBase1488;
            if (radio)
                EXPECT_GE(r.bottom, c.rect.bottom) << c.id;
            else
                EXPECT_EQ(r.bottom, c.rect.bottom) << c.id;
        }
        // The size message lays the dialog out the same way.
        Rect client = clientRect(dialog);
        windowEvents(dialog)->size(dialog, client.right, client.bottom);
        Rect preview = windowRect(dialogItem(dialog, FontPreview));
        EXPECT_EQ(preview.right, client.right - 7);
        EXPECT_EQ(preview.bottom, client.bottom - 14);
        userPressesKey(dialog, Key::Escape);
    });
}

TEST_F(ChooseFont, TabFollowsTheTemplate) {
    start();
    spec_ = spec(u"David CLM", 18, 1488);
    run([](WindowHandle dialog) {
        std::vector<int> visited;
        for (int i = 0; i < 4; ++i) {
            userPressesKey(dialog, Key::Tab);
            visited.push_back(dialogItemId(focusedItem(dialog)));
        }
        EXPECT_EQ(visited, (std::vector<int>{FontSizeList, FontPreview, FontBase97, FontBase224}));
        userPressesKey(dialog, Key::Escape);
    });
}

TEST(FontList, AFailedBlockEndsTheEnumeration) {
    FontList fontList;
    resetFontList(fontList);
    FontDescription d{};
    TextMetrics m{16, 16};
    injectAllocFailures(1, 1); // the first block, then no second
    int added = 0;
    for (int i = 0; i < 30; ++i) {
        d.face[0] = char16_t(u'A' + i);
        if (!addFontFace(&d, &m, &fontList)) break;
        ++added;
    }
    injectAllocFailures(0, 0);
    EXPECT_EQ(added, kFontBlockEntries) << "the faces gathered so far";
    int listed = 0;
    for (const FontFace* f = fontList.first; f; f = f->next)
        ++listed;
    EXPECT_EQ(listed, kFontBlockEntries);
    freeFontList(fontList);
    // Three blocks, freed through their first entries.
    for (int i = 0; i < 60; ++i)
        addFontFace(&d, &m, &fontList);
    int starts = 0;
    for (const FontFace* f = fontList.first; f; f = f->next)
        starts += f->blockStart;
    EXPECT_EQ(starts, 3);
    freeFontList(fontList);
    EXPECT_EQ(fontList.first, nullptr);
}

class FontCommand : public ShellTest {};

TEST_F(FontCommand, OkHandsTheNewFontToTheView) {
    start();
    gBody = [](WindowHandle dialog) {
        WindowHandle sizes = dialogItem(dialog, FontSizeList);
        char16_t text[8];
        for (int i = 0; i < listCount(sizes); ++i) {
            listItemText(sizes, i, text, 8);
            if (std::u16string(text) == u"32") choose(dialog, FontSizeList, i);
        }
        userPressesKey(dialog, Key::Return);
    };
    scriptDialogs([](WindowHandle dialog, int) { gBody(dialog); });
    int before = view()->totalLines;
    EXPECT_EQ(onCommand(window_, CmdFont), 0);
    EXPECT_EQ(appState.fontSpec.FontSize, 32);
    EXPECT_EQ(view()->font.FontSize, 32) << "the view has the new font";
    EXPECT_GT(view()->totalLines, before) << "and is laid out in it";
    gBody = [](WindowHandle dialog) { userPressesKey(dialog, Key::Escape); };
    onCommand(window_, CmdFont);
    EXPECT_EQ(view()->font.FontSize, 32) << "Escape changes nothing";
    scriptDialogs(nullptr);
}
} // namespace
