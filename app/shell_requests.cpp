#include "app/shell_requests.h"

#include "app/settings.h"
#include "state/state.h"

void installShellRequests() {
    appState.shell = {saveSettingsAndQuit};
}
