#include "dialogs/choose_font.h"

#include <cstdio>
#include <cstring>

#include "dialogs/dialog_setup.h"
#include "dialogs/font_list.h"
#include "platform/dialog.h"
#include "resources/dialogs.h"
#include "view/letters.h"

FontDescription previewRequest;
FontHandle previewFont = nullptr;
char16_t previewText[28];
FontSpec* editedFontSpec = nullptr;

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
    for (const FontFace* f = fontList.first; f; f = f->next)
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
} // namespace

void showPreviewText(WindowHandle dialog, int base) {
    for (int i = 0; i < kLetterForms; ++i)
        previewText[i] = char16_t(base + kLetterForms - 1 - i);
    previewText[kLetterForms] = 0;
    setItemText(dialogItem(dialog, FontPreview), previewText);
}

void initFontDialog(WindowHandle dialog, FontSpec* spec) {
    DcHandle dc = getWindowDc(parentWindow(dialog));
    SetupFullScreenDialog(dialog, ShellDialogFullScreen);
    resetFontList();
    editedFontSpec = spec;
    if (spec->FontAsciiBase == 0) spec->FontAsciiBase = LetterBaseUnicode;
    showPreviewText(dialog, spec->FontAsciiBase);
    checkBase(dialog, spec->FontAsciiBase);
    if (!fontList.first) enumerateFontFamilies(dc, addFontFace, nullptr);
    releaseWindowDc(parentWindow(dialog), dc);
    fillFaceList(dialog, spec->FontName);
    fillSizeList(dialog, spec->FontSize);
    setFocusItem(dialogItem(dialog, FontFaceList));
}

void applyFontChoice(WindowHandle dialog, int mode) {
    WindowHandle faces = dialogItem(dialog, FontFaceList);
    int face = listSelection(faces);
    if (face >= 0) {
        std::memset(previewRequest.face, 0, sizeof previewRequest.face);
        listItemText(faces, face, previewRequest.face, 32);
    }
    WindowHandle sizes = dialogItem(dialog, FontSizeList);
    int size = listSelection(sizes);
    if (size >= 0) {
        char16_t text[9] = {};
        listItemText(sizes, size, text, 9);
        int height = 0;
        for (const char16_t* c = text; *c; ++c)
            height = height * 10 + (*c - 48);
        previewRequest.height = height;
    }
    if (previewFont) {
        deleteFont(previewFont);
        previewFont = nullptr;
    }
    if (mode == 2 && previewRequest.face[0]) {
        // A face that holds the Hebrew letters puts them at their Unicode places.
        const FontFace* f = findFontFace(previewRequest.face);
        if (f && f->charSet == CharSetHebrew && !checked(dialog, FontBase1488)) {
            setButtonCheck(dialogItem(dialog, FontBase224), 0);
            setButtonCheck(dialogItem(dialog, FontBase97), 0);
            setButtonCheck(dialogItem(dialog, FontBase1488), 1);
            showPreviewText(dialog, LetterBaseUnicode);
        }
    }
    if (mode == 0 || mode == 2) {
        previewFont = createFont(previewRequest);
        if (previewFont)
            sendMessage(dialogItem(dialog, FontPreview), MsgSetFont,
                        reinterpret_cast<WParam>(previewFont), 1);
        return;
    }
    if (mode != 1 || !editedFontSpec) return;
    if (previewRequest.height != 0) editedFontSpec->FontSize = previewRequest.height;
    if (checked(dialog, FontBase224))
        editedFontSpec->FontAsciiBase = LetterBaseCodePage;
    else if (checked(dialog, FontBase97))
        editedFontSpec->FontAsciiBase = LetterBaseLatin;
    else if (checked(dialog, FontBase1488))
        editedFontSpec->FontAsciiBase = LetterBaseUnicode;
    if (previewRequest.face[0])
        std::memcpy(editedFontSpec->FontName, previewRequest.face, sizeof previewRequest.face);
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

intptr_t fontDialogProc(WindowHandle dialog, uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case MsgInitDialog:
        initFontDialog(dialog, reinterpret_cast<FontSpec*>(lParam));
        return 0;
    case MsgCommand:
        switch (int(wParam & 0xFFFF)) {
        case DialogOk:
            applyFontChoice(dialog, 1);
            freeFontList();
            endDialog(dialog, DialogOk);
            return 1;
        case DialogCancel:
            freeFontList();
            endDialog(dialog, DialogCancel);
            return 1;
        case FontFaceList:
        case FontSizeList:
            applyFontChoice(dialog, 2);
            return 0;
        case FontBase97:
        case FontBase224:
        case FontBase1488: {
            int id = int(wParam & 0xFFFF);
            showPreviewText(dialog, id == FontBase97    ? LetterBaseLatin
                                    : id == FontBase224 ? LetterBaseCodePage
                                                        : LetterBaseUnicode);
            applyFontChoice(dialog, 0);
            return 0;
        }
        default:
            return 0;
        }
    case MsgSize:
        layoutFontDialog(dialog, int(lParam & 0xFFFF), int((lParam >> 16) & 0xFFFF));
        return 0;
    case MsgActivate:
        // The desktop has no shell task bar to hide.
        return 0;
    case MsgDestroy:
        if (previewFont) {
            deleteFont(previewFont);
            previewFont = nullptr;
        }
        // A dialog ended without OK or Cancel (the reader stopping) leaves no blocks behind.
        freeFontList();
        return 1;
    default:
        return 0;
    }
}

intptr_t runFontDialog(WindowHandle owner, FontSpec* spec) {
    previewRequest = FontDescription{};
    return runDialog(&kChooseFontDialog, owner, fontDialogProc, reinterpret_cast<LParam>(spec));
}
