#include "dialogs/dialog_setup.h"

#include "platform/dialog.h"
#include "state/state.h"

void SetupFullScreenDialog(WindowHandle dialog, uint32_t shellFlags) {
    shellInitDialog(dialog, appState.FullScreen ? shellFlags : shellFlags | ShellDialogOkButton);
    if (appState.FullScreen) {
        Rect r = windowRect(dialog);
        moveWindow(dialog, r.left, 0, r.right, r.bottom, false);
    }
}
