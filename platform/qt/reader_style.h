// The reader's widget style: the platform's own, but for the tool bar's extension arrow.
#pragma once

// Makes the application's style the platform's own with the extension arrow drawn here, so
// that creating the bar does not make Qt read its PNG arrow through every image plug-in (and
// load the SVG library with them) at start. Called once the application exists.
void installReaderStyle();
