#include "dialogs/dialog_setup.h"

#include "platform/dialog.h"
#include "state/state.h"

void SetupFullScreenDialog(WindowHandle dialog, uint32_t shellFlags) {
    shellInitDialog(dialog, appState.FullScreen ? shellFlags : shellFlags | ShellDialogOkButton);
    if (appState.FullScreen) {
        // Up to the top of the screen, which is the reader's window here, wherever that is on
        // the desktop; the rectangle is turned into a width and a height.
        Rect r = windowRect(dialog);
        int top = appState.mainWindow ? windowRect(appState.mainWindow).top : 0;
        moveWindow(dialog, r.left, top, r.right - r.left, r.bottom - top, false);
    }
}
