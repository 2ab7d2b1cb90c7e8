#include "conversion/ObjectStreams.h"

#include <libdeflate.h>

#include <algorithm>
#include <charconv>
#include <memory>
#include <optional>
#include <vector>

namespace {

// zlib's default level, as for the pages.
constexpr int kCompressionLevel = 4;
// A stream of more objects compresses better, one of fewer is quicker for a reader to open.
constexpr std::size_t kObjectsPerStream = 200;
constexpr std::size_t kTableEntryBytes = 20; // "0000000123 00000 n\r\n"
constexpr char kLayoutFailure[] = "The finished PDF is not laid out as the PDF library lays it out, so its objects "
                                  "could not be packed.";

// What the library wrote: the header, each object's whole text by its number (none for 0), where
// the table begins, and the trailer's entries but /Size, one a line.
struct LibraryLayout {
    std::string_view header;
    std::vector<std::string_view> objects;
    std::size_t tableOffset = 0;
    std::string trailerEntries;
};

std::optional<std::size_t> ReadNumber(std::string_view text, std::size_t& pos)
{
    std::size_t value = 0;
    const auto [end, failure] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (failure != std::errc{})
        return std::nullopt;
    pos = std::size_t(end - text.data());
    return value;
}

bool Expect(std::string_view text, std::size_t& pos, std::string_view expected)
{
    if (text.substr(pos, expected.size()) != expected)
        return false;
    pos += expected.size();
    return true;
}

// The table's offsets by object number; 0 for the head of the free list.
std::optional<std::vector<std::size_t>> ReadTable(std::string_view pdf, std::size_t& pos)
{
    const std::optional<std::size_t> count = ReadNumber(pdf, pos);
    if (!count || *count == 0 || !Expect(pdf, pos, "\n") || (pdf.size() - pos) / kTableEntryBytes < *count)
        return std::nullopt;
    std::vector<std::size_t> offsets(*count);
    for (std::size_t number = 0; number < *count; ++number, pos += kTableEntryBytes) {
        const std::string_view entry = pdf.substr(pos, kTableEntryBytes);
        std::size_t at = 0;
        const std::optional<std::size_t> offset = ReadNumber(entry, at);
        if (!offset || entry.substr(10, 8) != (number == 0 ? " 65535 f" : " 00000 n"))
            return std::nullopt;
        offsets[number] = *offset;
    }
    return offsets;
}

std::optional<std::string> TrailerEntries(std::string_view pdf, std::size_t pos)
{
    const std::size_t end = pdf.find(">>\nstartxref\n", pos);
    if (!Expect(pdf, pos, "trailer\n<<\n") || end == std::string_view::npos)
        return std::nullopt;
    std::string entries;
    for (std::size_t line = pos; line < end;) {
        const std::size_t next = pdf.find('\n', line) + 1;
        if (pdf.substr(line, 6) != "/Size ")
            entries += pdf.substr(line, next - line);
        line = next;
    }
    return entries;
}

// Each object runs from its offset to the next object's, or to the table.
bool CutObjects(std::string_view pdf, const std::vector<std::size_t>& offsets, LibraryLayout& layout)
{
    std::vector<std::size_t> order(offsets.size() - 1);
    for (std::size_t number = 1; number < offsets.size(); ++number)
        order[number - 1] = number;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return offsets[a] < offsets[b]; });
    layout.objects.assign(offsets.size(), {});
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::size_t begin = offsets[order[i]];
        const std::size_t end = i + 1 < order.size() ? offsets[order[i + 1]] : layout.tableOffset;
        if (begin >= end)
            return false;
        const std::string_view object = pdf.substr(begin, end - begin);
        if (!object.starts_with(std::to_string(order[i]) + " 0 obj\n") || !object.ends_with("\nendobj\n"))
            return false;
        layout.objects[order[i]] = object;
    }
    layout.header = pdf.substr(0, order.empty() ? layout.tableOffset : offsets[order.front()]);
    return true;
}

