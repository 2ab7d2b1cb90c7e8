#include "conversion/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Text mode keeps a CR that is not followed by LF; only the pair shrinks to LF.
void CollapseCrLf(std::string& text)
{
    std::size_t out = 0;
    for (std::size_t in = 0; in < text.size(); ++in) {
        if (text[in] == '\r' && in + 1 < text.size() && text[in + 1] == '\n')
            continue;
        text[out++] = text[in];
    }
    text.resize(out);
}

} // namespace

TextFileContent ReadTextFile(const std::string& path)
{
    TextFileContent content;
    // Opened without waiting, so that a named pipe with no writer is refused below instead of
    // holding the conversion for ever.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    std::unique_ptr<std::FILE, FileCloser> file(fd < 0 ? nullptr : fdopen(fd, "rb"));
    if (!file) {
        content.error = std::strerror(errno);
        if (fd >= 0)
            close(fd);
        return content;
    }
    struct stat facts {};
    if (fstat(fileno(file.get()), &facts) != 0 || !S_ISREG(facts.st_mode)) {
        content.error = "not a regular file";
        return content;
    }
    // One buffer of the file's size, as the text is held whole anyway.
    content.text.reserve(static_cast<std::size_t>(facts.st_size));
    char chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        content.text.append(chunk, got);
    if (std::ferror(file.get())) {
        content.error = std::strerror(errno ? errno : EIO);
        content.text.clear();
        return content;
    }
    const auto end = std::find_if(content.text.begin(), content.text.end(),
                                  [](char byte) { return byte == '\x1A' || byte == '\0'; });
    content.text.erase(end, content.text.end());
    CollapseCrLf(content.text);
    return content;
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
