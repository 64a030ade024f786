#include "app/shell_requests.h"

#include "app/navigation.h"
#include "app/settings.h"
#include "state/shell_requests.h"

void installShellRequests() {
    shellRequests = {saveSettingsAndQuit, selectLesson, repaintView, syncBookmarkCheck,
                     keepShowingOldText};
}
