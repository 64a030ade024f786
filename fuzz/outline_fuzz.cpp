// Arbitrary section indexes and "Bookmarks" values: the bookmark group joined in front of the
// index, then the outline built, painted, tapped, opened and closed, and laid out again at
// several widths on the recording surface. Every operation must stay inside its buffers and end.
//
// Input: one byte of options (font size, letter base), one byte k, 2k bytes of a stored
// bookmark list, and the index's bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "content/resource.h"
#include "dialogs/bookmarks.h"
#include "dialogs/outline_list.h"
#include "platform/memory.h"
#include "platform/recording/recording_dc.h"
#include "state/state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 8192) return 0;
    static DcHandle dc = createRecordingDc();
    resetAppState();
    FontSpec font{};
    font.FontSize = data[0] % 40;
    font.FontAsciiBase = data[0] & 0x80 ? 224 : 1488;
    size_t stored = std::min(size - 2, size_t(data[1]) * 2);
    takeStoredBookmarks(data + 2, uint32_t(stored));
    const uint8_t* records = data + 2 + stored;
    size_t length = size - 2 - stored;
    for (int width : {1, 13, 40, 240}) {
        auto* index = static_cast<uint8_t*>(plainAlloc(length + kExpandPadding));
        std::memcpy(index, records, length);
        std::memset(index + length, 0, kExpandPadding);
        index = withBookmarkGroup(index);
        Rect area{2, 3, 2 + width, 3 + 120};
        OutlineList* list = OutlineList_Create(dc, &area, &font, width % 3 ? 100 : 0);
        OutlineList_Build(list, index, 0);
        if (list->indexText != index) plainFree(index);
        for (int lesson : {1, 40, int(size % 16384)})
            OutlineList_RevealLesson(list, lesson);
        for (int top : {0, 2, 1000}) {
            list->topRow = uint16_t(top);
            OutlineList_Paint(list, 1);
            for (int y : {3, 20, 60, 123})
                OutlineList_HitTest(list, 2 + width - 5, y);
        }
        for (int row = 0; row < list->rowCount && row < 8; ++row)
            OutlineList_Toggle(list, row);
        uint16_t* saved = OutlineList_SaveOpenState(list);
        OutlineList_Resize(list, width / 2 + 1, 60);
        OutlineList_RestoreOpenState(list, saved);
        plainFree(saved);
        OutlineList_ScrollBy(list, 3);
        OutlineList_ScrollBy(list, -100);
        clearRecordedOps(dc);
        OutlineList_Destroy(list, 1);
    }
    freeBookmarks();
    return 0;
}
