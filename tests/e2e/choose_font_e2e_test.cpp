// The font dialog in the real program: the first start asks for a font, the choice made with
// the keyboard is stored and drawn, the next start does not ask, Ctrl+F and Escape change
// nothing.
#include "tests/e2e/desktop.h"

namespace {
using namespace e2e;

class FontChoice : public Desktop {};

TEST_F(FontChoice, TheFirstRunAsksAndTheKeyboardChooses) {
    writeSettings("");
    pid_t first = start();
    std::string id = window();
    ASSERT_FALSE(id.empty()) << readerLogs();
    std::string dialog = windowTitled("Choose Font", 8000);
    ASSERT_FALSE(dialog.empty()) << "the first start asks for a font\n" << readerLogs();
    sleepMs(500);
    DcHandle asked = grab();
    ASSERT_NE(asked, nullptr);
    // The preview takes the lower third of the dialog, which lies over the reader: its letters
    // stand on its first line.
    EXPECT_GT(ink(asked, 20, 392, 470, 440), 40) << "the preview shows the letters";

    // A face typed into the face list, Tab, a size typed into the size list, Return.
    run("xdotool windowfocus --sync " + dialog);
    run("xdotool type --delay 120 'Miriam M'");
    run("xdotool key Tab");
    run("xdotool type --delay 120 24");
    sleepMs(300);
    run("xdotool key Return");
    sleepMs(800);
    EXPECT_TRUE(windowTitled("Choose Font", 300).empty()) << "Return is OK";
    DcHandle drawn = grab();
    EXPECT_GT(differences(asked, drawn), 1000) << "the reader drawn again";
    EXPECT_EQ(quit(first, id), 0);
    EXPECT_NE(settings().find("FontName=Miriam Mono CLM"), std::string::npos) << settings();
    EXPECT_EQ(setting("FontSize"), 24);

    // The next start does not ask; Ctrl+F asks, and Escape keeps the choice.
    pid_t second = start();
    id = window();
    ASSERT_FALSE(id.empty());
    EXPECT_TRUE(windowTitled("Choose Font", 1500).empty()) << "no question the second time";
    keys(id, "ctrl+f");
    dialog = windowTitled("Choose Font", 8000);
    ASSERT_FALSE(dialog.empty()) << "Ctrl+F opens the dialog";
    run("xdotool windowfocus --sync " + dialog);
    run("xdotool key Down Escape");
    sleepMs(500);
    EXPECT_TRUE(windowTitled("Choose Font", 300).empty()) << "Escape closes it";
    EXPECT_EQ(quit(second, id), 0);
    EXPECT_NE(settings().find("FontName=Miriam Mono CLM"), std::string::npos);
    EXPECT_EQ(setting("FontSize"), 24);
    deleteDc(asked);
    deleteDc(drawn);
}
} // namespace
