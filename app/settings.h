// Settings kept between runs.
#pragma once

// Stores the reader's state for the next run, releases the owned buffers and posts the quit
// request (code 0).
void saveSettingsAndQuit();
