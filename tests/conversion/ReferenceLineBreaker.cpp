#include "ReferenceLineBreaker.h"

namespace {

constexpr std::size_t npos = std::string::npos;

double TextWidth(HPDF_Page page, const std::string& text)
{
    return HPDF_Page_TextWidth(page, text.c_str());
}

// The text before the first space before which R is wider than the line, or all of R.
std::string Candidate(HPDF_Page page, double width, const MultiByteCharset& charset, const std::string& rest)
{
    for (std::size_t space = charset.Find(rest, ' '); space != npos; space = charset.Find(rest, ' ', space + 1)) {
        if (TextWidth(page, rest.substr(0, space)) > width)
            return rest.substr(0, space);
    }
    return rest;
}

// The chosen rule for a text without any break point: the longest head of whole characters
// that fits, at least one character.
std::size_t LongestFittingHead(HPDF_Page page, double width, const MultiByteCharset& charset,
                               const std::string& text)
{
    std::size_t fits = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        pos += charset.CharLengthAt(text, pos);
        if (TextWidth(page, text.substr(0, pos)) > width)
            break;
        fits = pos;
    }
    return fits > 0 ? fits : charset.CharLengthAt(text, 0);
}

} // namespace

std::string ReferenceTakeLine(HPDF_Page page, double width, const MultiByteCharset& charset,
                              std::string& rest)
{
    std::string k = Candidate(page, width, charset, rest);

    const std::size_t cr = charset.Find(k, '\r');
    if (cr != npos) {
        k.resize(cr);
        if (TextWidth(page, k) <= width) {
            rest.erase(0, cr + 1);
            return k;
        }
    }

    const std::size_t lastSpace = charset.FindLast(k, ' ');
    const long s = lastSpace == npos ? -1 : long(lastSpace);
    const long m = long(HPDF_Page_MeasureText(page, k.c_str(), HPDF_REAL(width), HPDF_TRUE, nullptr));
    std::size_t taken;
    if (m - 1 > s)
        taken = std::size_t(m);
    else if (s == -1)
        taken = LongestFittingHead(page, width, charset, k);
    else if (long(TextWidth(page, k)) < width)
        taken = rest.size();
    else
        taken = std::size_t(s + 1);
    std::string line = rest.substr(0, taken);
    rest.erase(0, taken);
    return line;
}
