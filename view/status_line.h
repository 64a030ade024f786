// The status line at the foot of the reader's window: the lesson's number of 53, its title, and
// how far through the lesson the page is. It lies right under the view's text area, one line
// of small type high, in the page's colours.
#pragma once
#include "view/text_view.h"

// Its height in pixels when it is shown (appState.statusLine), else 0.
int statusLineHeight(TextView* view);
// How far through the lesson the page is, 0 (the top) to 100 (the last page).
int lessonProgress(const TextView* view);
// The line's text without the title: "N/53" and the percentage, for its two ends.
void statusLineNumbers(const TextView* view, int lesson, char* number, char* percent);
// Draws it under the view's text area (TextView's `painted` hook).
void drawStatusLine(TextView* view);
