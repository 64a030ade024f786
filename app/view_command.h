// The headless view modes: --render (a page of a lesson to a PNG) and --layout (a lesson's
// line table as text).
#pragma once
#include <string>

#include "platform/draw.h"
#include "view/text_view.h"

struct ViewCommand {
    bool render = false;                        // --render; else --layout
    ColourScheme colours = ColourScheme::Light; // --render --colours light|dark|sepia
    int lesson = 0;
    int top = 0;
    int width = 480, height = 640;
    std::u16string face; // empty: the default face
    int size = 18;
    int base = 1488;
    bool reverse = false;
    int highlightStart = 0, highlightEnd = 0;
    bool banner = false;
    std::string book;   // --book FILE
    std::string output; // -o FILE.png
};

// Parses the arguments after the program name (argv[0] is "--render" or "--layout"). Returns
// true, or false with `error` set.
bool parseViewCommand(int argc, char** argv, ViewCommand& command, std::string& error);

// The options of the headless modes, as bits: which of them a mode takes.
enum : unsigned {
    ViewOptionTop = 0x01,       // --top N
    ViewOptionArea = 0x02,      // --width W, --height H
    ViewOptionFont = 0x04,      // --font FACE, --size S, --base B
    ViewOptionReverse = 0x08,   // --reverse
    ViewOptionHighlight = 0x10, // --highlight START:END
    ViewOptionBanner = 0x20,    // --banner
    ViewOptionBook = 0x40,      // --book FILE
    ViewOptionsAll = 0x7F,
};

// Takes the option at argv[*i] when it is one of `allowed`, with its value (*i then stands on
// the last argument taken). Returns 1 when taken, 0 when argv[*i] is no such option, -1 with
// `error` set when its value is missing or bad.
int parseViewOption(int argc, char** argv, int* i, unsigned allowed, ViewCommand& command,
                    std::string& error);

// A view laid out headless for a mode: the lesson command.lesson in a command.width x
// command.height image, with the chosen font in appState (cleared first) and command.book read.
struct HeadlessView {
    DcHandle dc;    // owned
    TextView* view; // owned, holding the lesson's text
};

// 0 with *out filled (release it with closeHeadlessView), or 2 after a message on standard
// error (nothing to release).
int openHeadlessView(const ViewCommand& command, HeadlessView* out);
void closeHeadlessView(HeadlessView* headless);

// Runs the mode: 0 done; 2 on any error, with a message on standard error.
int runViewCommand(int argc, char** argv);
