#include "app/app_main.h"

#include <cstdio>

#include "app/main_window.h"
#include "app/navigation.h"
#include "app/settings.h"
#include "calendar/weekly_lesson.h"
#include "content/resource.h"
#include "dialogs/choose_font.h"
#include "platform/bars.h"
#include "platform/draw.h"
#include "platform/gui.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/quit.h"
#include "platform/single_instance.h"
#include "platform/window.h"
#include "resources/menus.h"
#include "state/registry_values.h"
#include "state/state.h"
#include "view/text_view.h"

bool isTodayCommandLine(const char16_t* commandLine) {
    if (!commandLine) return false;
    const char16_t* today = u"/today";
    int i = 0;
    for (; today[i]; ++i) {
        char16_t c = commandLine[i];
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
        if (c != today[i]) return false;
    }
    return commandLine[i] == 0;
}

void registerMainClass(const char16_t* className) {
    registerWindowClass(className, &kMainWindowEvents);
}

void onSecondStart() {
    WindowHandle main = appState.mainWindow;
    if (!main) return;
    WindowHandle foreground = foregroundWindow();
    WindowHandle top = foreground;
    while (top && parentWindow(top))
        top = parentWindow(top);
    if (foreground == main) onCommand(main, CmdThisWeek);
    if (top != main) setForegroundWindow(main);
}

WindowHandle launchInstance() {
    InstanceClaim claim = claimSingleInstance(onSecondStart);
    if (claim == InstanceClaim::Other) return nullptr;
    if (claim == InstanceClaim::NoAnswer) {
        // A live reader holds the place; a second window beside it would fight it over the
        // settings.
        std::fprintf(stderr, "versewell: %s; not starting a second one\n", instanceProblem());
        return nullptr;
    }
    if (claim == InstanceClaim::Unguarded)
        std::fprintf(stderr, "versewell: %s; running without the one-reader check\n",
                     instanceProblem());
    // Only the reader itself opens the display: a crowd of later starts never reaches it.
    if (!startGraphics(appState.graphicsArgc, appState.graphicsArgv)) {
        std::fprintf(stderr, "versewell: no display to open the reading window on; "
                             "--render writes a page to a PNG instead\n");
        appState.exitCode = 2;
        return nullptr;
    }
    loadSettings();
    if (quitRequested()) return nullptr;
    selectLesson(0, appState.todayLaunch);
    registerMainClass(kMainClass);
    WindowOptions options =
        (appState.Flags & (FlagScrollBar | FlagScrollBarAlt)) ? WindowVScroll : WindowPlain;
    WindowHandle window = createWindow(kMainClass, kMainClass, options);
    if (!window) return nullptr;
    if (appState.FullScreen) fullScreenRequest(window, FullScreenAll);
    showWindow(window);
    updateWindow(window);
    if (appState.fontSpec.FontName[0] == 0) {
        // The first run asks for a font; whatever the answer, the view takes the record.
        runFontDialog(window, &appState.fontSpec);
        if (TextView_SetFont(appState.view, &appState.fontSpec) == 1) outOfMemory();
        syncScrollBar(window);
    }
    return window;
}

int appMain(const char16_t* commandLine, int* argc, char** argv) {
    resetAppState();
    appState.graphicsArgc = argc;
    appState.graphicsArgv = argv;
    appState.IgnoreActivate = readNumberValue(kMakerKey, u"IgnoreActivate", 0);
    appState.FullScreen = readNumberValue(kMakerKey, u"FullScreen", 0);
    appState.AllowSipInHebrewSearch = readNumberValue(kMakerKey, u"AllowSipInHebrewSearch", 1);
    appState.MenuBarOnBottom = readNumberValue(kMakerKey, u"MenuBarOnBottom", 0);
    appState.SurroundingGutter = readNumberValue(kMakerKey, u"SurroundingGutter", 0);
    if (commandLine && commandLine[0] && isTodayCommandLine(commandLine)) appState.todayLaunch = 1;
    WindowHandle window = launchInstance();
    if (!window) {
        releaseSingleInstance();
        return appState.exitCode;
    }
    int code = runMessageLoop();
    releaseSingleInstance();
    return code;
}
