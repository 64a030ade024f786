// The Find All list: every hit of the stored search text, one row each, in the book's order.
#include <cstring>
#include <iterator>

#include "content/resource.h"
#include "dialogs/hit_context.h"
#include "dialogs/search.h"
#include "dialogs/search_dialog.h"
#include "platform/dialog.h"
#include "platform/memory.h"
#include "state/state.h"

namespace {
// A row: the lesson's title, a dash, the text around the hit.
constexpr int kRowUnits = 96 + 4 * kContextBytes;

void fillList(WindowHandle list) {
    listReset(list);
    uint8_t* text = nullptr;
    int lesson = 0;
    char16_t title[96] = {};
    for (int i = 0; i < appState.foundHitCount; ++i) {
        const SearchHit& hit = appState.foundHits[i];
        if (hit.lesson != lesson) {
            plainFree(text);
            lesson = hit.lesson;
            text = LoadBookResource(lesson, nullptr);
            if (lessonTitle(text, title, int(std::size(title))) < 0) title[0] = 0;
        }
        char16_t row[kRowUnits];
        int n = 0;
        for (const char16_t* t = title; *t && n < kRowUnits - 4; ++t)
            row[n++] = *t;
        for (const char16_t* t = u" \u2014 "; *t; ++t)
            row[n++] = *t;
        if (hitContext(text, hit, row + n, kRowUnits - n) < 0) row[n] = 0;
        listAddString(list, row);
    }
    plainFree(text);
}

void showRow(WindowHandle list) {
    int row = listSelection(list);
    if (row < 0 || row >= appState.foundHitCount) return;
    appState.foundHitRow = row;
    ShowSearchHit(appState.mainWindow, appState.foundHits[row]);
}

void initList(WindowHandle dialog) {
    WindowHandle list = dialogItem(dialog, FindAllListId);
    fillList(list);
    int row = appState.foundHitRow < appState.foundHitCount ? appState.foundHitRow : 0;
    listSetSelection(list, row);
    setFocusItem(list);
}

void onItemCommand(WindowHandle dialog, int item, ItemNotification notification) {
    WindowHandle list = dialogItem(dialog, FindAllListId);
    if (item == FindAllListId && notification == ItemNotification::SelectionChanged) {
        showRow(list);
    } else if ((item == FindAllListId && notification == ItemNotification::DoubleClicked) ||
               item == DialogOk) {
        showRow(list);
        endDialog(dialog, DialogOk);
    } else if (item == DialogCancel) {
        endDialog(dialog, DialogCancel);
    }
}

const WindowEvents kFindAllEvents = {
    .created = initList,
    .itemCommand = onItemCommand,
};
} // namespace

int updateFoundHits() {
    bool same = appState.foundHits &&
                std::strcmp(appState.foundPattern, appState.searchPattern) == 0 &&
                appState.foundExact == appState.ExactLetters;
    if (same) return appState.foundHitCount;
    plainFree(appState.foundHits);
    appState.foundHits = nullptr;
    appState.foundHitCount = 0;
    appState.foundHitRow = 0;
    SearchHit* hits = nullptr;
    int count = FindAllHits(&hits);
    if (count < 0) return -1;
    appState.foundHits = hits;
    appState.foundHitCount = count;
    std::memcpy(appState.foundPattern, appState.searchPattern, sizeof appState.foundPattern);
    appState.foundExact = appState.ExactLetters;
    return count;
}

intptr_t runFindAllDialog(WindowHandle owner) {
    if (appState.foundHitCount == 0) return DialogCancel;
    return runDialog(&kFindAllDialog, owner, &kFindAllEvents, nullptr);
}
