// What the subsystems below the shell ask of it. The shell (app/) fills the record once at start,
// before anything else runs (installShellRequests); the out-of-memory stop calls through it, so
// that no lower library calls up into the shell.
#pragma once

struct ShellRequests {
    // Stores the settings, releases the owned buffers and posts the quit request (null: the
    // program has no settings to save, as in a tool that links only the lower subsystems).
    void (*saveSettingsAndQuit)();
};
