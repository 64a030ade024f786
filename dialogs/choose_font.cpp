#include "dialogs/choose_font.h"

#include <cstdio>
#include <cstring>

#include "dialogs/dialog_setup.h"
#include "dialogs/font_list.h"
#include "platform/dialog.h"
#include "resources/dialogs.h"
#include "view/letters.h"

namespace {
constexpr int kLetterForms = 27;

void formatNumber(int value, char16_t* out, int capacity) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    int i = 0;
    for (; digits[i] && i < capacity - 1; ++i)
        out[i] = char16_t(digits[i]);
    out[i] = 0;
}

void fillSizeList(WindowHandle dialog, int32_t size) {
    WindowHandle list = dialogItem(dialog, FontSizeList);
    listReset(list);
    char16_t text[16];
    for (int value : kFontSizes) {
        if (value == kFontSizes[0] && size != 0 && size < value) {
            formatNumber(size, text, 16);
            listAddString(list, text);
        }
        formatNumber(value, text, 16);
        listAddString(list, text);
    }
    if (size != 0) {
        formatNumber(size, text, 16);
        int found = listFindPrefix(list, -1, text);
        if (found >= 0) listSetSelection(list, found);
    }
}

void fillFaceList(WindowHandle dialog, const char16_t* current) {
    WindowHandle list = dialogItem(dialog, FontFaceList);
    listReset(list);
    for (const FontFace* f = fontDialogState(dialog).fontList.first; f; f = f->next)
        listAddString(list, f->faceName);
    int found = listFindPrefix(list, -1, current);
    if (found >= 0) listSetSelection(list, found);
}

void checkBase(WindowHandle dialog, int base) {
    int id = base == LetterBaseLatin      ? FontBase97
             : base == LetterBaseCodePage ? FontBase224
             : base == LetterBaseUnicode  ? FontBase1488
                                          : 0;
    if (id) setButtonCheck(dialogItem(dialog, id), 1);
}

int checked(WindowHandle dialog, int id) {
    return buttonCheck(dialogItem(dialog, id));
}

void deletePreviewFont(FontDialogState& s) {
    if (s.previewFont) {
        deleteFont(s.previewFont);
        s.previewFont = nullptr;
    }
}

void onCreated(WindowHandle dialog) {
    initFontDialog(dialog, fontDialogState(dialog).editedFontSpec);
}

void onItemCommand(WindowHandle dialog, int item, ItemNotification) {
    switch (item) {
    case DialogOk:
        applyFontChoice(dialog, FontChoice::Ok);
        freeFontList(fontDialogState(dialog).fontList);
        endDialog(dialog, DialogOk);
        return;
    case DialogCancel:
        freeFontList(fontDialogState(dialog).fontList);
        endDialog(dialog, DialogCancel);
        return;
    case FontFaceList:
    case FontSizeList:
        applyFontChoice(dialog, FontChoice::ListSelection);
        return;
    case FontBase97:
    case FontBase224:
    case FontBase1488:
        showPreviewText(dialog, item == FontBase97    ? LetterBaseLatin
                                : item == FontBase224 ? LetterBaseCodePage
                                                      : LetterBaseUnicode);
        applyFontChoice(dialog, FontChoice::BaseButton);
        return;
    default:
        return;
    }
}

void onDestroyed(WindowHandle dialog) {
    FontDialogState& s = fontDialogState(dialog);
    deletePreviewFont(s);
    // A dialog ended without OK or Cancel (the reader stopping) leaves no blocks behind.
    freeFontList(s.fontList);
}
} // namespace

// The desktop has no shell task bar to hide when the dialog is activated.
const WindowEvents kFontDialogEvents = {
    .created = onCreated,
    .destroyed = onDestroyed,
    .size = layoutFontDialog,
    .itemCommand = onItemCommand,
};

FontDialogState& fontDialogState(WindowHandle dialog) {
    return *static_cast<FontDialogState*>(dialogState(dialog));
}

void showPreviewText(WindowHandle dialog, int base) {
    char16_t* text = fontDialogState(dialog).previewText;
    for (int i = 0; i < kLetterForms; ++i)
        text[i] = char16_t(base + kLetterForms - 1 - i);
    text[kLetterForms] = 0;
    setItemText(dialogItem(dialog, FontPreview), text);
}

