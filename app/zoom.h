// Zoom: the text size stepped through the sizes the Choose Font dialog offers, the line at the
// top of the page kept at the top.
#pragma once
#include <cstdint>

#include "platform/handles.h"

// The size `steps` places along the dialog's list from `size` (pixels): the next larger for 1,
// the next smaller for -1, and so on, stopping at the list's ends. A size between two of the
// list's counts as lying between them.
int32_t zoomedSize(int32_t size, int steps);
// Gives the view the font at `size` (the new FontSize, stored as it) and keeps the line at the
// top; the size the dialog chose stays for zoomReset. 0 when done, 1 when nothing changed.
int setZoomSize(WindowHandle window, int32_t size);
// `steps` along the list (Ctrl+wheel, Ctrl+= and Ctrl+-).
int zoomBy(WindowHandle window, int steps);
// Back to the size the Choose Font dialog set (Ctrl+0).
int zoomReset(WindowHandle window);
