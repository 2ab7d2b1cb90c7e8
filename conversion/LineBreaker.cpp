#include "conversion/LineBreaker.h"

#include "conversion/UnicodeBreaks.h"

#include <algorithm>

namespace {
constexpr char kSpace = ' ';
constexpr char kLineEnd = '\r';
constexpr std::size_t npos = std::string_view::npos;
// The longest text the library measures or shows in one call.
constexpr std::size_t kMostLibraryBytes = HPDF_LIMIT_MAX_STRING_LEN - 1;
// How many bytes past the overflow the Unicode rules see: the context that decides a break.
constexpr std::size_t kBreakContext = 32;
// How many characters past the overflow the library's measure is first shown; it adds widths
// in single precision, so its overflow can come a character or so after ours.
constexpr std::size_t kMeasureSlack = 16;
} // namespace

// What a walk from the head of the text found: a line end that comes first, the end of the
// text, or the first character that makes the text wider than the line.
struct LineBreaker::Scan {
    enum Stop { LineEnd, TextEnd, Overflow } stop = TextEnd;
    std::size_t position = 0;   // the CR, the text's size, or the end of the overflowing char
    std::size_t fitEnd = 0;     // the longest head of whole characters that fits
    std::size_t lastSpace = npos;
    long widthSum = 0;          // the width of the text before `position`
};

LineBreaker::LineBreaker(HPDF_Page page, HPDF_Font font, float fontSize, double width,
                         const MultiByteCharset& charset, std::vector<HPDF_Font> fallbacks)
    : m_page(page), m_width(width), m_charset(charset), m_widths(font, fontSize, charset, std::move(fallbacks))
{
}

std::string_view LineBreaker::TakeLine(std::string_view& rest)
{
    const Scan scan = ScanToOverflow(rest);
    std::size_t taken; // bytes of the line
    std::size_t used;  // bytes removed from the text: the line and its CR
    if (scan.stop == Scan::LineEnd) {
        taken = scan.position;
        used = taken + 1;
    } else if (m_unicodeBreaks && scan.stop == Scan::Overflow) {
        taken = UnicodeBreak(rest, scan);
        used = taken;
    } else {
        const std::size_t measured = MeasureCandidate(rest, scan);
        const bool pastLastSpace = scan.lastSpace == npos || measured > scan.lastSpace + 1;
        if (measured > 0 && pastLastSpace)
            taken = measured;
        else if (scan.lastSpace == npos)
            taken = std::max(scan.fitEnd, m_charset.CharLengthAt(rest, 0));
        // The library adds widths in single precision and can find the last of the text too
        // wide for the line where the exact sum says it fits; the exact sum decides.
        else if (scan.stop == Scan::TextEnd && long(m_widths.Points(scan.widthSum)) < m_width)
            taken = rest.size();
        else
            taken = scan.lastSpace + 1;
        used = taken;
    }
    // The library draws no more bytes at once than it measures: a longer line, however little
    // of it draws, goes on in the next line.
    if (taken > kMostLibraryBytes)
        taken = used = m_charset.WholeCharsWithin(rest, kMostLibraryBytes);
    const std::string_view line = rest.substr(0, taken);
    rest.remove_prefix(used);
    return line;
}

LineBreaker::Scan LineBreaker::ScanToOverflow(std::string_view rest)
{
    Scan scan;
    std::size_t pos = 0;
    while (pos < rest.size()) {
        if (rest[pos] == kLineEnd) {
            scan.stop = Scan::LineEnd;
            scan.position = pos;
            return scan;
        }
        if (rest[pos] == kSpace)
            scan.lastSpace = pos;
        const std::size_t length = m_charset.CharLengthAt(rest, pos);
        scan.widthSum += m_widths.CharWidth(rest, pos, length);
        pos += length;
        if (!Fits(scan.widthSum)) {
            scan.stop = Scan::Overflow;
            scan.position = pos;
            return scan;
        }
        scan.fitEnd = pos;
    }
    scan.position = pos;
    return scan;
}

// The candidate line ends at the first space or CR at or after `from` (the text before it is
// already too wide), or at the end of the text. Looks no further than `limit`; npos when the
// end lies beyond it.
std::size_t LineBreaker::FindCandidateEnd(std::string_view rest, std::size_t from,
                                          std::size_t limit) const
{
    const std::size_t stop = std::min(limit, rest.size());
    for (std::size_t pos = from; pos < stop; pos += m_charset.CharLengthAt(rest, pos)) {
        if (rest[pos] == kSpace || rest[pos] == kLineEnd)
            return pos;
    }
    return stop == rest.size() ? rest.size() : npos;
}

// The library's word-wrap count for the candidate. The library stops at the first character
// that overflows, so it is shown only a head of the candidate that reaches past that point;
// when it takes the whole head, the head may have ended too early and is doubled.
std::size_t LineBreaker::MeasureCandidate(std::string_view rest, const Scan& scan)
{
    if (m_widths.HasFallbacks())
        return 0;
    if (scan.stop == Scan::TextEnd)
        return LibraryMeasure(rest);
    std::size_t from = scan.position;
    std::size_t limit = AdvanceChars(rest, from, kMeasureSlack);
    for (;;) {
        const std::size_t candidateEnd = FindCandidateEnd(rest, from, limit);
        if (candidateEnd != npos)
            return LibraryMeasure(rest.substr(0, candidateEnd));
        const std::size_t measured = LibraryMeasure(rest.substr(0, limit));
        if (measured < limit)
            return measured;
        from = limit;
        limit = AdvanceChars(rest, limit, limit);
    }
}

// The library's word-wrap count for the head of `text` that it takes at once.
std::size_t LineBreaker::LibraryMeasure(std::string_view text)
{
    m_buffer.assign(text.substr(0, m_charset.WholeCharsWithin(text, kMostLibraryBytes)));
    return HPDF_Page_MeasureText(m_page, m_buffer.c_str(), static_cast<HPDF_REAL>(m_width),
                                 HPDF_TRUE, nullptr);
}

std::size_t LineBreaker::AdvanceChars(std::string_view text, std::size_t pos,
                                      std::size_t count) const
{
    for (; count > 0 && pos < text.size(); --count)
        pos += m_charset.CharLengthAt(text, pos);
    return pos;
}

// The last break the Unicode rules allow in the head that fits, else a cut after the last
// character that fits. The rules are first asked about the last word only, which holds the
// break in all but unusual text, so that their work per line stays small.
std::size_t LineBreaker::UnicodeBreak(std::string_view rest, const Scan& scan) const
{
    // The line end is looked for in the context only: the rest of a long line may be the file.
    const std::string_view context = rest.substr(0, scan.position + kBreakContext);
    const std::size_t end = std::min(context.find(kLineEnd), context.size());
    std::size_t start = scan.lastSpace == npos ? 0 : scan.lastSpace - std::min(scan.lastSpace, kBreakContext);
    while (start > 0 && (static_cast<unsigned char>(rest[start]) & 0xC0) == 0x80)
        --start;
    std::size_t taken = start + LastUnicodeBreak(rest.substr(start, end - start), scan.fitEnd - start, *m_standIns);
    if (taken == start && start > 0)
        taken = LastUnicodeBreak(rest.substr(0, end), scan.fitEnd, *m_standIns);
    return taken > 0 ? taken : std::max(scan.fitEnd, m_charset.CharLengthAt(rest, 0));
}