void initFontDialog(WindowHandle dialog, FontSpec* spec) {
    FontDialogState& s = fontDialogState(dialog);
    DcHandle dc = getWindowDc(parentWindow(dialog));
    SetupFullScreenDialog(dialog, ShellDialogFullScreen);
    resetFontList(s.fontList);
    s.editedFontSpec = spec;
    if (spec->FontAsciiBase == 0) spec->FontAsciiBase = LetterBaseUnicode;
    showPreviewText(dialog, spec->FontAsciiBase);
    checkBase(dialog, spec->FontAsciiBase);
    if (!s.fontList.first) enumerateFontFamilies(dc, addFontFace, &s.fontList);
    releaseWindowDc(parentWindow(dialog), dc);
    fillFaceList(dialog, spec->FontName);
    fillSizeList(dialog, spec->FontSize);
    setFocusItem(dialogItem(dialog, FontFaceList));
}

void applyFontChoice(WindowHandle dialog, FontChoice choice) {
    FontDialogState& s = fontDialogState(dialog);
    FontDescription& request = s.previewRequest;
    WindowHandle faces = dialogItem(dialog, FontFaceList);
    int face = listSelection(faces);
    if (face >= 0) {
        std::memset(request.face, 0, sizeof request.face);
        listItemText(faces, face, request.face, 32);
    }
    WindowHandle sizes = dialogItem(dialog, FontSizeList);
    int size = listSelection(sizes);
    if (size >= 0) {
        char16_t text[9] = {};
        listItemText(sizes, size, text, 9);
        int height = 0;
        for (const char16_t* c = text; *c; ++c)
            height = height * 10 + (*c - 48);
        request.height = height;
    }
    deletePreviewFont(s);
    if (choice == FontChoice::ListSelection && request.face[0]) {
        // A face that holds the Hebrew letters puts them at their Unicode places.
        const FontFace* f = findFontFace(s.fontList, request.face);
        if (f && f->charSet == CharSetHebrew && !checked(dialog, FontBase1488)) {
            setButtonCheck(dialogItem(dialog, FontBase224), 0);
            setButtonCheck(dialogItem(dialog, FontBase97), 0);
            setButtonCheck(dialogItem(dialog, FontBase1488), 1);
            showPreviewText(dialog, LetterBaseUnicode);
        }
    }
    if (choice != FontChoice::Ok) {
        s.previewFont = createFont(request);
        if (s.previewFont) setItemFont(dialogItem(dialog, FontPreview), s.previewFont);
        return;
    }
    FontSpec* edited = s.editedFontSpec;
    if (!edited) return;
    if (request.height != 0) edited->FontSize = request.height;
    if (checked(dialog, FontBase224))
        edited->FontAsciiBase = LetterBaseCodePage;
    else if (checked(dialog, FontBase97))
        edited->FontAsciiBase = LetterBaseLatin;
    else if (checked(dialog, FontBase1488))
        edited->FontAsciiBase = LetterBaseUnicode;
    if (request.face[0]) std::memcpy(edited->FontName, request.face, sizeof request.face);
}

void layoutFontDialog(WindowHandle dialog, int width, int height) {
    int c = width - 14, e = height - 14, d = (2 * c) / 3, f = (2 * e) / 3;
    moveWindow(dialogItem(dialog, FontFaceList), 7, 7, d - 7, f - 7, true);
    moveWindow(dialogItem(dialog, FontSizeList), d + 7, 59, c - d, f - 59, true);
    moveWindow(dialogItem(dialog, FontPreview), 7, f, c, e - f, true);
    const int bases[] = {FontBase97, FontBase224, FontBase1488};
    for (int i = 0; i < 3; ++i)
        moveWindow(dialogItem(dialog, bases[i]), d + 7, 7 + 17 * i, c - d, 10, true);
}

intptr_t runFontDialog(WindowHandle owner, FontSpec* spec) {
    FontDialogState s{};
    s.editedFontSpec = spec;
    resetFontList(s.fontList);
    return runDialog(&kChooseFontDialog, owner, &kFontDialogEvents, &s);
}
