// The reader's one global state record: what it stores, and what lives while it runs.
// Everything runs on the main window's thread; no field is guarded, and every subsystem reads
// and writes the fields it needs directly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw.h"
#include "platform/handles.h"
#include "state/history.h"
#include "state/shell_requests.h"

struct TextView;
struct SearchHit;

// The chosen font: face name, height (0 = not chosen yet) and letter base (97, 224 or 1488).
struct FontSpec {
    char16_t FontName[32];
    int32_t FontSize;
    int32_t FontAsciiBase;
};

// Flags: option and state bits, persisted as "Flags".
enum : uint32_t {
    FlagLessonChosen = 0x00000004, // the reader picked the lesson; clear: weekly schedule
    FlagScrollBar = 0x00000040,    // either of these two: the window has a scroll bar
    FlagScrollBarAlt = 0x00000080,
    FlagReverse = 0x00000800,     // converted Hebrew runs drawn reversed, brackets mirrored
    FlagKeyPageStep = 0x00700000, // 3-bit field: 2 or 4 = half page, else page less a line
    FlagTapPageStep = 0x07000000, // the same for tap paging
    FlagTapVertical = 0x10000000, // tap paging splits the text area top/bottom (else left/right)
    FlagTapPaging = 0x80000000,   // tap paging on
    DefaultFlags = 0xD1140040,
};

// The letter bases a font can have: where the 27 Hebrew letter forms are put.
enum : int32_t { LetterBaseLatin = 97, LetterBaseCodePage = 224, LetterBaseUnicode = 1488 };
// A base past the 8-bit code pages puts the letters at their Unicode places.
constexpr bool isUnicodeBase(int32_t base) {
    return base > 256;
}
constexpr int32_t kDefaultLetterBase = LetterBaseUnicode;
// The largest stored FontSize the reader takes (pixels); a larger one reads as not chosen.
constexpr int32_t kMaxFontSize = 200;

// The page's colours: the desktop's preference (light or dark), or one chosen for good.
enum class ColourScheme : uint8_t { FollowDesktop, Light, Dark, Sepia };

// What the reader keeps between runs: the book key's values (read at start, saved at exit)
// and the maker-wide switches (read at start, never written).
struct StoredSettings {
    FontSpec fontSpec;
    uint16_t LastPosition;     // reading position read at start, copied into the view once
    uint32_t Flags;            // FlagLessonChosen ... FlagTapPaging
    uint16_t Lesson;           // current lesson, 1..53
    char searchPattern[34];    // last search text, letter code, zero-terminated
    uint32_t ExactLetters;     // 1: search matches the letters exactly; 0: forgiving matching
    uint16_t PreviousLesson;   // return point: lesson of the last followed link; 0 = none
    uint16_t PreviousPosition; // return point: position at the last lesson change
    uint16_t bookmarkCount;
    uint16_t* bookmarks; // lesson numbers ending in 0, owned; null when empty
    History history;     // the places jumped between, for Back and Forward
    // The size the Choose Font dialog set while a zoom has changed FontSize; 0: no zoom since.
    int32_t chosenFontSize;
    ColourScheme colourScheme;
    bool statusLine; // the status line at the foot of the window
    // Maker-wide switches.
    int32_t MenuBarOnBottom;   // non-zero: bar at the bottom; 0: command bar at the top
    int32_t SurroundingGutter; // pixels around the text area
    int32_t FullScreen;        // non-zero: the window and full-screen dialogs fill the screen
    int32_t IgnoreActivate;    // non-zero: activation leaves the full-screen state alone
    int32_t AllowSipInHebrewSearch = 1; // non-zero: the search dialog raises the input panel
};

// The shared letter-conversion buffer and the letter base of the next conversion through it.
struct LetterConversion {
    char16_t* convBuffer;                   // grows, never shrinks; owned
    int convCapacity;                       // units, terminator not counted
    int activeLetterBase = LetterBaseLatin; // 97 at rest; set just before converting a run
    int otherBase = -1;                     // the base otherMap was made for (-1: none)
    char16_t otherMap[256];                 // letterMap of a base other than 97, 224, 1488
};

// The save at exit gathers the book key's values here and hands them to the registry in one
// write, so that a stop half-way leaves the old file or the new one, never a mix.
struct PendingValue {
    std::u16string name;
    uint32_t type;
    std::vector<uint8_t> bytes;
};
struct GatheredWrite {
    bool gathering; // between beginGatheredWrite and endGatheredWrite
    std::vector<PendingValue> values;
};

// What lives only while the reader runs: its windows, view, fonts and working buffers.
struct ReaderSession {
    InstanceHandle instance;
    TextView* view;    // the reading view, or null
    int32_t barHeight; // pixels
    WindowHandle barWindow;
    WindowHandle mainWindow;
    BitmapHandle outlineIcons[3]; // bitmaps 201 (closed heading), 202 (open), 203 (entry)
    uint16_t skipRemoveConfirm;   // bit 0: do not ask before removing a bookmark (this run only)
    int32_t todayLaunch;          // 1 when started with "/today"
    FontHandle searchBoxFont;     // the search box's font while the search dialog is open, owned
    FontHandle aboutLinkFont;     // the About dialog's underlined link font while it is open, owned
    int32_t dialogUnitX;          // the platform's dialog base units, read when it opens
    int32_t dialogUnitY;
    // Find All's list: the hits it was made of (owned, plainFree), for which pattern and
    // matching, and the row chosen last, so that the list opens again where it was left.
    SearchHit* foundHits;
    int foundHitCount;
    int foundHitRow;
    char foundPattern[34];
    uint32_t foundExact;
    LetterConversion letterConversion;
    bool desktopDark; // the desktop prefers dark colours (read at start and on its changes)
    // The settings as they were read: until settingsLoaded a stop must not write any; a stored
    // FontSize or Lesson out of its range is taken out at the save.
    bool settingsLoaded, badFontSize, badLesson;
    // The windowed start: the program's arguments for the display (null: none), and the code
    // the run ends with when it stops before its loop.
    int* graphicsArgc;
    char** graphicsArgv;
    int exitCode;
    GatheredWrite gatheredWrite;
};

// The reader's whole state: what it stores, what lives while it runs, and what the lower
// subsystems ask of the shell (filled once by the shell, kept by resetAppState).
struct AppState : StoredSettings, ReaderSession {
    ShellRequests shell;
};

// The one instance. Cleared at the very start of the program (resetAppState).
extern AppState appState;
// Clears the record as a start finds it, releasing the conversion buffer it owns.
void resetAppState();
// 1 when the current lesson is in the bookmark list, else 0.
int isBookmarked();

// Allocator for working buffers whose loss is fatal. bytes: size of the block. Returns the
// block (owned by the caller, released with plainFree), or null after telling the user that
// memory ran out, saving the settings and posting the quit request; the caller then abandons
// its operation.
void* checkedAlloc(size_t bytes);

// The fatal out-of-memory stop that checkedAlloc makes: "There is not enough memory, aborting"
// (caption "Error"), the settings saved, the quit request posted.
void outOfMemory();
