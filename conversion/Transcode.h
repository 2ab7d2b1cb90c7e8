#pragma once
// Text from one encoding to another through iconv, the C library's converter. Any thread.
#include <cstddef>
#include <string>
#include <string_view>

// `bytes` of `charset` as UTF-8. A byte, or a UTF-16 or UTF-32 unit, the charset does not know
// becomes U+FFFD, and
// `replaced`, when given, counts them. With `more` set, a character cut off at the end is
// dropped instead. An unknown charset reads as ISO-8859-1, which knows every byte.
std::string DecodeToUtf8(std::string_view bytes, const std::string& charset, bool more,
                         std::size_t* replaced = nullptr);

// Whether `charset` is known and reads all of `bytes`, a character cut off at the end aside.
bool ReadsCleanly(std::string_view bytes, const std::string& charset);
