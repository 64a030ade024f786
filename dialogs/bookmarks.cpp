#include "dialogs/bookmarks.h"

#include <vector>

#include "content/book_constants.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "state/book_key.h"
#include "state/state.h"

void loadBookmarks() {
    freeBookmarks();
    uint32_t length = 0;
    uint8_t* stored = readBookBlob(u"Bookmarks", nullptr, &length);
    if (!stored) return;
    takeStoredBookmarks(stored, length);
    plainFree(stored);
}

void takeStoredBookmarks(const uint8_t* stored, uint32_t length) {
    freeBookmarks();
    uint32_t words = length / 2;
    // Bookmarks name lessons: each lesson is kept once, in the stored order, and a number that
    // names none is dropped, so a damaged list cannot grow the index's group without end.
    auto* list = static_cast<uint16_t*>(plainAlloc((kLessonCount + 1) * sizeof(uint16_t)));
    if (!list) return;
    bool kept[kLessonCount + 1] = {};
    uint16_t count = 0;
    for (uint32_t i = 0; i < words; ++i) {
        uint16_t lesson = uint16_t(stored[2 * i] | stored[2 * i + 1] << 8);
        if (lesson == 0) break;
        if (lesson > kLessonCount || kept[lesson]) continue;
        kept[lesson] = true;
        list[count++] = lesson;
    }
    list[count] = 0;
    appState.bookmarks = list;
    appState.bookmarkCount = count;
}

void saveBookmarks() {
    uint16_t count = appState.bookmarks ? appState.bookmarkCount : 0;
    std::vector<uint8_t> bytes(size_t(count + 1) * 2, 0);
    for (uint16_t i = 0; i < count; ++i) {
        bytes[2 * i] = uint8_t(appState.bookmarks[i]);
        bytes[2 * i + 1] = uint8_t(appState.bookmarks[i] >> 8);
    }
    writeBookBlob(u"Bookmarks", bytes.data(), uint32_t(bytes.size()));
}

void freeBookmarks() {
    plainFree(appState.bookmarks);
    appState.bookmarks = nullptr;
    appState.bookmarkCount = 0;
}

void toggleBookmark(int marked) {
    if (marked == 0) {
        addBookmark();
        return;
    }
    if (!(appState.skipRemoveConfirm & 1)) {
        int answer =
            showMessageBox(appState.mainWindow, u"Remove Bookmark?\n\nCancel - Don't ask again",
                           u"Bookmark", MessageBoxYesNoCancel);
        if (answer == AnswerNo) return;
        if (answer == AnswerCancel) appState.skipRemoveConfirm |= 1;
    }
    removeBookmark();
}

int addBookmark() {
    if (isBookmarked()) return appState.bookmarkCount;
    uint16_t count = appState.bookmarks ? appState.bookmarkCount : 0;
    auto* grown = static_cast<uint16_t*>(plainAlloc((size_t(count) + 2) * sizeof(uint16_t)));
    if (!grown) return 0;
    for (uint16_t i = 0; i < count; ++i)
        grown[i] = appState.bookmarks[i];
    plainFree(appState.bookmarks);
    grown[count] = appState.Lesson;
    grown[count + 1] = 0;
    appState.bookmarks = grown;
    appState.bookmarkCount = uint16_t(count + 1);
    return appState.bookmarkCount;
}

void removeBookmark() {
    if (!appState.bookmarks) return;
    uint16_t* kept = appState.bookmarks;
    for (const uint16_t* p = appState.bookmarks; *p; ++p) {
        if (*p == appState.Lesson) {
            --appState.bookmarkCount;
        } else {
            *kept++ = *p;
        }
    }
    *kept = 0;
}
