#include "app/state.h"

#include "app/settings.h"
#include "platform/memory.h"
#include "platform/message_box.h"

AppState appState;

void outOfMemory() {
    showMessageBox(nullptr, u"There is not enough memory, aborting", u"Error", MessageBoxIconStop);
    saveSettingsAndQuit();
}

void* checkedAlloc(size_t bytes) {
    void* block = plainAlloc(bytes);
    if (block) return block;
    outOfMemory();
    return nullptr;
}
