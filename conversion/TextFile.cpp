#include "conversion/TextFile.h"

#include "platform/MemoryLimit.h"
#include "platform/SystemMessage.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int NotRegularError(mode_t mode)
{
    return S_ISDIR(mode) ? EISDIR : kNotRegularFile;
}

TextFileContent Failed(std::string error)
{
    TextFileContent content;
    content.error = std::move(error);
    return content;
}

std::uint64_t PhysicalMemory()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? std::uint64_t(pages) * std::uint64_t(pageSize) : UINT64_MAX;
}

std::string Gigabytes(std::uint64_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f GB", double(bytes) / 1e9);
    return text;
}

TextFileContent ReadBytesToEnd(int fd, std::size_t expectedSize)
{
    TextFileContent content;
    content.text.reserve(expectedSize);
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got == 0)
            break;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Failed(SystemMessage(errno));
        content.text.append(chunk, static_cast<std::size_t>(got));
    }
    return content;
}

TextFileContent InTextMode(TextFileContent content)
{
    content.note = TextEndNote(content.text);
    ApplyTextMode(content.text);
    return content;
}

} // namespace

bool ApplyTextMode(std::string& bytes)
{
    const auto end = std::find_if(bytes.begin(), bytes.end(), [](char byte) { return byte == '\x1A' || byte == '\0'; });
    const bool whole = end == bytes.end();
    bytes.erase(end, bytes.end());
    FoldCrLf(bytes);
    return whole;
}

void FoldCrLf(std::string& bytes)
{
    // A CR that is not followed by LF stays; only the pair shrinks to LF.
    std::size_t out = bytes.find("\r\n");
    if (out == std::string::npos)
        return;
    for (std::size_t in = out; in < bytes.size(); ++in) {
        if (bytes[in] == '\r' && in + 1 < bytes.size() && bytes[in + 1] == '\n')
            continue;
        bytes[out++] = bytes[in];
    }
    bytes.resize(out);
}

std::string TextEndNote(std::string_view bytes)
{
    std::string note;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        note = "The file looks like UTF-16 (it starts with a UTF-16 byte-order mark), which the chosen "
               "encoding does not read; choose the encoding Auto (SingeEncode=29). ";
    // find_first_of would look each byte up in the two marks with a call of its own.
    const std::size_t end = static_cast<std::size_t>(
        std::find_if(bytes.begin(), bytes.end(), [](char byte) { return byte == '\x1A' || byte == '\0'; }) - bytes.begin());
    if (end != bytes.size()) {
        const std::size_t rest = bytes.size() - end;
        note += std::string("The text ends at the ") + (bytes[end] == '\0' ? "zero byte" : "Ctrl+Z (an old end-of-file mark)") +
                " at offset " + std::to_string(end) + "; the remaining " + std::to_string(rest) +
                (rest == 1 ? " byte was" : " bytes were") + " not converted.";
    }
    if (note.ends_with(' '))
        note.pop_back();
    return note;
}

RegularFile OpenRegularFile(const std::string& path)
{
    RegularFile file;
    // Opening a named pipe waits for a writer, for good if none comes: look before opening.
    struct stat facts {};
    if (stat(path.c_str(), &facts) != 0) {
        file.error = errno;
        return file;
    }
    if (!S_ISREG(facts.st_mode)) {
        file.error = NotRegularError(facts.st_mode);
        return file;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        file.error = errno;
        return file;
    }
    // The name may have come to stand for something else in between.
    if (fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode)) {
        file.error = S_ISREG(facts.st_mode) ? errno : NotRegularError(facts.st_mode);
        close(fd);
        return file;
    }
    file.fd = fd;
    file.size = static_cast<std::size_t>(facts.st_size);
    return file;
}

TextFileContent ReadFileBytes(const std::string& path)
{
    const RegularFile file = OpenRegularFile(path);
    if (file.fd < 0)
        return Failed(file.error == kNotRegularFile ? "Not a regular file" : SystemMessage(file.error));
    // The text and its PDF, about as large, are held in memory at once: a file whose double
    // does not fit in what this process may use is refused before any of it is read.
    if (file.size > std::min(PhysicalMemory(), ProcessMemoryLimit()) / 2) {
        close(file.fd);
        return Failed(TooLargeReason(file.size));
    }
    TextFileContent content = ReadBytesToEnd(file.fd, file.size);
    close(file.fd);
    return content;
}

TextFileContent ReadStreamBytes(int fd)
{
    return ReadBytesToEnd(fd, 0);
}

TextFileContent ReadTextFile(const std::string& path)
{
    return InTextMode(ReadFileBytes(path));
}

TextFileContent ReadTextStream(int fd)
{
    return InTextMode(ReadStreamBytes(fd));
}

std::string TooLargeReason(std::uint64_t size)
{
    const std::uint64_t limit = ProcessMemoryLimit();
    const std::string room = limit < PhysicalMemory()
                                 ? "this process may use at most " + Gigabytes(limit) + " of memory (its limit)"
                                 : "this machine has " + Gigabytes(PhysicalMemory()) + " of memory";
    const std::string held = size > 0 ? " (" + Gigabytes(size) + ")" : "";
    return "too large: the text" + held + " and its PDF, about as large, must fit in memory together, and " + room;
}

std::size_t NormaliseLineEnds(std::string& text)
{
    std::size_t progressLength = text.size();
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        text[at] = '\r';
        ++progressLength;
    }
    return progressLength;
}
