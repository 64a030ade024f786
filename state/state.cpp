#include "state/state.h"

#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/quit.h"
#include "state/shell_requests.h"

AppState appState;
ShellRequests shellRequests;

void outOfMemory() {
    showMessageBox(nullptr, u"There is not enough memory, aborting", u"Error", MessageBoxIconStop);
    // Without the shell (a tool that links only the lower subsystems) there is nothing to save.
    if (shellRequests.saveSettingsAndQuit) {
        shellRequests.saveSettingsAndQuit();
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
