#pragma once
// Writes all of `bytes` to an open file or pipe, going on after partial writes and
// interruptions. Returns 0, or the error number of the write that failed (EIO for a write that
// takes nothing, which would otherwise loop for ever).
#include <string_view>

int WriteAll(int fd, std::string_view bytes);
