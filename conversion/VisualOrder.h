#pragma once
// Right-to-left text (Hebrew, Arabic) in the order it is drawn. A line is laid out by the
// Unicode bidirectional algorithm of GNU FriBidi, each line a paragraph of its own whose
// direction its first strong character gives; Arabic letters are joined by FriBidi's shaping,
// which replaces them with their presentation forms (initial, medial, final, isolated and the
// lam-alef ligatures). That is as far as a font without a shaping engine can go: marks are not
// positioned and scripts that need full shaping (Syriac, N'Ko) are not joined. The line is
// still left-aligned. Any thread.
#include <string>
#include <string_view>

// Whether the well-formed UTF-8 `line` holds a right-to-left character. Quick on text without
// any: only lines with bytes of the scripts' range are decoded.
bool HoldsRightToLeft(std::string_view line);

// The well-formed UTF-8 `line`, without line ends, in visual order with Arabic joined.
std::string VisualOrder(std::string_view line);
