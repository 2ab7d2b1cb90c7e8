#include "conversion/Transcode.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

constexpr char kUtf8[] = "UTF-8";

iconv_t OpenDecoder(const std::string& charset)
{
    const iconv_t converter = iconv_open(kUtf8, charset.c_str());
    return converter != iconv_t(-1) ? converter : iconv_open(kUtf8, "ISO-8859-1");
}

// A bad unit is passed over whole: stepping one byte into UTF-16 or UTF-32 would read every
// character after it from the wrong byte.
std::size_t CodeUnitBytes(const std::string& charset)
{
    if (charset.starts_with("UTF-16") || charset.starts_with("UCS-2"))
        return 2;
    if (charset.starts_with("UTF-32") || charset.starts_with("UCS-4"))
        return 4;
    return 1;
}

} // namespace

std::string DecodeToUtf8(std::string_view bytes, const std::string& charset, bool more, std::size_t* replaced)
{
    std::string out;
    const iconv_t converter = OpenDecoder(charset);
    const std::size_t unitBytes = CodeUnitBytes(charset);
    out.reserve(bytes.size() * 2);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* next = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &next, &room);
        out.append(buffer, std::size_t(next - buffer));
        if (result != std::size_t(-1) || errno == E2BIG)
            continue;
        if (errno == EINVAL && more)
            break;
        out += kUtf8Replacement;
        if (replaced)
            ++*replaced;
        const std::size_t skipped = std::min(unitBytes, inLeft);
        in += skipped;
        inLeft -= skipped;
    }
    iconv_close(converter);
    return out;
}

bool ReadsCleanly(std::string_view bytes, const std::string& charset)
{
    const iconv_t probe = iconv_open(kUtf8, charset.c_str());
    if (probe == iconv_t(-1))
        return false;
    iconv_close(probe);
    std::size_t replaced = 0;
    DecodeToUtf8(bytes, charset, true, &replaced);
    return replaced == 0;
}
