// The shell's answers to what the lower subsystems ask of it (state/shell_requests.h).
#pragma once

// Fills appState.shell. Called first thing by every start (the reader, the headless modes, the
// test programs).
void installShellRequests();
