#include "conversion/TrueTypeProgram.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace {

constexpr std::size_t kDirectoryStart = 12;
constexpr std::size_t kRecordSize = 16;
constexpr std::size_t kHheaMetricCountAt = 34;
constexpr std::size_t kHeadChecksumAdjustmentAt = 8;
constexpr std::uint32_t kChecksumMagic = 0xB1B0AFBA;

// A 'cmap' table with one Windows Unicode subtable of format 4 whose only segment is the one
// that must end every such subtable: it maps no character.
constexpr std::array<unsigned char, 36> kEmptyCharacterMap = {
    0, 0, 0, 1,                // version 0, one subtable
    0, 3, 0, 1, 0, 0, 0, 12,   // Windows, Unicode BMP, at offset 12
    0, 4, 0, 24, 0, 0,         // format 4, 24 bytes, language 0
    0, 2, 0, 2, 0, 0, 0, 0,    // one segment: segCountX2, searchRange, entrySelector, rangeShift
    0xFF, 0xFF, 0, 0,          // its end code, the reserved pad
    0xFF, 0xFF, 0, 1, 0, 0,    // its start code, delta, range offset
};

struct Table {
    std::string_view tag;
    std::span<const unsigned char> bytes;
};

std::uint32_t ReadU32(std::span<const unsigned char> bytes, std::size_t at)
{
    return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 | std::uint32_t(bytes[at + 2]) << 8 |
           bytes[at + 3];
}

unsigned ReadU16(std::span<const unsigned char> bytes, std::size_t at)
{
    return unsigned(bytes[at]) << 8 | bytes[at + 1];
}

void PutU32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value)
{
    for (int shift = 24, index = 0; shift >= 0; shift -= 8, ++index)
        bytes[at + index] = static_cast<unsigned char>(value >> shift);
}

// The sum of the big-endian 32-bit words of `bytes`, the last one padded with zeros.
std::uint32_t Checksum(std::span<const unsigned char> bytes)
{
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 4) {
        std::uint32_t word = 0;
        for (std::size_t index = 0; index < 4; ++index)
            word = word << 8 | (at + index < bytes.size() ? bytes[at + index] : 0);
        sum += word;
    }
    return sum;
}

std::optional<std::vector<Table>> ReadTables(std::span<const unsigned char> font)
{
    if (font.size() < kDirectoryStart)
        return std::nullopt;
    const std::size_t count = ReadU16(font, 4);
    if (font.size() < kDirectoryStart + count * kRecordSize)
        return std::nullopt;
    std::vector<Table> tables;
    for (std::size_t index = 0; index < count; ++index) {
        const std::size_t record = kDirectoryStart + index * kRecordSize;
        const std::uint32_t offset = ReadU32(font, record + 8);
        const std::uint32_t length = ReadU32(font, record + 12);
        if (offset > font.size() || length > font.size() - offset)
            return std::nullopt;
        tables.push_back({{reinterpret_cast<const char*>(font.data() + record), 4}, font.subspan(offset, length)});
    }
    return tables;
}

const Table* Find(const std::vector<Table>& tables, std::string_view tag)
{
    for (const Table& table : tables)
        if (table.tag == tag)
            return &table;
    return nullptr;
}

void Zero(std::vector<unsigned char>& bytes, std::size_t from, std::size_t to)
{
    for (std::size_t at = from; at < to && at < bytes.size(); ++at)
        bytes[at] = 0;
}

// What becomes of the horizontal metrics: of the `longMetrics` pairs of an advance and a left
// side bearing, the last advance taken by the glyphs after them, which have a bearing alone.
struct MetricsPlan {
    std::size_t longMetrics;
    std::size_t trimmedLongMetrics;
    const std::vector<bool>& usedGlyphs;
    std::span<const std::uint16_t> advances;
};

void AppendU16(std::vector<unsigned char>& bytes, unsigned value)
{
    bytes.push_back(static_cast<unsigned char>(value >> 8));
    bytes.push_back(static_cast<unsigned char>(value));
}

// How many long metrics the trimmed table needs: a used glyph after the last one whose advance is
// not the shared one gets a long metric of its own, and so does the glyph after it, so that the
// glyphs after that still take the shared advance.
std::size_t TrimmedLongMetrics(std::span<const unsigned char> metrics, std::size_t longMetrics,
                               const std::vector<bool>& usedGlyphs, std::span<const std::uint16_t> advances)
{
    const std::size_t glyphs = usedGlyphs.size();
    if (longMetrics == 0 || longMetrics > glyphs || metrics.size() < longMetrics * 4 + (glyphs - longMetrics) * 2)
        return longMetrics;
    const unsigned shared = ReadU16(metrics, (longMetrics - 1) * 4);
    std::size_t needed = longMetrics;
    for (std::size_t glyph = longMetrics; glyph < glyphs && glyph < advances.size(); ++glyph) {
        if (usedGlyphs[glyph] && advances[glyph] != shared)
            needed = std::min(glyph + 2, glyphs);
    }
    return needed;
}

