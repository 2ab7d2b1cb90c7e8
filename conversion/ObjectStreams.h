#pragma once
// A finished PDF as the PDF library lays it out (every object in its own "N 0 obj", one
// cross-reference table, a trailer) written again with its objects other than streams packed
// into compressed object streams and a cross-reference stream in place of the table: a tagged
// document's thousands of small structure elements then take a few bytes each instead of a
// hundred. Streams are copied as they are. The reader needs PDF 1.5 or later, which the caller's
// header must declare. Any thread; calls share nothing.
#include <functional>
#include <string>
#include <string_view>

// Hands the packed form of `pdf` to `write` piece by piece, in order. Returns true when all of
// it was written. On false, `error` says why in one sentence, or is empty when `write` refused,
// whose caller knows its own reason; a PDF not laid out as the library lays it out is refused
// before anything is written.
bool WriteWithObjectStreams(std::string_view pdf, const std::function<bool(std::string_view)>& write,
                            std::string& error);
