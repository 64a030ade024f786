#include "dialogs/choose_section.h"

#include "content/book_constants.h"
#include "content/resource.h"
#include "dialogs/bookmarks.h"
#include "dialogs/dialog_setup.h"
#include "dialogs/outline_list.h"
#include "platform/dialog.h"
#include "platform/memory.h"
#include "resources/dialogs.h"

namespace {
SectionDialogState& state() {
    return appState.sectionDialog;
}

// The client area less the scroll bar along its right edge.
Rect listArea(int width, int height) {
    return Rect{0, 0, width - systemMetric(MetricScrollBarWidth), height};
}

intptr_t onVScroll(WindowHandle dialog, WParam wParam, LParam lParam) {
    OutlineList* list = state().list;
    int step = 0;
    if (list) {
        switch (wParam & 0xFFFF) {
        case ScrollLineUp:
            step = -1;
            break;
        case ScrollLineDown:
        case ScrollBottom:
            step = 1;
            break;
        case ScrollPageUp:
            step = -list->rowsPainted;
            break;
        case ScrollPageDown:
            step = list->rowsPainted;
            break;
        case ScrollThumbPosition:
        case ScrollThumbTrack:
            step = int(int16_t(wParam >> 16)) - list->topRow;
            break;
        case ScrollTop:
            step = -list->topRow;
            break;
        default:
            break;
        }
        if (step) OutlineList_ScrollBy(list, step);
    }
    defWindowProc(dialog, MsgVScroll, wParam, lParam);
    if (step) UpdateSectionScrollBar();
    return 1;
}

void onSize(LParam lParam) {
    int width = int(lParam & 0xFFFF), height = int((lParam >> 16) & 0xFFFF);
    state().listRect = listArea(width, height);
    OutlineList* list = state().list;
    if (!list) return;
    uint16_t* saved = OutlineList_SaveOpenState(list);
    // The outline leaves room for the scroll bar, as it does when it is made.
    OutlineList_Resize(list, state().listRect.right, height);
    OutlineList_RestoreOpenState(list, saved);
    plainFree(saved);
    if (list->maxTopRow == 0) list->topRow = 0;
    OutlineList_Paint(list, 1);
    UpdateSectionScrollBar();
}
} // namespace

void UpdateSectionScrollBar() {
    OutlineList* list = state().list;
    if (!list) {
        setScrollRange(state().dialog, 0, 0, 0, true);
        return;
    }
    setScrollRange(state().dialog, 0, list->maxTopRow, list->topRow, true);
}

void BuildSectionList() {
    SectionDialogState& s = state();
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
    UpdateSectionScrollBar();
}

intptr_t ChooseSectionDialogProc(WindowHandle dialog, uint32_t message, WParam wParam,
                                 LParam lParam) {
    SectionDialogState& s = state();
    switch (message) {
    case MsgInitDialog: {
        s.dialog = dialog;
        s.dc = getWindowDc(dialog);
        Rect client = clientRect(dialog);
        s.listRect = listArea(client.right, client.bottom);
        BuildSectionList();
        SetupFullScreenDialog(dialog, ShellDialogFullScreen);
        return 0;
    }
    case MsgSize:
        onSize(lParam);
        return 0;
    case MsgPaint:
        OutlineList_Paint(s.list, 1);
        return 0;
    case MsgEraseBackground:
        FillWithStockBrush(reinterpret_cast<DcHandle>(wParam), s.listRect.left, s.listRect.top,
                           s.listRect.right - s.listRect.left, s.listRect.bottom - s.listRect.top,
                           WhiteBrush);
        invalidateWindow(dialog, &s.listRect, false);
        return 1;
    case MsgActivate:
        // The desktop has no shell task bar to hide: in full-screen mode the reader's own window
        // already covers the screen.
        return 0;
    case MsgKeyDown:
        switch (wParam) {
        case KeyPageUp:
        case KeyUp:
            OutlineList_ScrollBy(s.list, -1);
            break;
        case KeyPageDown:
        case KeyDown:
            OutlineList_ScrollBy(s.list, 1);
            break;
        default:
            return 1;
        }
        UpdateSectionScrollBar();
        return 0;
    case MsgVScroll:
        return onVScroll(dialog, wParam, lParam);
    case MsgCommand:
        switch (wParam & 0xFFFF) {
        case DialogOk:
            endDialog(dialog, DialogOk);
            return 1;
        case DialogCancel:
            s.chosenLesson = 0;
            endDialog(dialog, DialogCancel);
            return 1;
        default:
            return 0;
        }
    case MsgLButtonDown: {
        int32_t r =
            OutlineList_HitTest(s.list, int16_t(lParam & 0xFFFF), int16_t((lParam >> 16) & 0xFFFF));
        if (r > 0) {
            s.chosenLesson = uint16_t(r);
            endDialog(dialog, DialogOk);
        } else if (r < 0) {
            UpdateSectionScrollBar();
        }
        return 0;
    }
    case MsgDestroy:
        releaseWindowDc(dialog, s.dc);
        OutlineList_Destroy(s.list, 1);
        s.list = nullptr;
        return 0;
    default:
        return 0;
    }
}

uint16_t ChooseSection(InstanceHandle, WindowHandle parent, uint16_t currentLesson,
                       const FontSpec* fontSpec) {
    appState.sectionDialog = SectionDialogState{};
    appState.sectionDialog.chosenLesson = currentLesson;
    appState.sectionDialog.fontSpec = fontSpec;
    runDialog(&kChooseSectionDialog, parent, ChooseSectionDialogProc, 0);
    return appState.sectionDialog.chosenLesson;
}
