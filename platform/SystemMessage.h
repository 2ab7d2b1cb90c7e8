#pragma once
// The system's own words for an error number ("No space left on device"). Safe to call from
// several threads at once, unlike strerror.
#include <string>

std::string SystemMessage(int errorNumber);
