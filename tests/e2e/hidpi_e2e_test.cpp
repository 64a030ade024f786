// The reader at a device pixel ratio of 2 (QT_SCALE_FACTOR=2): the page fills the twice as large
// window and is drawn at device pixels, and every bitmap (the tool buttons, the keyboard, the
// index's signs, the About emblem) shows each of its pixels as a sharp 2 x 2 block.
#include <algorithm>
#include <cstdlib>

#include "platform/bitmaps.h"
#include "tests/e2e/desktop.h"

namespace {
using namespace e2e;

struct Point {
    int x = -1, y = -1;
};

// A block of a bitmap resource, as colours with the transparent pixels marked.
struct Block {
    int width = 0, height = 0;
    std::vector<Colour> colour;
    std::vector<bool> opaque;
};

Block blockOf(int bitmapId, int left, int top, int width, int height) {
    Block b;
    BitmapHandle bitmap = loadBitmap(bitmapId);
    if (!bitmap) return b;
    if (width == 0) width = bitmapWidth(bitmap), height = bitmapHeight(bitmap);
    // Drawn on white and on black: a pixel that comes out the same on both is the bitmap's own.
    DcHandle white = createImageDc(bitmapWidth(bitmap), bitmapHeight(bitmap));
    DcHandle black = createImageDc(bitmapWidth(bitmap), bitmapHeight(bitmap));
    fillRect(black, Rect{0, 0, bitmapWidth(bitmap), bitmapHeight(bitmap)},
             getStockBrush(BlackBrush));
    drawBitmap(white, bitmap, 0, 0);
    drawBitmap(black, bitmap, 0, 0);
    b.width = width;
    b.height = height;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            b.colour.push_back(dcPixel(white, x, y));
            b.opaque.push_back(dcPixel(white, x, y) == dcPixel(black, x, y));
        }
    }
    deleteDc(white);
    deleteDc(black);
    deleteBitmap(bitmap);
    return b;
}

// Where `shot` shows the block with every pixel doubled into a 2 x 2 square of exactly its
// colour, searched within `area`; {-1, -1} when nowhere (a smoothed or half-size bitmap).
Point findDoubled(DcHandle shot, const Block& b, Rect area) {
    // The opaque pixels, those unlike the first one ahead, so that a wrong place fails early.
    std::vector<int> order;
    for (int i = 0; i < int(b.colour.size()); ++i) {
        if (b.opaque[size_t(i)]) order.push_back(i);
    }
    if (b.width == 0 || order.empty()) return {};
    Colour common = b.colour[size_t(order.front())];
    std::stable_partition(order.begin(), order.end(),
                          [&](int i) { return b.colour[size_t(i)] != common; });
    for (int oy = area.top; oy + 2 * b.height <= area.bottom; ++oy) {
        for (int ox = area.left; ox + 2 * b.width <= area.right; ++ox) {
            bool match = true;
            for (size_t k = 0; match && k < order.size(); ++k) {
                int i = order[k];
                int x = ox + 2 * (i % b.width), y = oy + 2 * (i / b.width);
                Colour want = b.colour[size_t(i)];
                match = dcPixel(shot, x, y) == want && dcPixel(shot, x + 1, y) == want &&
                        dcPixel(shot, x, y + 1) == want && dcPixel(shot, x + 1, y + 1) == want;
            }
            if (match) return {ox, oy};
        }
    }
    return {};
}

class HiDpi : public Desktop {
protected:
    static void SetUpTestSuite() {
        screen_ = "1100x1400x24";
        Desktop::SetUpTestSuite();
    }
    static void TearDownTestSuite() {
        Desktop::TearDownTestSuite();
        screen_ = "800x900x24";
    }
    void SetUp() override {
        Desktop::SetUp();
        ::setenv("QT_SCALE_FACTOR", "2", 1);
    }
    void TearDown() override {
        ::unsetenv("QT_SCALE_FACTOR");
        Desktop::TearDown();
    }
};

TEST_F(HiDpi, TheWindowAndItsBitmapsAreDrawnAtDevicePixels) {
    pid_t pid = start();
    std::string id = window();
    ASSERT_FALSE(id.empty()) << readerLogs();
    sleepMs(800);
    DcHandle shot = grab();
    ASSERT_NE(shot, nullptr);

    // The page fills the window, twice the 480 x 640 of a plain screen, to its far corner.
    EXPECT_GT(ink(shot, 0, 120, 960, 1280), 20000);
    EXPECT_GT(ink(shot, 480, 640, 960, 1280), 3000) << "not a half-size page";
    // Drawn at device pixels: much of the text's edge falls inside 2 x 2 blocks, which a page
    // drawn at half the pixels and enlarged never has.
    int inked = 0, split = 0;
    for (int y = 200; y + 1 < 1280; y += 2) {
        for (int x = 0; x + 1 < 960; x += 2) {
            Colour a = dcPixel(shot, x, y);
            bool uniform = dcPixel(shot, x + 1, y) == a && dcPixel(shot, x, y + 1) == a &&
                           dcPixel(shot, x + 1, y + 1) == a;
            bool white = uniform && a == 0xFFFFFF;
            inked += !white;
            split += !uniform;
        }
    }
    ASSERT_GT(inked, 1000);
    EXPECT_GT(split * 100 / inked, 30) << split << " of " << inked << " inked blocks split";

    // Each of the seven tool buttons shows its 16 x 16 image as a sharp 32 x 32 one.
    for (int i = 0; i < 7; ++i) {
        Point at = findDoubled(shot, blockOf(114, 16 * i, 0, 16, 16), Rect{0, 0, 700, 90});
        EXPECT_GE(at.x, 0) << "tool button " << i;
    }
    deleteDc(shot);

    // The index's signs, the search keyboard and the About emblem, each in its dialog: the
    // dialog opened with `keysToOpen`, bitmap `bitmap` found doubled in `area`, then closed.
    auto expectDoubledIn = [&](const char* keysToOpen, int bitmap, Rect area, const char* what) {
        keys(id, keysToOpen);
        DcHandle dialog = grab();
        EXPECT_GE(findDoubled(dialog, blockOf(bitmap, 0, 0, 0, 0), area).x, 0) << what;
        deleteDc(dialog);
        run("xdotool key Escape");
        sleepMs(500);
    };
    expectDoubledIn("ctrl+d", 203, Rect{700, 0, 1000, 300}, "a lesson's sign in the index");
    expectDoubledIn("alt+F3", 119, Rect{0, 0, 1100, 1400}, "the keyboard");
    expectDoubledIn("alt+g Return", 113, Rect{0, 0, 1100, 1400}, "the About emblem"); // About
    EXPECT_EQ(quit(pid, id), 0);
}
} // namespace
