#include "platform/FileFacts.h"

#include <fcntl.h>
#include <sys/stat.h>

FileFacts ReadFileFacts(const std::string& path)
{
    FileFacts facts;
    struct statx info {};
    if (statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &info) != 0)
        return facts;
    facts.exists = true;
    facts.isDirectory = S_ISDIR(info.stx_mode);
    facts.isRegular = S_ISREG(info.stx_mode);
    facts.size = info.stx_size;
    facts.creationTime = (info.stx_mask & STATX_BTIME) ? std::time_t(info.stx_btime.tv_sec)
                                                        : std::time_t(info.stx_mtime.tv_sec);
    return facts;
}
