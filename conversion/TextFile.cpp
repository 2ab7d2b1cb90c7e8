#include "conversion/TextFile.h"

#include "conversion/SystemMessage.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string NotRegularReason(mode_t mode)
{
    return S_ISDIR(mode) ? SystemMessage(EISDIR) : "Not a regular file";
}

TextFileContent Failed(std::string error)
{
    TextFileContent content;
    content.error = std::move(error);
    return content;
}

TextFileContent ReadToEnd(int fd, std::size_t expectedSize)
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
    ApplyTextMode(content.text);
    return content;
}

} // namespace

bool ApplyTextMode(std::string& bytes)
{
    const auto end = std::find_if(bytes.begin(), bytes.end(), [](char byte) { return byte == '\x1A' || byte == '\0'; });
    const bool whole = end == bytes.end();
    bytes.erase(end, bytes.end());
    // A CR that is not followed by LF stays; only the pair shrinks to LF.
    std::size_t out = 0;
    for (std::size_t in = 0; in < bytes.size(); ++in) {
        if (bytes[in] == '\r' && in + 1 < bytes.size() && bytes[in + 1] == '\n')
            continue;
        bytes[out++] = bytes[in];
    }
    bytes.resize(out);
    return whole;
}

TextFileContent ReadTextFile(const std::string& path)
{
    // Opening a named pipe waits for a writer, for good if none comes: look before opening.
    struct stat facts {};
    if (stat(path.c_str(), &facts) != 0)
        return Failed(SystemMessage(errno));
    if (!S_ISREG(facts.st_mode))
        return Failed(NotRegularReason(facts.st_mode));
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failed(SystemMessage(errno));
    // The name may have come to stand for something else in between.
    TextFileContent content = fstat(fd, &facts) != 0  ? Failed(SystemMessage(errno))
                              : !S_ISREG(facts.st_mode) ? Failed(NotRegularReason(facts.st_mode))
                                                        : ReadToEnd(fd, static_cast<std::size_t>(facts.st_size));
    close(fd);
    return content;
}

TextFileContent ReadTextStream(int fd)
{
    return ReadToEnd(fd, 0);
}

std::size_t NormaliseLineEnds(std::string& text)
{
    std::size_t progressLength = text.size();
    for (char& byte : text) {
        if (byte == '\n') {
            byte = '\r';
            ++progressLength;
        }
    }
    return progressLength;
}
