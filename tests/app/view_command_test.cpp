// The headless view modes: their options, and what they print or write.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/view_command.h"
#include "platform/draw.h"
#include "platform/gui.h"
#include "tests/support/fixtures.h"
#include "tests/support/process.h"
#include "tools/bookc/book_compile.h"
#include "view/text_view.h"
#include "view/title_banner.h"

namespace fs = std::filesystem;

namespace {
bool parse(std::vector<std::string> args, ViewCommand& c, std::string& error) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    return parseViewCommand(int(argv.size()), argv.data(), c, error);
}

TEST(ViewCommand, Options) {
    ViewCommand c;
    std::string error;
    ASSERT_TRUE(parse({"--render",    "17",       "--top",    "5",      "--width",
                       "300",         "--height", "200",      "--font", "Miriam Mono CLM",
                       "--size",      "20",       "--base",   "224",    "--reverse",
                       "--highlight", "10:20",    "--banner", "--book", "b.bundle",
                       "-o",          "out.png"},
                      c, error))
        << error;
    EXPECT_TRUE(c.render);
    EXPECT_EQ(c.lesson, 17);
    EXPECT_EQ(c.top, 5);
    EXPECT_EQ(c.width, 300);
    EXPECT_EQ(c.height, 200);
    EXPECT_EQ(c.face, u"Miriam Mono CLM");
    EXPECT_EQ(c.size, 20);
    EXPECT_EQ(c.base, 224);
    EXPECT_TRUE(c.reverse && c.banner);
    EXPECT_EQ(c.highlightStart, 10);
    EXPECT_EQ(c.highlightEnd, 20);
    EXPECT_EQ(c.book, "b.bundle");
    EXPECT_EQ(c.output, "out.png");

    ASSERT_TRUE(parse({"--layout", "3"}, c, error));
    EXPECT_FALSE(c.render);
    EXPECT_EQ(c.width, 480);
    EXPECT_EQ(c.height, 640);
    EXPECT_EQ(c.size, 18);
    EXPECT_EQ(c.base, 1488);

    struct Bad {
        std::vector<std::string> args;
        const char* message;
    } bad[] = {
        {{"--layout"}, "which lesson"},
        {{"--render", "3"}, "-o FILE.png"},
        {{"--layout", "0"}, "lesson must be"},
        {{"--layout", "x"}, "lesson must be"},
        {{"--layout", "3", "4"}, "unknown argument"},
        {{"--layout", "3", "--base", "100"}, "97, 224 or 1488"},
        {{"--layout", "3", "--width"}, "--width needs"},
        {{"--layout", "3", "--width", "0"}, "--width needs"},
        {{"--layout", "3", "--highlight", "9:3"}, "START <= END"},
        {{"--layout", "3", "--highlight", "9"}, "START:END"},
        {{"--layout", "3", "-o", "x.png"}, "unknown argument"},
        {{"--layout", "3", "--frobnicate"}, "unknown argument"},
    };
    for (const Bad& b : bad) {
        EXPECT_FALSE(parse(b.args, c, error)) << b.message;
        EXPECT_NE(error.find(b.message), std::string::npos) << error;
    }
}

Outcome runReader(const std::string& args) {
    return runProgram("VERSEWELL", args);
}

TEST(ViewCommand, LayoutPrintsTheLineTable) {
    Outcome o = runReader("--layout 1 --width 300 --font 'Miriam Mono CLM' --size 16");
    ASSERT_EQ(o.status, 0) << o.err;
    std::istringstream lines(o.out);
    std::string line, last;
    int rows = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("totalLines=", 0) == 0) {
            last = line;
            continue;
        }
        std::istringstream fields(line);
        unsigned start, length, x, label, width, height, link;
        std::string style;
        ASSERT_TRUE(fields >> start >> length >> x >> label >> width >> height >> link >> style)
            << line;
        EXPECT_LE(x + width, 300u) << line;
        if (rows == 0) {
            EXPECT_EQ(style, "DC") << "the title first";
        }
        ++rows;
    }
    EXPECT_GT(rows, 30);
    EXPECT_EQ(last.rfind("totalLines=", 0), 0u) << "the summary line last";
}

// The page as a PNG; --banner and --highlight change the page where they should: the banner's
// red frame along the bottom, the highlight's yellow ground over the range, nothing else.
TEST(ViewCommand, RenderWritesAPngWithTheBannerAndTheHighlight) {
    startHeadlessGraphics();
    struct Picture {
        const char* options;
        DcHandle dc = nullptr;
    } pictures[] = {{""}, {"--banner"}, {"--highlight 100:140"}};
    for (Picture& p : pictures) {
        std::string png = testing::TempDir() + "render-test.png";
        Outcome o = runReader(std::string("--render 17 ") + p.options + " -o " + png);
        ASSERT_EQ(o.status, 0) << p.options << ": " << o.err;
        std::string bytes;
        ASSERT_TRUE(ReadFile(png, bytes));
        EXPECT_EQ(bytes.substr(1, 3), "PNG");
        p.dc = loadImageDc(png.c_str());
        ASSERT_NE(p.dc, nullptr) << p.options;
        fs::remove(png);
    }
    DcHandle plain = pictures[0].dc, banner = pictures[1].dc, highlight = pictures[2].dc;
    int width = dcWidth(plain), height = dcHeight(plain);
    ASSERT_EQ(dcWidth(banner), width);
    ASSERT_EQ(dcHeight(banner), height);
    int bannerTop = height, red = 0, redPlain = 0, yellow = 0, yellowPlain = 0,
        highlightChanged = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Colour p = dcPixel(plain, x, y);
            if (dcPixel(banner, x, y) != p && y < bannerTop) bannerTop = y;
            red += dcPixel(banner, x, y) == BannerRed;
            redPlain += p == BannerRed;
            yellow += dcPixel(highlight, x, y) == ColourHighlightBack;
            yellowPlain += p == ColourHighlightBack;
            highlightChanged += dcPixel(highlight, x, y) != p;
        }
    }
    EXPECT_LT(bannerTop, height) << "the banner is drawn";
    EXPECT_GT(bannerTop, height / 2) << "the banner changes only the page's lower part";
    EXPECT_GT(red, redPlain) << "the banner's frame is red";
    EXPECT_EQ(yellowPlain, 0);
    EXPECT_GT(yellow, 0) << "the highlight's ground";
    EXPECT_LT(highlightChanged, width * height / 4) << "the highlight covers its range only";
    for (Picture& p : pictures)
        deleteDc(p.dc);
}

TEST(ViewCommand, Errors) {
    struct Case {
        std::string args;
        const char* message;
    } cases[] = {
        {"--layout 54", "from 1 to 53"},
        {"--render 31767 -o /tmp/x.png", "from 1 to 53"}, // the index's book number
        {"--layout 1 --font 'No Such Face'", "not installed"},
        {"--layout 1 --book /nonexistent.bundle", "nonexistent.bundle"},
        {"--render 1 -o /nonexistent-dir/x.png", "cannot write"},
        {"--layout", "which lesson"},
    };
    for (const Case& c : cases) {
        Outcome o = runReader(c.args);
        EXPECT_EQ(o.status, 2) << c.args;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << c.args << ": " << o.err;
    }
}
} // namespace
