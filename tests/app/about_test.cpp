// The About dialog and the update address.
#include "app/about.h"
#include "resources/dialogs.h"
#include "resources/maker.h"
#include "tests/support/shell_fixture.h"

namespace {
// The maker's host is the build's choice; the addresses keep their form around it.
const std::u16string kHome = std::u16string(u"http://") + kMakerWebHost;
const std::u16string kUpdate = kHome + u"/cgi-bin/upgrade?p=arm/Quillmere/Versewell&v=1.84a";

TEST(UpdateAddress, Escaping) {
    struct Case {
        const char16_t* path;
        const char16_t* sent;
    } cases[] = {{u"Versewell - 2", u"Versewell+%2D+2"},
                 {u"a_b", u"a%5Fb"},
                 {u"Quillmere/Versewell", u"Quillmere/Versewell"},
                 {u"v1.84a/x", u"v1.84a/x"},
                 {u"\u05D0", u"%5D0"}};
    for (const Case& c : cases) {
        char16_t buffer[200] = {};
        appendEscaped(buffer, 200, c.path);
        EXPECT_EQ(std::u16string(buffer), c.sent);
    }
    char16_t address[200];
    buildUpdateAddress(address);
    EXPECT_EQ(std::u16string(address), kUpdate);
}

class About : public ShellTest {};

FontHandle gFontSeen = nullptr;

TEST_F(About, OpensWithItsLinkFontAndClosesWithOk) {
    start();
    scriptDialogs([](WindowHandle dialog, int id) {
        EXPECT_EQ(id, 103);
        gFontSeen = appState.aboutLinkFont;
        WindowHandle link = dialogItem(dialog, kAboutLinkId);
        ASSERT_NE(link, nullptr);
        char16_t text[101];
        getItemText(link, text, 101);
        EXPECT_EQ(std::u16string(text), kMakerHomePage);
        FontDescription d = fontDescription(appState.aboutLinkFont);
        EXPECT_TRUE(d.underline);
        EXPECT_EQ(d.weight, 800);
        EXPECT_EQ(onAboutCommand(dialog, kAboutLinkId), 0) << "the link leaves the dialog open";
        EXPECT_EQ(onAboutCommand(dialog, DialogOk), 1);
    });
    EXPECT_EQ(runAboutDialog(window_), 1);
    EXPECT_EQ(takeOpenedAddresses(), std::vector<std::u16string>{kHome});
    EXPECT_EQ(onCommand(window_, CmdCheckForUpdates), 0);
    EXPECT_EQ(takeOpenedAddresses(), std::vector<std::u16string>{kUpdate});
    EXPECT_NE(gFontSeen, nullptr);
    EXPECT_EQ(appState.aboutLinkFont, nullptr) << "freed when the dialog closes";
    // The About command opens the same dialog; Cancel closes it too.
    scriptDialogs([](WindowHandle dialog, int) {
        EXPECT_NE(appState.aboutLinkFont, nullptr) << "a new font for every opening";
        windowEvents(dialog)->itemCommand(dialog, DialogCancel, ItemNotification::Clicked);
    });
    EXPECT_EQ(onCommand(window_, CmdAbout), 0);
    scriptDialogs(nullptr);
    EXPECT_EQ(appState.aboutLinkFont, nullptr);
}
} // namespace
