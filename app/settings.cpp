#include "app/settings.h"

#include <cstdio>

#include "content/book_constants.h"
#include "dialogs/bookmarks.h"
#include "platform/bitmaps.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "platform/quit.h"
#include "platform/registry.h"
#include "state/book_key.h"
#include "state/state.h"
#include "view/text_view.h"

// Until loadSettings has read every value a stop must not write any (settingsLoaded). Stored
// values found out of their range at start read as their default, and a default that the save
// would not write (FontSize 0, Lesson 0) takes the bad value out instead (badFontSize,
// badLesson).

namespace {
// The values of the reading comforts: each is written only once it is used, and a damaged one
// reads as its default (an empty history, the chosen size, the desktop's colours, no status
// line).
void loadComforts() {
    appState.history = History{};
    if (char16_t* stored = readBookString(u"History")) {
        char text[kHistoryCapacity * 12 + 1];
        int n = 0;
        while (stored[n] && n < int(sizeof text) - 1 && stored[n] < 0x80) {
            text[n] = char(stored[n]);
            ++n;
        }
        text[n] = 0;
        // A value cut short or holding other characters is no history.
        if (stored[n] == 0) parseHistory(text, kLessonCount, &appState.history);
        plainFree(stored);
    }
    appState.chosenFontSize = readBookNumberIn(u"ChosenFontSize", 1, kMaxFontSize, 0);
    appState.colourScheme = ColourScheme(readBookNumberIn(u"Colours", 0, 3, 0));
    appState.statusLine = readBookNumberIn(u"StatusLine", 0, 1, 0) == 1;
}

void saveComforts() {
    History& h = appState.history;
    // Scrolling moves the place being read: the current entry keeps where the reader stopped.
    if (h.count > 0 && appState.view && h.places[h.current].lesson == appState.Lesson)
        h.places[h.current].position = appState.view->topLine;
    char text[kHistoryCapacity * 12 + 1];
    if (formatHistory(h, text, int(sizeof text)) > 0) {
        char16_t wide[sizeof text];
        int n = 0;
        for (; text[n]; ++n)
            wide[n] = char16_t(text[n]);
        wide[n] = 0;
        writeBookString(u"History", wide);
    } else {
        removeBookValue(u"History");
    }
    auto keepOrRemove = [](const char16_t* name, int32_t value) {
        if (value)
            writeBookNumber(name, value);
        else
            removeBookValue(name);
    };
    keepOrRemove(u"ChosenFontSize", appState.chosenFontSize);
    keepOrRemove(u"Colours", int32_t(appState.colourScheme));
    keepOrRemove(u"StatusLine", appState.statusLine ? 1 : 0);
}
} // namespace

void loadSettings() {
    appState.settingsLoaded = false;
    bool quitBefore = quitRequested();
    // A settings file that is not a regular file (a pipe, a device) is neither read nor
    // written: the reader starts with the defaults and says why.
    if (const char* problem = registryKeyProblem(kCurrentUser, kBookKey))
        std::fprintf(stderr, "versewell: %s; starting with the defaults\n", problem);
    char16_t path[260];
    if (programPath(path, 260) > 0) writeBookString(u"Program Path", path);
    if (char16_t* name = readBookString(u"FontName")) {
        if (name[0]) {
            size_t n = 0;
            while (n < 31 && name[n]) {
                appState.fontSpec.FontName[n] = name[n];
                ++n;
            }
            appState.fontSpec.FontName[n] = 0;
        }
        plainFree(name);
    }
    readBookText8(u"SearchString", appState.searchPattern, int(sizeof appState.searchPattern));
    // Anything but 1 is the forgiving search, the default.
    appState.ExactLetters = uint32_t(readBookNumberIn(u"ExactLetters", 0, 1, 0));
    // A value outside what the reader can use reads as missing: a damaged file must not leave
    // a reader that cannot show a lesson and cannot be repaired from inside.
    appState.fontSpec.FontSize =
        readBookNumberIn(u"FontSize", 0, kMaxFontSize, 0, &appState.badFontSize);
    int32_t base = readBookNumber(u"FontAsciiBase", kDefaultLetterBase);
    appState.fontSpec.FontAsciiBase =
        base == 97 || base == 224 || base == 1488 ? base : kDefaultLetterBase;
    appState.LastPosition = uint16_t(readBookNumber(u"LastPosition", 0));
    appState.Flags = uint32_t(readBookNumber(u"Flags", int32_t(DefaultFlags)));
    appState.PreviousLesson = uint16_t(readBookNumberIn(u"PreviousLesson", 0, kLessonCount, 0));
    appState.PreviousPosition = uint16_t(readBookNumber(u"PreviousPosition", 0));
    appState.Lesson =
        uint16_t(readBookNumberIn(u"Lesson", 1, kLessonCount, 0, &appState.badLesson));
    loadComforts();
    // Without a lesson of its own the reader follows the weekly schedule.
    if (appState.Lesson == 0) appState.Flags &= ~uint32_t(FlagLessonChosen);
    // Memory ran out on the way (checkedAlloc has saved nothing and asked to quit): the start
    // is abandoned, and nothing more is taken that nobody would release.
    if (quitRequested() && !quitBefore) return;
    for (int i = 0; i < 3; ++i)
        appState.outlineIcons[i] = loadBitmap(201 + i);
    loadBookmarks();
    appState.settingsLoaded = !quitRequested();
}

void saveSettingsAndQuit() {
    for (BitmapHandle& icon : appState.outlineIcons) {
        deleteBitmap(icon);
        icon = nullptr;
    }
    if (appState.settingsLoaded) {
        beginGatheredWrite();
        if (appState.searchPattern[0]) writeBookBytes(u"SearchString", appState.searchPattern);
        // Stored only when chosen, so that a reader that never chose it writes what it did.
        if (appState.ExactLetters) {
            writeBookNumber(u"ExactLetters", 1);
        } else {
            removeBookValue(u"ExactLetters");
        }
        if (appState.fontSpec.FontName[0]) writeBookString(u"FontName", appState.fontSpec.FontName);
        if (appState.fontSpec.FontSize) {
            writeBookNumber(u"FontSize", appState.fontSpec.FontSize);
        } else if (appState.badFontSize) {
            removeBookValue(u"FontSize");
        }
        if (appState.fontSpec.FontAsciiBase)
            writeBookNumber(u"FontAsciiBase", appState.fontSpec.FontAsciiBase);
        if (appState.view) writeBookNumber(u"LastPosition", appState.view->topLine);
        saveComforts();
        writeBookNumber(u"Flags", int32_t(appState.Flags));
        writeBookNumber(u"PreviousLesson", appState.PreviousLesson);
        writeBookNumber(u"PreviousPosition", appState.PreviousPosition);
        if (appState.Lesson) {
            writeBookNumber(u"Lesson", appState.Lesson);
        } else if (appState.badLesson) {
            removeBookValue(u"Lesson");
        }
    }
    if (appState.view) {
        TextView_Destroy(appState.view);
        appState.view = nullptr;
    }
    if (appState.settingsLoaded) {
        saveBookmarks();
        endGatheredWrite();
    }
    freeBookmarks();
    appState.settingsLoaded = false;
    postQuitMessage(0);
}