std::optional<LibraryLayout> ReadLayout(std::string_view pdf)
{
    LibraryLayout layout;
    std::size_t pos = pdf.rfind("\nstartxref\n");
    if (pos == std::string_view::npos)
        return std::nullopt;
    pos += 11;
    const std::optional<std::size_t> tableOffset = ReadNumber(pdf, pos);
    if (!tableOffset || *tableOffset >= pdf.size())
        return std::nullopt;
    layout.tableOffset = pos = *tableOffset;
    if (!Expect(pdf, pos, "xref\n0 "))
        return std::nullopt;
    const std::optional<std::vector<std::size_t>> offsets = ReadTable(pdf, pos);
    std::optional<std::string> trailer = offsets ? TrailerEntries(pdf, pos) : std::nullopt;
    if (!trailer || !CutObjects(pdf, *offsets, layout))
        return std::nullopt;
    layout.trailerEntries = std::move(*trailer);
    return layout;
}

bool IsStream(std::string_view object)
{
    return object.ends_with("endstream\nendobj\n");
}

// The value of an object, without its "N 0 obj" and "endobj" nor the line end before that.
std::string_view ObjectValue(std::string_view object)
{
    const std::size_t begin = object.find('\n') + 1;
    return object.substr(begin, object.size() - begin - 8);
}

// A cross-reference stream entry: type 0 (free), 1 (at an offset) or 2 (in an object stream).
struct Entry {
    unsigned char type = 0;
    std::size_t field = 0;  // offset, or the number of the object stream
    std::size_t second = 0; // generation, or the index in the object stream
};

struct FreeCompressor {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

class PackedWriter {
public:
    PackedWriter(const std::function<bool(std::string_view)>& write, std::size_t objectCount)
        : m_write(write), m_entries(objectCount), m_compressor(libdeflate_alloc_compressor(kCompressionLevel))
    {
        m_entries[0] = {0, 0, 0xFFFF};
    }

    bool HasCompressor() const { return m_compressor != nullptr; }

    bool Put(std::string_view bytes)
    {
        m_written += bytes.size();
        return m_write(bytes);
    }

    bool PutObject(std::size_t number, std::string_view object)
    {
        m_entries[number] = {1, m_written, 0};
        return Put(object);
    }

    bool PutObjectStream(const std::vector<std::size_t>& numbers, const std::vector<std::string_view>& values)
    {
        const std::size_t streamNumber = m_entries.size();
        std::string index;
        std::string packed;
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            m_entries[numbers[i]] = {2, streamNumber, i};
            index += std::to_string(numbers[i]) + ' ' + std::to_string(packed.size()) + ' ';
            packed += values[numbers[i]];
            packed += '\n';
        }
        m_entries.emplace_back();
        return PutStream(streamNumber, "/Type /ObjStm\n/N " + std::to_string(numbers.size()) + "\n/First " +
                                           std::to_string(index.size()) + '\n',
                         index + packed);
    }

    // The cross-reference stream, which is the last object, and the end of the file.
    bool Finish(const std::string& trailerEntries)
    {
        const std::size_t xrefOffset = m_written;
        m_entries.push_back({1, xrefOffset, 0});
        const std::size_t width = FieldWidth(std::max(xrefOffset, m_entries.size()));
        const std::size_t columns = 1 + width + 2;
        const std::string dictionary = "/Type /XRef\n/Size " + std::to_string(m_entries.size()) + "\n/W [ 1 " +
                                       std::to_string(width) + " 2 ]\n" + trailerEntries +
                                       "/DecodeParms <<\n/Columns " + std::to_string(columns) + "\n/Predictor 12\n>>\n";
        return PutStream(m_entries.size() - 1, dictionary, EntryRows(width)) &&
               Put("startxref\n" + std::to_string(xrefOffset) + "\n%%EOF\n");
    }

    bool CompressorFailed() const { return m_compressionFailed; }

private:
    static std::size_t FieldWidth(std::size_t largest)
    {
        std::size_t width = 1;
        while (width < sizeof largest && (largest >> (8 * width)) != 0)
            ++width;
        return width;
    }

