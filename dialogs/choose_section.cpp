#include "dialogs/choose_section.h"

#include "content/book_constants.h"
#include "content/resource.h"
#include "dialogs/bookmarks.h"
#include "dialogs/dialog_setup.h"
#include "dialogs/outline_list.h"
#include "platform/dialog.h"
#include "platform/memory.h"
#include "resources/dialogs.h"
#include "view/page_colours.h"

namespace {
// The client area less the scroll bar along its right edge.
Rect listArea(int width, int height) {
    return Rect{0, 0, width - systemMetric(Metric::ScrollBarWidth), height};
}

void onScroll(WindowHandle dialog, ScrollRequest request, int position) {
    SectionDialogState& s = sectionState(dialog);
    OutlineList* list = s.list;
    if (!list) return;
    int step = scrollDelta(request, position, list->topRow, list->rowsPainted);
    if (!step) return;
    OutlineList_ScrollBy(list, step);
    UpdateSectionScrollBar(s);
}

void onSize(WindowHandle dialog, int width, int height) {
    SectionDialogState& s = sectionState(dialog);
    s.listRect = listArea(width, height);
    OutlineList* list = s.list;
    if (!list) return;
    uint16_t* saved = OutlineList_SaveOpenState(list);
    // The outline leaves room for the scroll bar, as it does when it is made.
    OutlineList_Resize(list, s.listRect.right, height);
    OutlineList_RestoreOpenState(list, saved);
    plainFree(saved);
    if (list->maxTopRow == 0) list->topRow = 0;
    OutlineList_Paint(list, 1);
    UpdateSectionScrollBar(s);
}

void onCreated(WindowHandle dialog) {
    SectionDialogState& s = sectionState(dialog);
    s.dialog = dialog;
    s.dc = getWindowDc(dialog);
    Rect client = clientRect(dialog);
    s.listRect = listArea(client.right, client.bottom);
    BuildSectionList(s);
    SetupFullScreenDialog(dialog, ShellDialogFullScreen);
}

void onPaint(WindowHandle dialog) {
    OutlineList_Paint(sectionState(dialog).list, 1);
}

bool onEraseBackground(WindowHandle dialog, DcHandle dc) {
    const Rect& r = sectionState(dialog).listRect;
    fillPaper(dc, r.left, r.top, r.right - r.left, r.bottom - r.top);
    invalidateWindow(dialog, &r, false);
    return true;
}

bool onKey(WindowHandle dialog, Key key, KeyModifiers) {
    SectionDialogState& s = sectionState(dialog);
    switch (key) {
    case Key::PageUp:
    case Key::Up:
        OutlineList_ScrollBy(s.list, -1);
        break;
    case Key::PageDown:
    case Key::Down:
        OutlineList_ScrollBy(s.list, 1);
        break;
    default:
        return false;
    }
    UpdateSectionScrollBar(s);
    return true;
}

void onItemCommand(WindowHandle dialog, int item, ItemNotification) {
    SectionDialogState& s = sectionState(dialog);
    if (item == DialogCancel) s.chosenLesson = 0;
    if (item == DialogOk || item == DialogCancel) endDialog(dialog, item);
}

void onTap(WindowHandle dialog, Point at) {
    SectionDialogState& s = sectionState(dialog);
    int32_t r = OutlineList_HitTest(s.list, at.x, at.y);
    if (r > 0) {
        s.chosenLesson = uint16_t(r);
        endDialog(dialog, DialogOk);
    } else if (r < 0) {
        UpdateSectionScrollBar(s);
    }
}

void onDestroyed(WindowHandle dialog) {
    SectionDialogState& s = sectionState(dialog);
    releaseWindowDc(dialog, s.dc);
    OutlineList_Destroy(s.list, 1);
    s.list = nullptr;
}
} // namespace

// The desktop has no shell task bar to hide when the dialog is activated: in full-screen mode
// the reader's own window already covers the screen.
const WindowEvents kChooseSectionEvents = {
    .created = onCreated,
    .destroyed = onDestroyed,
    .size = onSize,
    .paint = onPaint,
    .eraseBackground = onEraseBackground,
    .key = onKey,
    .tap = onTap,
    .scroll = onScroll,
    .itemCommand = onItemCommand,
};

SectionDialogState& sectionState(WindowHandle dialog) {
    return *static_cast<SectionDialogState*>(dialogState(dialog));
}

void UpdateSectionScrollBar(const SectionDialogState& s) {
    OutlineList* list = s.list;
    if (!list) {
        setScrollRange(s.dialog, 0, 0, 0, true);
        return;
    }
    setScrollRange(s.dialog, 0, list->maxTopRow, list->topRow, true);
}

void BuildSectionList(SectionDialogState& s) {
    uint8_t* indexText = withBookmarkGroup(LoadBookResource(kIndexBookNumber, nullptr));
    s.list = OutlineList_Create(s.dc, &s.listRect, s.fontSpec, 100);
    if (!s.list) {
        plainFree(indexText);
        return;
    }
    OutlineList_Build(s.list, indexText, 0);
    // An index the list did not take (empty, malformed, no memory) is freed here.
    if (s.list->indexText != indexText) plainFree(indexText);
    OutlineList_RevealLesson(s.list, s.chosenLesson);
    UpdateSectionScrollBar(s);
}

uint16_t ChooseSection(InstanceHandle, WindowHandle parent, uint16_t currentLesson,
                       const FontSpec* fontSpec) {
    SectionDialogState s{};
    s.chosenLesson = currentLesson;
    s.fontSpec = fontSpec;
    runDialog(&kChooseSectionDialog, parent, &kChooseSectionEvents, &s);
    return s.chosenLesson;
}
