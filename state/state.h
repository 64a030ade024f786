// The reader's one global state record. Everything runs on the main window's thread; no field
// is guarded, and every subsystem reads and writes the fields it needs directly.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/draw.h"
#include "platform/handles.h"

struct TextView;

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

constexpr int32_t kDefaultLetterBase = 1488;
// The largest stored FontSize the reader takes (pixels); a larger one reads as not chosen.
constexpr int32_t kMaxFontSize = 200;

struct AppState {
    InstanceHandle instance;
    FontSpec fontSpec;
    uint16_t LastPosition; // reading position read at start, copied into the view once
    uint32_t Flags;
    uint16_t Lesson;           // current lesson, 1..53
    char searchPattern[34];    // last search text, letter code, zero-terminated
    TextView* view;            // the reading view, or null
    int32_t MenuBarOnBottom;   // non-zero: bar at the bottom; 0: command bar at the top
    int32_t barHeight;         // pixels
    int32_t SurroundingGutter; // pixels around the text area
    WindowHandle barWindow;
    WindowHandle mainWindow;
    BitmapHandle outlineIcons[3]; // bitmaps 201 (closed heading), 202 (open), 203 (entry)
    uint16_t PreviousLesson;      // return point: lesson of the last followed link; 0 = none
    uint16_t PreviousPosition;    // return point: position at the last lesson change
    uint16_t bookmarkCount;
    uint16_t* bookmarks;        // lesson numbers ending in 0, owned; null when empty
    uint16_t skipRemoveConfirm; // bit 0: do not ask before removing a bookmark (this run only)
    int32_t todayLaunch;        // 1 when started with "/today"
    FontHandle searchBoxFont;   // the search box's font while the search dialog is open, owned
    FontHandle aboutLinkFont;   // the About dialog's underlined link font while it is open, owned
    int32_t dialogUnitX;        // the platform's dialog base units, read when it opens
    int32_t dialogUnitY;
    // Maker-wide switches, read from the maker key at start.
    int32_t FullScreen;     // non-zero: the window and full-screen dialogs fill the screen
    int32_t IgnoreActivate; // non-zero: activation leaves the full-screen state alone
    int32_t AllowSipInHebrewSearch = 1; // non-zero: the search dialog raises the input panel
};

// The one instance. Cleared at the very start of the program.
extern AppState appState;

// Allocator for working buffers whose loss is fatal. bytes: size of the block. Returns the
// block (owned by the caller, released with plainFree), or null after telling the user that
// memory ran out, saving the settings and posting the quit request; the caller then abandons
// its operation.
void* checkedAlloc(size_t bytes);

// The fatal out-of-memory stop that checkedAlloc makes: "There is not enough memory, aborting"
// (caption "Error"), the settings saved, the quit request posted.
void outOfMemory();
