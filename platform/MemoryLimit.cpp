#include "platform/MemoryLimit.h"

#include <algorithm>
#include <sys/resource.h>

namespace {

std::uint64_t SoftLimit(int resource)
{
    rlimit limit {};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return UINT64_MAX;
    return limit.rlim_cur;
}

} // namespace

std::uint64_t ProcessMemoryLimit()
{
    return std::min(SoftLimit(RLIMIT_AS), SoftLimit(RLIMIT_DATA));
}
