#include "conversion/TextPreview.h"

#include "conversion/CidTypeface.h"
#include "conversion/ControlCharacters.h"
#include "platform/SystemMessage.h"
#include "conversion/TextFile.h"
#include "conversion/TextPlan.h"
#include "conversion/Transcode.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <unistd.h>

namespace {

// The encodings of the options' lists by position, as iconv names them. The PDF standard
// encoding and font-specific bytes have no converter of their own; Latin-1 reads their letters.
// Auto has no one charset: ReadTextPreview detects it per file, and its name only tells the
// window when a preview must be read again.
constexpr std::array<const char*, 30> kSingleByteCharsets = {
    "ISO-8859-1", "MACINTOSH", "CP1252", "ISO-8859-1", "ISO-8859-2", "ISO-8859-3", "ISO-8859-4",
    "ISO-8859-5", "ISO-8859-6", "ISO-8859-7", "ISO-8859-8", "ISO-8859-9", "ISO-8859-10", "ISO-8859-11",
    "ISO-8859-13", "ISO-8859-14", "ISO-8859-15", "ISO-8859-16", "CP1250", "CP1251", "CP1252", "CP1253",
    "CP1254", "CP1255", "CP1256", "CP1257", "CP1258", "KOI8-R", "UTF-8", "auto"};
constexpr std::array<const char*, 16> kMultiByteCharsets = {
    "EUC-CN", "EUC-CN", "GBK", "GBK", "CP950", "CP950", "CP932", "CP932", "CP932", "EUC-JP", "EUC-JP",
    "EUC-KR", "EUC-KR", "CP949", "CP949", "CP949"};

static_assert(kSingleByteCharsets.size() == SingleByteEncodings.size());
static_assert(kMultiByteCharsets.size() == MultiByteEncodings.size());

template <std::size_t N>
const char* CharsetAt(const std::array<const char*, N>& list, int index)
{
    return index >= 0 && index < int(N) ? list[index] : list[0];
}

std::string ReadPrefix(int fd, std::size_t maxBytes, bool& more, std::string& error)
{
    std::string bytes(maxBytes + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = SystemMessage(errno);
            return {};
        }
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    more = got > maxBytes;
    bytes.resize(std::min(got, maxBytes));
    return bytes;
}

} // namespace

std::string PreviewCharset(const ConversionOptions& options)
{
    if (options.PageFont == CidFont)
        return CharsetAt(kMultiByteCharsets, EffectiveMultiEncode(options));
    return CharsetAt(kSingleByteCharsets, options.SingeEncode);
}

std::string DecodeForDisplay(const std::string& bytes, const std::string& charset, bool more)
{
    std::string out = DecodeToUtf8(bytes, charset, more);
    std::replace(out.begin(), out.end(), '\r', '\n');
    return out;
}

TextPreview ReadTextPreview(const std::string& path, const ConversionOptions& options, std::size_t maxBytes)
{
    TextPreview preview;
    const RegularFile file = OpenRegularFile(path);
    if (file.fd < 0) {
        preview.error = file.error == kNotRegularFile || file.error == EISDIR ? "not a regular file"
                                                                               : SystemMessage(file.error);
        return preview;
    }
    preview.fileSize = file.size;
    bool more = false;
    std::string bytes = ReadPrefix(file.fd, maxBytes, more, preview.error);
    close(file.fd);
    if (!preview.error.empty())
        return preview;
    // Read as the conversion reads it, so that the preview shows what the PDF draws.
    FileText read = ReadFileText(options, std::move(bytes), more);
    // The PDF leaves them out, where a font would show boxes.
    DropControlCharacters(read.text);
    preview.cut = read.cut;
    preview.utf8 = DecodeForDisplay(read.text, read.decoded ? "UTF-8" : PreviewCharset(options), preview.cut);
    return preview;
}
