#pragma once
// Reading an input text the way the converter has always read it: whole, in text mode. CR LF
// pairs become LF, a Ctrl+Z byte (26) ends the data, and the text ends at the first zero byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct TextFileContent {
    std::string text;
    std::string error; // the system's words when the file could not be read; text is then empty
    std::string note;  // what of the file the text leaves out, for the user; empty when nothing
};

// A regular file opened for reading, or the reason it was not: `error` is the system's error
// number (EISDIR for a folder) or kNotRegularFile for a pipe, device or socket, which is never
// opened, so that nothing blocks. The caller closes `fd`.
inline constexpr int kNotRegularFile = -1;
struct RegularFile {
    int fd = -1;
    int error = 0;
    std::size_t size = 0;
};
RegularFile OpenRegularFile(const std::string& path);

// Only a regular file is read; anything else (a folder, a named pipe, a device) is refused
// without being opened, so that nothing blocks. A file larger than half the memory this
// process may use (the machine's, or less under its resource limits) is refused unread, with
// TooLargeReason.
TextFileContent ReadTextFile(const std::string& path);

// Why a text of `size` bytes (0: not known) cannot be converted on this machine, starting
// "too large: ".
std::string TooLargeReason(std::uint64_t size);

// Reads an open file or pipe to its end, such as the standard input.
TextFileContent ReadTextStream(int fd);

// The same two, without text mode: the bytes as they are, for a reader that decodes them
// first (UTF-16 holds zero bytes in its text). The note is left empty.
TextFileContent ReadFileBytes(const std::string& path);
TextFileContent ReadStreamBytes(int fd);

// Text mode on bytes already read, in place: the data ends at the first Ctrl+Z or zero byte and
// CR LF pairs shrink to LF. Returns false when such an end byte cut the data short.
bool ApplyTextMode(std::string& bytes);

// CR LF pairs shrink to LF, in place; nothing else changes.
void FoldCrLf(std::string& bytes);

// Tells what text mode leaves out of `bytes` as read (offset and count in those bytes): the
// rest from a zero byte or a Ctrl+Z (the old end-of-file mark) on, which a binary file or a
// UTF-16 one holds early, and that a UTF-16 file is not read. Empty when the text is whole.
std::string TextEndNote(std::string_view bytes);

// Turns read text into the text the layout consumes, in place: every LF becomes a CR, so that
// LF, CR LF and a lone CR in the file each end exactly one line. Returns the length the text
// would have with every LF written as CR LF, which is the range of the file's progress.
std::size_t NormaliseLineEnds(std::string& text);
