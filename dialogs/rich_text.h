// The lesson's text as a Rich Text document, which word processors paste with its Hebrew, its
// paragraphs and its right-to-left layout.
#pragma once
#include <cstddef>

// The document's fixed pieces (8-bit, CR LF at the end of each).
inline constexpr char kRtfHeader[] =
    R"({\rtf1\ansi\deff0{\fonttbl{\f0\fcharset177\cpg1255 David;}})"
    R"({\colortbl\red0\green0\blue0;\red255\green255\blue255;\red255\green0\blue0;})"
    R"(\rtldoc\pard\rtlpar\qr\lang1033\f0\fs20\uc0)"
    "\r\n";
inline constexpr char kRtfParagraph[] = "\\par\\par\r\n";
// Between two appended lessons: a centred line of five red stars, 36 points, bold, then back
// to right-aligned 10-point black.
inline constexpr char kRtfSeparator[] = R"(\qc\cf2\fs72\b*  *  *  *  *\b0\par\par\qr\fs20\cf0)"
                                        "\r\n";
// What the appended part sets after the separator, whatever the document before it left: a
// plain right-to-left, right-aligned paragraph, and escapes without fallback characters (a word
// processor's own documents declare one: \uc1).
inline constexpr char kRtfAppendedState[] = "\\pard\\rtlpar\\qr\\uc0\r\n";
inline constexpr char kRtfClosing[] = "}\r\n";
static_assert(sizeof kRtfHeader == 181 && sizeof kRtfParagraph == 11 &&
              sizeof kRtfSeparator == 53 && sizeof kRtfClosing == 4);

// A Hebrew presentation form and its canonical decomposition (unused units are 0).
struct HebrewDecomposition {
    char16_t code;
    char16_t units[3];
};
// The 27 presentation forms written as their decompositions, then an entry with code 0.
extern const HebrewDecomposition hebrewDecompositions[28];

// Bytes that textToRtfBody needs for `text` (0-terminated), the ending 0 included.
size_t measureRtfBody(const char16_t* text);

// The body of a document for `text` (0-terminated): printable ASCII and spaces as themselves
// ('\', '{' and '}' escaped; "{}" between two spaces in a row), each run of CR and LF one paragraph
// break, every other unit as \uN (a presentation form as its decomposition; one space after N,
// which a reader drops, when a digit or a space follows), and a paragraph break at the end. Returns
// a new 0-terminated buffer (plainFree), or null when memory is short (through checkedAlloc).
char* textToRtfBody(const char16_t* text);

// The document that Copy (previousLength 0) or Append makes: header, body and closing; or, after
// a previous Rich Text document (previousLength bytes, no ending 0 needed), that document up to
// the brace that closes it (what follows that brace is dropped; a document cut short has the
// groups it left open closed), the separator, kRtfAppendedState, the body and the closing.
// Previous content that does not start with "{\rtf" (plain text, binary data, blanks) counts as
// none: the result is a new document. Returns a new block from
// plainAlloc holding the document and an ending 0, the bytes it fills (that 0 included) in
// *bytes; null when memory is short.
char* richTextDocument(const char* previous, size_t previousLength, const char16_t* text,
                       size_t* bytes);
