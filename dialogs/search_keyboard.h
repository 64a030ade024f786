// The on-screen Hebrew keyboard of the search dialog (bitmap 119): where its keys lie and what
// each one types.
#pragma once

// The picture, in pixels: three rows of nine keys 17 x 25 (x 0..152) with a one-pixel column at
// x 153, and a bottom row 20 high with the space bar on columns 2 to 6 (x 34..118).
constexpr int kKeyboardWidth = 154, kKeyboardHeight = 95;
constexpr int kKeyColumnWidth = 17, kKeyRowHeight = 25;

// Key position p (1..27) types the letter-code byte kKeyboardLetters[p - 1]; position 0 is the
// space bar. Alphabetical from the top row's rightmost key, each final form after its letter.
constexpr char kKeyboardLetters[] = "abcdefghijlkmonqprsutwvxyz{";

// The key position under the picture's pixel (x, y): 9 x (row + 1) - column in the top three
// rows, 0 on the space bar. -1 outside the picture and beside the space bar.
int keyboardPosition(int x, int y);
