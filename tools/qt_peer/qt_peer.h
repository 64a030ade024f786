// Qt's own paragraph layout and painting, as the peer the reading view is measured against: a
// lesson laid out by QTextLayout the way the reader lays it out, each text record and link
// caption a paragraph in its style's font, at the width its margin and label leave.
#pragma once
#include <cstdint>
#include <string>

class QPainter;
struct QtPeer;

// The records of `lesson` (an expanded lesson buffer, as LoadBookResource makes it) as
// paragraphs in reading order: Hebrew records' letter forms moved to `letterBase`, in `face`
// with the reader's style sizes for a chosen size of `pixelSize`.
QtPeer* QtPeerCreate(const uint8_t* lesson, const std::u16string& face, int pixelSize,
                     int letterBase);
void QtPeerDestroy(QtPeer* peer);

// Breaks every paragraph into lines for a text area `width` pixels wide, each line as wide as
// the reader's margin and label column leave it. Returns the number of lines, rules included.
int QtPeerLayout(QtPeer* peer, int width);

// The laid-out lesson's height in pixels, the empty line after a record included.
int QtPeerHeight(const QtPeer* peer);

// Draws the laid-out lines from the top, in their styles' colours, as far as they fit whole in
// `height` pixels. Returns the number of lines drawn.
int QtPeerDraw(QtPeer* peer, QPainter* painter, int height);

// The same into a white width x height image the peer keeps.
int QtPeerPaint(QtPeer* peer, int width, int height);
