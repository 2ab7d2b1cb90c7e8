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
#include <utility>
#include <vector>

// Objects the caller writes itself, straight into the object streams, where the library would
// make thousands of small objects of its own: values that replace those of the library's objects
// of the same numbers (written as placeholders that others refer to), and new objects numbered
// on from the first number the library left free, which the maker is given.
struct OwnObjects {
    std::vector<std::pair<std::size_t, std::string>> replaced;
    std::vector<std::string> added;
};
using OwnObjectsMaker = std::function<OwnObjects(std::size_t firstFreeNumber)>;

// Hands the packed form of `pdf`, with the objects `own` makes if given, to `write` piece by piece,
// in order. Returns true when all of
// it was written. On false, `error` says why in one sentence, or is empty when `write` refused,
// whose caller knows its own reason; a PDF not laid out as the library lays it out is refused
// before anything is written.
bool WriteWithObjectStreams(std::string_view pdf, const std::function<bool(std::string_view)>& write,
                            std::string& error, const OwnObjectsMaker& own = nullptr);
