#include "dialogs/search_dialog.h"

#include <cstring>

#include "dialogs/search.h"
#include "dialogs/search_box.h"
#include "dialogs/search_keyboard.h"
#include "platform/dialog.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "resources/dialogs.h"
#include "state/state.h"
#include "view/text_view.h"

namespace {
// The picture's corner in dialog units.
constexpr int kKeyboardLeft = 7, kKeyboardTop = 71;

void closeDialog(WindowHandle dialog, int id) {
    endDialog(dialog, id);
    // The desktop has no input panel to lower or hide; its button goes with the dialog.
    fullScreenRequest(appState.mainWindow, FullScreenHideInputButton);
}

void initDialog(WindowHandle dialog) {
    WindowHandle box = dialogItem(dialog, SearchBoxId);
    DialogUnits units = dialogBaseUnits();
    appState.dialogUnitX = units.x;
    appState.dialogUnitY = units.y;
    const FontSpec& spec = appState.view ? appState.view->font : appState.fontSpec;
    FontDescription d{};
    d.height = spec.FontSize;
    std::memcpy(d.face, spec.FontName, sizeof d.face);
    d.face[31] = 0;
    appState.searchBoxFont = createFont(d);
    if (appState.searchBoxFont) setItemFont(box, appState.searchBoxFont);
    editLimitText(box, kMaxPatternLength);
    // The box holds the word in reading order, as it was typed.
    if (char16_t* text = patternToBoxText(appState.searchPattern)) {
        setItemText(box, text);
        plainFree(text);
    }
    editSetSelection(box, 0, -1);
    setButtonCheck(dialogItem(dialog, SearchExactId), appState.ExactLetters ? 1 : 0);
}

// The box's word and the check box taken as the search: false when memory ran out.
bool takeWord(WindowHandle dialog) {
    WindowHandle box = dialogItem(dialog, SearchBoxId);
    if (WindowHandle exact = dialogItem(dialog, SearchExactId))
        appState.ExactLetters = buttonCheck(exact) ? 1 : 0;
    char16_t typed[kMaxPatternLength + 1] = {};
    getItemText(box, typed, kMaxPatternLength + 1);
    char16_t display[kMaxPatternLength + 1] = {};
    if (boxTextToDisplayOrder(typed, display, kMaxPatternLength + 1) < 0) return false;
    ConvertPattern(display);
    return true;
}

void keepWordForNextTry(WindowHandle dialog) {
    WindowHandle box = dialogItem(dialog, SearchBoxId);
    editSetSelection(box, 0, -1);
    setFocusItem(box);
}

void onFindAll(WindowHandle dialog) {
    if (!takeWord(dialog) || appState.searchPattern[0] == 0) return;
    int count = updateFoundHits();
    if (count > 0) {
        closeDialog(dialog, SearchFindAllId);
        return;
    }
    if (count == 0) showMessageBox(dialog, u"Not Found!", u"Versewell", MessageBoxOk);
    keepWordForNextTry(dialog);
}

void onOk(WindowHandle dialog) {
    if (!takeWord(dialog)) return;
    if (appState.searchPattern[0] == 0 || SearchAgain(dialog)) {
        closeDialog(dialog, 1);
        return;
    }
    // Not found: the word stays, selected, for the next try.
    keepWordForNextTry(dialog);
}

// The shell's input-panel button and task bar have no desktop counterpart to show or hide;
// the request is made as the handheld makes it.
void onActivate(WindowHandle, bool active) {
    if (active && appState.AllowSipInHebrewSearch)
        fullScreenRequest(appState.mainWindow, FullScreenShowInputButton);
}

void onTap(WindowHandle dialog, Point at) {
    TapToLetter(dialog, at.x, at.y);
}

void onItemCommand(WindowHandle dialog, int item, ItemNotification) {
    if (item == DialogOk) onOk(dialog);
    if (item == SearchFindAllId) onFindAll(dialog);
    if (item == DialogCancel) closeDialog(dialog, DialogCancel);
}

void onDestroyed(WindowHandle) {
    if (appState.searchBoxFont) {
        deleteFont(appState.searchBoxFont);
        appState.searchBoxFont = nullptr;
    }
}
} // namespace

const WindowEvents kSearchDialogEvents = {
    .created = initDialog,
    .destroyed = onDestroyed,
    .activate = onActivate,
    .tap = onTap,
    .itemCommand = onItemCommand,
};

int TapToLetter(WindowHandle dialog, int x, int y) {
    int bx = x - (appState.dialogUnitX * kKeyboardLeft) / 4;
    int by = y - (appState.dialogUnitY * kKeyboardTop) / 8;
    int position = keyboardPosition(bx, by);
    if (position < 0) return 1;
    InsertLetter(dialog, position);
    return 0;
}

void InsertLetter(WindowHandle dialog, int position) {
    WindowHandle box = dialogItem(dialog, SearchBoxId);
    if (!box || position < 0 || position > 27) return;
    char16_t typed[2] = {0, 0};
    typed[0] =
        position == 0
            ? u' '
            : char16_t(appState.fontSpec.FontAsciiBase + (kKeyboardLetters[position - 1] - 0x61));
    editReplaceSelection(box, typed, true);
    setFocusItem(box);
}

intptr_t runSearchDialog(WindowHandle owner) {
    return runDialog(&kSearchDialog, owner, &kSearchDialogEvents, nullptr);
}
