#pragma once
// The line-breaking steps written out one by one, exactly as they read, with the library doing
// every measurement on the whole strings in question. Slow (each candidate prefix is measured
// anew) and limited to texts the library accepts in one call; kept as the reference the fast
// LineBreaker must match line for line.
#include "platform/MultiByteCharset.h"

#include <hpdf.h>

#include <string>

// Takes one line from the head of `rest` (not empty) and returns it; `rest` loses the line and
// the CR that ended it.
std::string ReferenceTakeLine(HPDF_Page page, double width, const MultiByteCharset& charset,
                              std::string& rest);
