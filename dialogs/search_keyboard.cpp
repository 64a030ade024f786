#include "dialogs/search_keyboard.h"

int keyboardPosition(int x, int y) {
    if (x < 0 || y < 0 || x >= kKeyboardWidth || y >= kKeyboardHeight) return -1;
    int row = y / kKeyRowHeight, column = x / kKeyColumnWidth;
    if (row < 3) return 9 * (row + 1) - column;
    return column >= 2 && column <= 6 ? 0 : -1;
}
