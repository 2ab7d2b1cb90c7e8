#pragma once
// Right-to-left text (Hebrew, Arabic) in the order it is drawn. A line is laid out by the
// Unicode bidirectional algorithm of GNU FriBidi, each line a paragraph of its own whose
// direction its first strong character gives; Arabic letters are joined by FriBidi's shaping,
// which replaces them with their presentation forms (initial, medial, final, isolated and the
// lam-alef ligatures). That is as far as a font without a shaping engine can go: a mark stands
// where the font draws it over its letter, not placed by the font's anchors, and scripts that need
// full shaping (Syriac, N'Ko) are not joined. The line is
// still left-aligned. Any thread.
//
// `standIns` are the private codes that draw characters beyond U+FFFF (StandInCodes.h): the
// order is that of the characters they stand for, and they stay in the line as they were.
// `mirrored` gives the stand-ins that draw mirror images: a character that right-to-left text
// shows mirrored is drawn through its stand-in, so that it still reads as itself.
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Whether the well-formed UTF-8 `line` holds a right-to-left character. Quick on text without
// any: only lines with bytes of the scripts' range are decoded.
bool HoldsRightToLeft(std::string_view line, const std::map<char16_t, char32_t>& standIns = {});

// Whether the first letter of the well-formed UTF-8 `line` that has a direction of its own
// runs right to left, which makes the line a right-to-left paragraph.
bool StartsRightToLeft(std::string_view line);

// Whether `c` only steers the order of the text around it (the marks, embeddings, overrides
// and isolates): the reordering takes it in, and it is never drawn nor given a width.
bool IsDirectionControl(char32_t c);

// Whether `c` is a mark of a right-to-left script (a Hebrew point, an Arabic vowel sign) meant to
// take no room of its own: drawn at the same place as its letter, over or under it.
bool IsRightToLeftMark(char32_t c);

// Takes the direction controls out of the well-formed UTF-8 `line`, a line drawn as it is.
void RemoveDirectionControls(std::string& line);

// The well-formed UTF-8 `line`, without line ends, in visual order with Arabic joined and the
// direction controls left out.
std::string VisualOrder(std::string_view line, const std::map<char16_t, char32_t>& standIns = {},
                        const std::map<char32_t, char16_t>& mirrored = {});

// A line drawn so that whoever reads the page's content in the order it was drawn (the text of
// a tagged document's structure) meets its characters in the order of the text, while the page
// shows them in visual order: the visual line cut into pieces that each run left to right on
// the page, listed in the order of the text.
struct ReadingPiece {
    std::string text;        // UTF-8, shaped as in the visual line
    std::size_t visualStart; // characters of the visual line left of the piece

    bool operator==(const ReadingPiece&) const = default;
};
struct ReorderedLine {
    std::string visual; // as VisualOrder gives it
    std::vector<ReadingPiece> pieces;
};
ReorderedLine Reordered(std::string_view line, const std::map<char16_t, char32_t>& standIns = {},
                        const std::map<char32_t, char16_t>& mirrored = {});
