// The reader's dialogs in the real program when another X client acts on their windows.
#include "tests/e2e/desktop.h"

namespace {
using namespace e2e;

class DialogHost : public Desktop {
protected:
    // A visible window titled `title` other than the reader's own: its X id, or "".
    std::string dialogTitled(const std::string& title, const std::string& reader, int ms) {
        for (int waited = 0; waited <= ms; waited += 100) {
            std::string ids;
            run("xdotool search --onlyvisible --name '^" + title + "$'", &ids);
            for (size_t at = 0, end; (end = ids.find('\n', at)) != std::string::npos;
                 at = end + 1) {
                std::string id = ids.substr(at, end - at);
                if (id != reader) return id;
            }
            sleepMs(100);
        }
        return {};
    }
};

// A dialog whose window another program destroys (XDestroyWindow, as `xdotool windowclose`
// does) ends as Cancel: the reader's keys move it on again, Ctrl+Q ends it with 0 and the
// settings saved, and the cancelled dialog changed nothing.
TEST_F(DialogHost, ADialogDestroyedFromOutsideEndsAsCancel) {
    struct Case {
        const char* opens; // the keys that open the dialog
        const char* title;
    } cases[] = {
        {"ctrl+f", "Choose Font"},     // items, with OK and Cancel
        {"ctrl+d", "Choose Section"},  // a full-screen dialog that draws itself
        {"alt+g Return", "Versewell"}, // About, titled as the reader is
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        writeSettings("[General]\nLesson=dword:00000005\nFlags=dword:d1140044\n"
                      "FontName=David CLM\nFontSize=dword:00000012\n");
        pid_t pid = start();
        std::string id = window();
        ASSERT_FALSE(id.empty()) << readerLogs();
        keys(id, c.opens);
        std::string dialog = dialogTitled(c.title, id, 8000);
        ASSERT_FALSE(dialog.empty()) << "the dialog opens\n" << readerLogs();

        EXPECT_EQ(run("xdotool windowclose " + dialog), 0);
        sleepMs(800);
        int ended = waitFor(pid, 0);
        ASSERT_EQ(ended, -1) << "the reader ended with " << ended << "\n" << readerLogs();
        EXPECT_TRUE(dialogTitled(c.title, id, 300).empty()) << "no dialog is left";
        keys(id, "Right");
        int status = quit(pid, id);
        EXPECT_EQ(status, 0) << "Ctrl+Q reaches the reader\n" << readerLogs();
        if (status == -1) {
            ::kill(pid, SIGKILL);
            waitFor(pid, 2000);
            continue;
        }
        EXPECT_EQ(setting("Lesson"), 6) << "Right reached the reader";
        EXPECT_NE(settings().find("FontName=David CLM"), std::string::npos) << settings();
        EXPECT_EQ(setting("FontSize"), 0x12);
    }
}
} // namespace
