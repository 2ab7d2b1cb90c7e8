#pragma once
// A letter followed by combining marks, as some editors and systems save accented text ("e" and
// U+0301 for "é"), is drawn by a font without a shaping engine as two glyphs side by side: the
// accent stands after its letter. Composed (Unicode normalisation form C), the pair is the one
// character fonts draw. Marks that have no composed form (Hebrew points, Arabic vowel signs)
// stay as they are. Any thread.
#include <string>

// Composes the UTF-8 `text` in place. Text without combining marks, and malformed text, are left
// as they are; the first costs one pass over its bytes. Returns whether anything changed.
bool ComposeMarks(std::string& text);
