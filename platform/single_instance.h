// One reader at a time. The first start holds a lock and listens on a local socket in the
// user's private runtime folder; a later start knocks there and ends, and the running reader
// decides what the knock means.
#pragma once

enum class InstanceClaim {
    First,     // this process is the reader; knocks arrive through the handler
    Other,     // another reader runs and has been told
    NoAnswer,  // another reader runs (it holds the lock) but did not answer in time
    Unguarded, // the runtime folder cannot be used safely: no guard (instanceProblem says why)
};

// Claims the reader's place. In the first process `onKnock` is called from the message loop
// whenever a later start knocks. Waits at most a few seconds for a running reader's answer.
// Needs no display: a claim made before the windowed application starts is answered once
// startGraphics has started it (knocks wait in the socket's queue until then).
InstanceClaim claimSingleInstance(void (*onKnock)());

// Starts answering knocks for a claim made before the application existed (startGraphics
// calls it). Does nothing without a claim or when already answering.
void serveSingleInstance();

// Why the last claim gave NoAnswer or Unguarded, as one sentence for the user (static text
// owned here, valid until the next claim); empty otherwise.
const char* instanceProblem();

// Gives the place up (at exit): closes the lock and removes the socket file when it is still
// the one this process made. Safe to call when nothing was claimed.
void releaseSingleInstance();

// The folder where the lock and the socket live (for tests); empty before a claim.
const char* instanceFolder();
