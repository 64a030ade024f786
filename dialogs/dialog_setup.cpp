#include "dialogs/dialog_setup.h"

#include "app/app_main.h"
#include "platform/dialog.h"

void SetupFullScreenDialog(WindowHandle dialog, uint32_t shellFlags) {
    shellInitDialog(dialog, FullScreen ? shellFlags : shellFlags | 0x1);
    if (FullScreen) {
        Rect r = windowRect(dialog);
        moveWindow(dialog, r.left, 0, r.right, r.bottom, false);
    }
}