// The horizontal metrics with those of unused glyphs zeroed (but for the shared advance) and
// each used glyph's advance the one the document gives it.
std::vector<unsigned char> TrimmedMetrics(std::span<const unsigned char> metrics, const MetricsPlan& plan)
{
    const std::size_t glyphs = plan.usedGlyphs.size();
    if (plan.longMetrics == 0 || plan.longMetrics > glyphs ||
        metrics.size() < plan.longMetrics * 4 + (glyphs - plan.longMetrics) * 2)
        return {metrics.begin(), metrics.end()};
    std::vector<unsigned char> trimmed;
    trimmed.reserve(plan.trimmedLongMetrics * 4 + (glyphs - plan.trimmedLongMetrics) * 2);
    for (std::size_t glyph = 0; glyph < glyphs; ++glyph) {
        const bool used = plan.usedGlyphs[glyph];
        const bool longMetric = glyph < plan.longMetrics;
        const unsigned bearing = used ? ReadU16(metrics, longMetric ? glyph * 4 + 2 : plan.longMetrics * 4 + (glyph - plan.longMetrics) * 2) : 0;
        if (glyph >= plan.trimmedLongMetrics) {
            AppendU16(trimmed, bearing);
            continue;
        }
        unsigned advance = ReadU16(metrics, longMetric ? glyph * 4 : (plan.longMetrics - 1) * 4);
        if (used && glyph < plan.advances.size())
            advance = plan.advances[glyph];
        else if (!used && glyph + 1 < plan.trimmedLongMetrics)
            advance = 0;
        AppendU16(trimmed, advance);
        AppendU16(trimmed, bearing);
    }
    return trimmed;
}

std::vector<unsigned char> TrimmedTable(const Table& table, const MetricsPlan& plan)
{
    if (table.tag == "post" && table.bytes.size() >= kGlyphNamesHeaderSize) {
        std::vector<unsigned char> post(table.bytes.begin(), table.bytes.begin() + kGlyphNamesHeaderSize);
        PutU32(post, 0, 0x00030000);
        return post;
    }
    if (table.tag == "cmap")
        return {kEmptyCharacterMap.begin(), kEmptyCharacterMap.end()};
    if (table.tag == "hmtx")
        return TrimmedMetrics(table.bytes, plan);
    std::vector<unsigned char> copy(table.bytes.begin(), table.bytes.end());
    // The whole file's checksum goes there once the file is complete.
    if (table.tag == "head")
        Zero(copy, kHeadChecksumAdjustmentAt, kHeadChecksumAdjustmentAt + 4);
    if (table.tag == "hhea") {
        copy[kHheaMetricCountAt] = static_cast<unsigned char>(plan.trimmedLongMetrics >> 8);
        copy[kHheaMetricCountAt + 1] = static_cast<unsigned char>(plan.trimmedLongMetrics);
    }
    return copy;
}

// The groups of the full Unicode subtable (format 12) of a character map, 12 bytes each: the
// first and last character and the first one's glyph. Empty when there is none.
std::span<const unsigned char> FullUnicodeGroups(std::span<const unsigned char> map)
{
    if (map.size() < 4)
        return {};
    const std::size_t count = ReadU16(map, 2);
    for (std::size_t record = 4; record + 8 <= map.size() && record < 4 + count * 8; record += 8) {
        const unsigned platform = ReadU16(map, record);
        const unsigned encoding = ReadU16(map, record + 2);
        const std::size_t at = ReadU32(map, record + 4);
        const bool fullUnicode = (platform == 3 && encoding == 10) || (platform == 0 && (encoding == 4 || encoding == 6));
        if (!fullUnicode || at > map.size() || map.size() - at < 16 || ReadU16(map, at) != 12)
            continue;
        const std::size_t groups = ReadU32(map, at + 12);
        if (groups <= (map.size() - at - 16) / 12)
            return map.subspan(at + 16, groups * 12);
    }
    return {};
}

} // namespace

unsigned GlyphBeyondBmp(std::span<const unsigned char> characterMap, char32_t character)
{
    const std::span<const unsigned char> groups = FullUnicodeGroups(characterMap);
    // The groups are sorted and do not overlap.
    std::size_t low = 0;
    std::size_t high = groups.size() / 12;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        const std::uint32_t first = ReadU32(groups, middle * 12);
        const std::uint32_t last = ReadU32(groups, middle * 12 + 4);
        if (character < first)
            high = middle;
        else if (character > last)
            low = middle + 1;
        else
            return unsigned(ReadU32(groups, middle * 12 + 8) + (character - first));
    }
    return 0;
}

std::vector<unsigned char> TrimmedFontProgram(std::span<const unsigned char> font, const std::vector<bool>& usedGlyphs,
                                              std::span<const std::uint16_t> advances)
{
    const auto tables = ReadTables(font);
    const Table* hhea = tables ? Find(*tables, "hhea") : nullptr;
    if (!hhea || hhea->bytes.size() < kHheaMetricCountAt + 2)
        return {};
    const std::size_t longMetrics = ReadU16(hhea->bytes, kHheaMetricCountAt);
    const Table* hmtx = Find(*tables, "hmtx");
    const MetricsPlan plan{longMetrics,
                           hmtx ? TrimmedLongMetrics(hmtx->bytes, longMetrics, usedGlyphs, advances) : longMetrics,
                           usedGlyphs, advances};

    std::vector<unsigned char> trimmed(font.begin(), font.begin() + kDirectoryStart + tables->size() * kRecordSize);
    std::size_t headAt = 0;
    for (std::size_t index = 0; index < tables->size(); ++index) {
        const Table& table = (*tables)[index];
        const std::vector<unsigned char> bytes = TrimmedTable(table, plan);
        const std::size_t record = kDirectoryStart + index * kRecordSize;
        if (table.tag == "head" && bytes.size() >= kHeadChecksumAdjustmentAt + 4)
            headAt = trimmed.size();
        PutU32(trimmed, record + 4, Checksum(bytes));
        PutU32(trimmed, record + 8, std::uint32_t(trimmed.size()));
        PutU32(trimmed, record + 12, std::uint32_t(bytes.size()));
        trimmed.insert(trimmed.end(), bytes.begin(), bytes.end());
        trimmed.resize((trimmed.size() + 3) / 4 * 4, 0);
    }
    if (headAt != 0)
        PutU32(trimmed, headAt + kHeadChecksumAdjustmentAt, kChecksumMagic - Checksum(trimmed));
    return trimmed;
}
