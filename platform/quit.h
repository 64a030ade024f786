// The quit request that ends the message loop.
#pragma once

// Asks the message loop to end with `code`. Without a running loop the request is kept and
// reported by quitRequested().
void postQuitMessage(int code);

// Whether a quit request was posted, and its code. Cleared by clearQuitRequest (tests).
bool quitRequested(int* code = nullptr);
void clearQuitRequest();
