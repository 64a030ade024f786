// The reader's main window, made as start-up makes it, under the offscreen platform, with a
// temporary configuration folder and a fixed clock (2007-03-11, outside Israel: this week's
// lesson is 33). No event loop runs: tests call the window's handlers themselves.
#pragma once
#include <gtest/gtest.h>

#include "app/app_main.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/settings.h"
#include "calendar/weekly_lesson.h"
#include "platform/bars.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/gui.h"
#include "platform/message_box.h"
#include "platform/quit.h"
#include "platform/window.h"
#include "resources/menus.h"
#include "state/state.h"
#include "tests/support/config_home.h"
#include "tests/support/fixtures.h"
#include "view/text_view.h"

class ShellTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(startTestGraphics());
        static const FixedClock clock{{2007, 3, 11}, u"Eastern Standard Time", u"America/New_York"};
        fixClock(&clock);
        clearQuitRequest();
        takeShownMessages();
        recordOpenedAddresses(true);
    }
    void TearDown() override {
        if (window_) destroyWindow(window_);
        processPendingEvents();
        fixClock(nullptr);
        clearQuitRequest();
    }

    // Start-up as launchInstance does it, without the single-instance claim and the loop.
    void start(uint32_t extraFlagsOff = 0, int menuBarOnBottom = 0) {
        resetAppState();
        appState.MenuBarOnBottom = menuBarOnBottom;
        loadSettings();
        appState.Flags &= ~extraFlagsOff;
        selectLesson(0, appState.todayLaunch);
        registerMainClass(kMainClass);
        window_ = createWindow(kMainClass, kMainClass, WindowVScroll);
        ASSERT_NE(window_, nullptr);
        showWindow(window_);
        processPendingEvents();
        updateWindow(window_);
        ASSERT_NE(appState.view, nullptr);
    }

    TextView* view() const { return appState.view; }
    // The events the desktop would deliver, through the handlers the window was made with.
    const WindowEvents& events() const { return *windowEvents(window_); }
    bool key(Key k) { return events().key(window_, k, NoModifiers); }
    void command(int id) { events().command(window_, id); }
    void scroll(ScrollRequest request, int position = 0) {
        events().scroll(window_, request, position);
    }
    void tap(int x, int y) { events().tap(window_, Point{x, y}); }
    void resize(int width, int height) { events().size(window_, width, height); }

    ConfigHome config_;
    WindowHandle window_ = nullptr;
};

// A shell test that acts in its dialogs: runScripted opens dialog `id` with `open` and has `body`
// act in it as the user (a dialog that never showed, so that the body never ran, fails the
// test); the scripting ends with the test.
class ScriptedDialogTest : public ShellTest {
protected:
    void TearDown() override {
        scriptDialogs(nullptr);
        ShellTest::TearDown();
    }
    template <typename Open> intptr_t runScripted(int id, void (*body)(WindowHandle), Open open) {
        static int expected, runs;
        static void (*acting)(WindowHandle);
        expected = id;
        acting = body;
        runs = 0;
        scriptDialogs([](WindowHandle dialog, int shown) {
            EXPECT_EQ(shown, expected);
            ++runs;
            acting(dialog);
        });
        intptr_t result = open();
        EXPECT_GT(runs, 0) << "dialog " << id << " was never shown, so its script never ran";
        return result;
    }
};
