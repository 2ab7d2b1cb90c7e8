#pragma once
// The letters behind the Arabic presentation forms that joining draws (initial, medial, final
// and isolated forms, the lam-alef ligatures): what a reader should give back when the drawn
// text is copied or searched. Any thread.
#include <string>

// The letters `form` stands for (two for a lam-alef ligature), as its compatibility
// decomposition, recomposed, gives them; empty when `form` is no presentation form of a letter.
std::u16string ArabicBaseLetters(char16_t form);
