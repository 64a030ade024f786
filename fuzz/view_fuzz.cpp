// Arbitrary lesson bytes laid out and painted on the recording surface at several widths:
// every operation must stay inside its buffers and end.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "content/resource.h"
#include "platform/memory.h"
#include "platform/recording/recording_dc.h"
#include "state/state.h"
#include "view/text_view.h"
#include "view/title_banner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 8192) return 0;
    static DcHandle dc = createRecordingDc();
    resetAppState();
    appState.fontSpec.FontSize = 1 + data[0] % 40;
    appState.fontSpec.FontAsciiBase = data[0] & 0x80 ? 224 : 1488;
    if (data[0] & 0x40) appState.Flags |= FlagReverse;
    for (int width : {1, 7, 40, 240}) {
        auto* text = static_cast<uint8_t*>(plainAlloc(size - 1 + kExpandPadding));
        std::memcpy(text, data + 1, size - 1);
        std::memset(text + size - 1, 0, kExpandPadding);
        Rect area{3, 5, 3 + width, 5 + 100};
        TextView* view = TextView_Create(dc, &area, &appState.fontSpec, 100);
        if (TextView_SetText(view, text, 0) != 0) plainFree(text);
        view->viewFlags = ReturnLinkShown;
        view->highlightStart = uint16_t(size / 3);
        view->highlightEnd = uint16_t(size / 2);
        for (int top : {0, 1, 3, 1000}) {
            view->topLine = uint16_t(top);
            TextView_Paint(view, 1);
            TextView_HitTestLink(view, 10, 20);
        }
        TextView_ScrollBy(view, 7, 1, 1);
        TextView_ShowOffset(view, int(size / 2));
        TextView_Resize(view, width + 13, 50);
        DrawTitleBanner(view);
        clearRecordedOps(dc);
        TextView_Destroy(view);
    }
    return 0;
}
