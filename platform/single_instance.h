// One reader at a time. The first start holds a lock and listens on a local socket in the
// user's private runtime folder; a later start knocks there and ends, and the running reader
// decides what the knock means.
#pragma once

enum class InstanceClaim {
    First,  // this process is the reader; knocks arrive through the handler
    Other,  // another reader runs and has been told
    Failed, // neither could be settled (no runtime folder, no answer)
};

// Claims the reader's place. In the first process `onKnock` is called from the message loop
// whenever a later start knocks.
InstanceClaim claimSingleInstance(void (*onKnock)());

// Gives the place up (at exit). Safe to call when nothing was claimed.
void releaseSingleInstance();

// The folder where the lock and the socket live (for tests).
const char* instanceFolder();
