// Settings kept between runs, under the book key (state/book_key.h).
#pragma once
#include <cstdint>

// Fills the reader's state from the book key at start (and stores "Program Path" when
// the key does not hold it already).
void loadSettings();

// Stores the reader's state for the next run, releases the owned buffers and posts the quit
// request (code 0). A stop before loadSettings has finished writes nothing, so that no stored
// value is replaced by one that was never read.
void saveSettingsAndQuit();
