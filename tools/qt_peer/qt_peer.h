// Qt's own paragraph layout and painting, as the peer the reading view is measured against.
#pragma once
#include <string>
#include <vector>

struct QtPeer;

// Paragraphs of Unicode text (reading order) laid out by QTextLayout in `face` at `pixelSize`.
QtPeer* QtPeerCreate(const std::vector<std::u16string>& paragraphs, const std::u16string& face,
                     int pixelSize);
void QtPeerDestroy(QtPeer* peer);

// Breaks every paragraph into lines of at most `width` pixels. Returns the number of lines.
int QtPeerLayout(QtPeer* peer, int width);

// Paints the laid-out lines from the top into a width x height image, stopping at the first
// line that does not fit. Returns the number of lines drawn.
int QtPeerPaint(QtPeer* peer, int width, int height);
