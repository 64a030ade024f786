#include "app/zoom.h"

#include "dialogs/choose_font.h"
#include "state/state.h"
#include "view/reader_window.h"
#include "view/status_line.h"
#include "view/text_view.h"

int32_t zoomedSize(int32_t size, int steps) {
    constexpr int count = int(sizeof kFontSizes / sizeof kFontSizes[0]);
    int32_t result = size;
    for (; steps > 0; --steps) {
        int i = 0;
        while (i < count && kFontSizes[i] <= result)
            ++i;
        if (i == count) break;
        result = kFontSizes[i];
    }
    for (; steps < 0; ++steps) {
        int i = count - 1;
        while (i >= 0 && kFontSizes[i] >= result)
            --i;
        if (i < 0) break;
        result = kFontSizes[i];
    }
    return result;
}

int setZoomSize(WindowHandle window, int32_t size) {
    TextView* view = appState.view;
    int32_t old = appState.fontSpec.FontSize;
    if (!view || old == 0 || size == old || size <= 0) return 1;
    if (appState.chosenFontSize == 0) appState.chosenFontSize = old;
    if (appState.chosenFontSize == size) appState.chosenFontSize = 0;
    int top = TextView_TopOffset(view);
    int statusBefore = statusLineHeight(view);
    appState.fontSpec.FontSize = size;
    int result = TextView_SetFont(view, &appState.fontSpec);
    // The status line's type grows with the text's: the text area gives it the room.
    int statusAfter = statusLineHeight(view);
    if (result != 1 && statusAfter != statusBefore)
        result = TextView_Resize(view, view->area.width,
                                 view->area.height + statusBefore - statusAfter) == 0
                     ? 0
                     : 1;
    if (result == 1) {
        outOfMemory();
        return 0;
    }
    if (top >= 0) TextView_ShowLineOf(view, top);
    repaintView(window, RepaintAll);
    return 0;
}

int zoomBy(WindowHandle window, int steps) {
    return setZoomSize(window, zoomedSize(appState.fontSpec.FontSize, steps));
}

int zoomReset(WindowHandle window) {
    if (appState.chosenFontSize == 0) return 1;
    return setZoomSize(window, appState.chosenFontSize);
}
