// The bookmark list: lessons the reader marked, kept in AppState, stored as "Bookmarks".
#pragma once

// Reads the list from the book key (a missing value gives an empty list).
void loadBookmarks();
// Writes the list (an empty one as the single 0 word).
void saveBookmarks();
// Releases the list.
void freeBookmarks();
// 1 when the current lesson is in the list, else 0.
int isBookmarked();
