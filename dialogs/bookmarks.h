// The bookmark list: lessons the reader marked, kept in AppState (bookmarks, bookmarkCount),
// stored as "Bookmarks" in the book key, and offered as a group at the top of the section list.
#pragma once
#include <cstdint>

// Reads the list from the book key (a missing value gives no list).
void loadBookmarks();
// Makes the list from a stored value of `length` bytes (whatever they hold, the list ends with
// its 0 word). Leaves no list when memory is short.
void takeStoredBookmarks(const uint8_t* stored, uint32_t length);
// Writes the list: each lesson as 2 bytes, least significant first, then a 0 word (an empty
// list as the 0 word alone).
void saveBookmarks();
// Releases the list.
void freeBookmarks();
// isBookmarked (state/state.h): whether the current lesson is in the list.

// Command 123: adds the current lesson when `marked` is 0, else removes it, asking first
// ("Remove Bookmark?") unless the reader said not to ask again during this run.
void toggleBookmark(int marked);
// Adds the current lesson (nothing when it is already there). Returns the new count, or 0 when
// memory is short (the list unchanged).
int addBookmark();
// Removes every entry of the current lesson; the array keeps its size.
void removeBookmark();

// The section index the section list shows: `index` itself when there are no bookmarks or
// memory is short, else a new buffer (plainAlloc, padded like an expanded one) with the bookmark
// group in front of the index's records; `index` is then released. Null index: the group alone.
uint8_t* withBookmarkGroup(uint8_t* index);
