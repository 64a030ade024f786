#include "app/settings.h"

#include "app/state.h"
#include "platform/memory.h"
#include "platform/quit.h"

void saveSettingsAndQuit() {
    // The registry store comes with the settings layer; until then nothing is written, so no
    // stored value can be damaged by an early stop.
    plainFree(appState.bookmarks);
    appState.bookmarks = nullptr;
    appState.bookmarkCount = 0;
    postQuitMessage(0);
}
