#pragma once
// The most memory this process may map, as its resource limits set it (ulimit -v, ulimit -d):
// the smaller of the two soft limits, or UINT64_MAX when neither is set. Any thread.
#include <cstdint>

std::uint64_t ProcessMemoryLimit();
