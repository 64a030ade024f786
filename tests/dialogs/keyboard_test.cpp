// The on-screen keyboard: which key a point of the picture belongs to, and bitmap 119 drawn on
// that grid, so that a tap lands on the key the person sees.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dialogs/search_keyboard.h"
#include "platform/bitmaps.h"
#include "platform/draw.h"
#include "platform/gui.h"
#include "tests/support/fixtures.h"

namespace {
TEST(Keyboard, PositionsOfThePicture) {
    struct Case {
        int x, y, position;
    } cases[] = {
        {152, 0, 1},   {136, 24, 1},  {135, 24, 2},  {0, 0, 9},     // the top row, right to left
        {153, 0, 0},   {153, 25, 9},  {153, 74, 18},                // the one-pixel column
        {152, 25, 10}, {0, 49, 18},   {152, 50, 19}, {0, 74, 27},   // the next rows
        {34, 75, 0},   {118, 94, 0},  {76, 80, 0},                  // the space bar
        {33, 75, -1},  {119, 75, -1}, {0, 90, -1},   {153, 80, -1}, // beside it
        {-1, 0, -1},   {0, -1, -1},   {154, 0, -1},  {0, 95, -1},   // outside the picture
    };
    for (const Case& c : cases)
        EXPECT_EQ(keyboardPosition(c.x, c.y), c.position) << c.x << "," << c.y;
    EXPECT_EQ(kKeyboardLetters[keyboardPosition(152, 0) - 1], 'a') << "the first letter";
    EXPECT_EQ(std::string(kKeyboardLetters).size(), 27u);
}

class KeyboardBitmap : public testing::Test {
protected:
    void SetUp() override {
        // The windowed application, as the shell tests of this program need it.
        ASSERT_TRUE(startTestGraphics());
        bitmap_ = loadBitmap(119);
        ASSERT_NE(bitmap_, nullptr);
        dc_ = createImageDc(kKeyboardWidth, kKeyboardHeight);
        ASSERT_NE(dc_, nullptr);
        drawBitmap(dc_, bitmap_, 0, 0);
    }
    void TearDown() override {
        deleteDc(dc_);
        deleteBitmap(bitmap_);
    }
    bool black(int x, int y) const { return dcPixel(dc_, x, y) == 0x000000; }

    // A key drawn as an outline (corners rounded off) one pixel inside the cells from (left,
    // top) to (right, bottom), with the cells' own border left white.
    void expectKey(int left, int top, int right, int bottom) const {
        for (int x = left; x <= right; ++x) {
            EXPECT_FALSE(black(x, top) || black(x, bottom)) << "gap at x " << x;
            if (x > left + 1 && x < right - 1) {
                EXPECT_TRUE(black(x, top + 1) && black(x, bottom - 1)) << "outline at x " << x;
            }
        }
        for (int y = top; y <= bottom; ++y) {
            EXPECT_FALSE(black(left, y) || black(right, y)) << "gap at y " << y;
            if (y > top + 1 && y < bottom - 1) {
                EXPECT_TRUE(black(left + 1, y) && black(right - 1, y)) << "outline at y " << y;
            }
        }
    }

    BitmapHandle bitmap_ = nullptr;
    DcHandle dc_ = nullptr;
};

TEST_F(KeyboardBitmap, KeysLieOnTheGrid) {
    EXPECT_EQ(bitmapWidth(bitmap_), kKeyboardWidth);
    EXPECT_EQ(bitmapHeight(bitmap_), kKeyboardHeight);
    for (int y = 0; y < kKeyboardHeight; ++y) {
        for (int x = 0; x < kKeyboardWidth; ++x) {
            Colour c = dcPixel(dc_, x, y);
            ASSERT_TRUE(c == 0x000000 || c == 0xFFFFFF) << "monochrome at " << x << "," << y;
            if (c == 0) {
                EXPECT_GE(keyboardPosition(x, y), 0) << "drawn where no key is";
            }
        }
    }
    std::set<std::string> faces;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 9; ++column) {
            int left = column * kKeyColumnWidth, top = row * kKeyRowHeight;
            expectKey(left, top, left + kKeyColumnWidth - 1, top + kKeyRowHeight - 1);
            std::string face;
            for (int y = top + 2; y < top + kKeyRowHeight - 2; ++y)
                for (int x = left + 2; x < left + kKeyColumnWidth - 2; ++x)
                    face += black(x, y) ? '#' : '.';
            EXPECT_NE(face.find('#'), std::string::npos) << "key " << row << "," << column;
            faces.insert(face);
        }
        EXPECT_FALSE(black(153, row * kKeyRowHeight + 12)) << "the one-pixel column is blank";
    }
    EXPECT_EQ(faces.size(), 27u) << "every letter key shows its own letter";
    expectKey(2 * kKeyColumnWidth, 3 * kKeyRowHeight, 7 * kKeyColumnWidth - 1, kKeyboardHeight - 1);
}
} // namespace
