#include "state/state.h"

#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/quit.h"

AppState appState;

void resetAppState() {
    plainFree(appState.letterConversion.convBuffer);
    plainFree(appState.foundHits);
    ShellRequests shell = appState.shell;
    appState = AppState{};
    appState.shell = shell;
}

int isBookmarked() {
    if (!appState.bookmarks) return 0;
    for (const uint16_t* p = appState.bookmarks; *p; ++p) {
        if (*p == appState.Lesson) return 1;
    }
    return 0;
}

void outOfMemory() {
    showMessageBox(nullptr, u"There is not enough memory, aborting", u"Error", MessageBoxIconStop);
    // Without the shell (a tool that links only the lower subsystems) there is nothing to save.
    if (appState.shell.saveSettingsAndQuit) {
        appState.shell.saveSettingsAndQuit();
    } else {
        postQuitMessage(0);
    }
}

void* checkedAlloc(size_t bytes) {
    void* block = plainAlloc(bytes);
    if (block) return block;
    outOfMemory();
    return nullptr;
}