    // The entries as rows of big-endian fields, each row given as its difference from the row
    // above (the PNG "up" predictor), which leaves the compression runs of zeros.
    std::string EntryRows(std::size_t width) const
    {
        const std::size_t columns = 1 + width + 2;
        std::string rows;
        rows.reserve(m_entries.size() * (columns + 1));
        std::string row(columns, '\0');
        std::string above(columns, '\0');
        for (const Entry& entry : m_entries) {
            row[0] = char(entry.type);
            for (std::size_t byte = 0; byte < width; ++byte)
                row[1 + byte] = char(entry.field >> (8 * (width - 1 - byte)));
            row[columns - 2] = char(entry.second >> 8);
            row[columns - 1] = char(entry.second);
            rows += '\x02';
            for (std::size_t column = 0; column < columns; ++column)
                rows += char(row[column] - above[column]);
            above = row;
        }
        return rows;
    }

    // The stream object `number` holding `bytes` deflated, its dictionary `entries` and the
    // filter's.
    bool PutStream(std::size_t number, const std::string& entries, std::string_view bytes)
    {
        std::string deflated(libdeflate_zlib_compress_bound(m_compressor.get(), bytes.size()), '\0');
        const std::size_t size =
            libdeflate_zlib_compress(m_compressor.get(), bytes.data(), bytes.size(), deflated.data(), deflated.size());
        if (size == 0) {
            m_compressionFailed = true;
            return false;
        }
        deflated.resize(size);
        m_entries[number] = {1, m_written, 0};
        return Put(std::to_string(number) + " 0 obj\n<<\n" + entries + "/Filter /FlateDecode\n/Length " +
                   std::to_string(size) + "\n>>\nstream\n") &&
               Put(deflated) && Put("\nendstream\nendobj\n");
    }

    const std::function<bool(std::string_view)>& m_write;
    std::vector<Entry> m_entries;
    std::unique_ptr<libdeflate_compressor, FreeCompressor> m_compressor;
    std::size_t m_written = 0;
    bool m_compressionFailed = false;
};

// The values of the objects that are not streams, by number, the caller's own among them; empty
// for streams. Empty altogether when the caller's replace an object that is not there or a stream.
std::vector<std::string_view> PackedValues(const LibraryLayout& layout, const OwnObjects& own)
{
    std::vector<std::string_view> values(layout.objects.size());
    for (std::size_t number = 1; number < layout.objects.size(); ++number)
        if (!IsStream(layout.objects[number]))
            values[number] = ObjectValue(layout.objects[number]);
    for (const auto& [number, value] : own.replaced) {
        if (number >= values.size() || values[number].empty())
            return {};
        values[number] = value;
    }
    values.insert(values.end(), own.added.begin(), own.added.end());
    return values;
}

bool WritePacked(const LibraryLayout& layout, const std::vector<std::string_view>& values, PackedWriter& writer)
{
    if (!writer.Put(layout.header))
        return false;
    std::vector<std::size_t> packed;
    for (std::size_t number = 1; number < values.size(); ++number) {
        if (!values[number].empty())
            packed.push_back(number);
        else if (!writer.PutObject(number, layout.objects[number]))
            return false;
    }
    for (std::size_t first = 0; first < packed.size(); first += kObjectsPerStream) {
        const std::size_t end = std::min(packed.size(), first + kObjectsPerStream);
        const std::vector<std::size_t> group(packed.begin() + std::ptrdiff_t(first), packed.begin() + std::ptrdiff_t(end));
        if (!writer.PutObjectStream(group, values))
            return false;
    }
    return writer.Finish(layout.trailerEntries);
}

} // namespace

bool WriteWithObjectStreams(std::string_view pdf, const std::function<bool(std::string_view)>& write,
                            std::string& error, const OwnObjectsMaker& own)
{
    error.clear();
    const std::optional<LibraryLayout> layout = ReadLayout(pdf);
    const OwnObjects owned = layout && own ? own(layout->objects.size()) : OwnObjects{};
    const std::vector<std::string_view> values = layout ? PackedValues(*layout, owned) : std::vector<std::string_view>{};
    if (values.empty()) {
        error = kLayoutFailure;
        return false;
    }
    PackedWriter writer(write, values.size());
    if (!writer.HasCompressor()) {
        error = "Packing the PDF's objects failed: out of memory for the compressor.";
        return false;
    }
    if (WritePacked(*layout, values, writer))
        return true;
    if (writer.CompressorFailed())
        error = "Packing the PDF's objects failed: the compression did not fit its room.";
    return false;
}
