// Every dialog of the reader shows its texts and pictures whole, under the desktop's font and
// under a large one: each control's ink in the picture of the open dialog is compared with the
// same control drawn alone at the size its content asks for.
#include <string>

#include "platform/dialog.h"
#include "platform/gui.h"
#include "resources/dialogs.h"
#include "tests/support/shell_fixture.h"

namespace {
struct Opened {
    const char* name;
    int command;
    const DialogTemplate* dialog;
};
const Opened* gOpened = nullptr;
int gCompared = 0;

// Dark pixels (text, lines, outlines) of `dc` within `r`.
int dark(DcHandle dc, Rect r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            Colour c = dcPixel(dc, x, y);
            n += (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 3 * 128;
        }
    }
    return n;
}

Rect clip(Rect r, Rect to) {
    return {std::max(r.left, to.left), std::max(r.top, to.top), std::min(r.right, to.right),
            std::min(r.bottom, to.bottom)};
}

// Controls whose content is a text or a picture of a fixed size (lists and edit boxes scroll).
bool fixedContent(const DialogTemplate* t, int n) {
    if (n >= t->itemCount) return true; // OK and Cancel
    DialogItemKind k = t->items[n].kind;
    return k != DialogItemKind::ListBox && k != DialogItemKind::Edit;
}

void checkControls(WindowHandle dialog, int id) {
    const DialogTemplate* t = gOpened->dialog;
    EXPECT_EQ(id, t->id);
    DcHandle picture = windowPicture(dialog);
    ASSERT_NE(picture, nullptr);
    Rect whole{0, 0, dcWidth(picture), dcHeight(picture)};
    Rect client = clientRect(dialog);
    Rect shown{};
    DcHandle alone = nullptr;
    for (int n = 0; dialogControl(dialog, n, &shown, &alone); ++n) {
        if (fixedContent(t, n)) {
            // Items are seen through the client area; OK and Cancel through the dialog.
            int inDialog = dark(picture, clip(shown, n < t->itemCount ? client : whole));
            int needed = dark(alone, Rect{0, 0, dcWidth(alone), dcHeight(alone)});
            if (needed > 0) {
                EXPECT_GE(inDialog * 100, needed * 97)
                    << gOpened->name << ": control " << n << " shows " << inDialog << " of "
                    << needed << " dark pixels";
                ++gCompared;
            }
        }
        deleteDc(alone);
        alone = nullptr;
    }
    deleteDc(picture);
    userPressesKey(dialog, Key::Escape);
}

class DialogPictures : public ShellTest {
protected:
    void TearDown() override {
        scriptDialogs(nullptr);
        setDesktopFont(nullptr, 0);
        ShellTest::TearDown();
    }
};

TEST_F(DialogPictures, EveryDialogShowsItsTextsWhole) {
    static const Opened dialogs[] = {
        {"About", CmdAbout, &kAboutDialog},
        {"Choose Font", CmdFont, &kChooseFontDialog},
        {"Search", CmdSearch, &kSearchDialog},
        {"Choose Section", CmdIndex, &kChooseSectionDialog},
    };
    start();
    for (int points : {0, 14}) {
        setDesktopFont(nullptr, points);
        for (const Opened& d : dialogs) {
            SCOPED_TRACE(std::string(d.name) + " at " + std::to_string(points) + " points");
            gOpened = &d;
            gCompared = 0;
            scriptDialogs(checkControls);
            onCommand(window_, d.command);
            // Each has texts to compare: at least its OK and Cancel.
            EXPECT_GE(gCompared, 2);
        }
    }
}
} // namespace
