#include "platform/SystemMessage.h"

#include <cstring>

std::string SystemMessage(int errorNumber)
{
    char buffer[256];
    // The GNU strerror_r returns either a static text or the buffer it filled.
    return strerror_r(errorNumber, buffer, sizeof buffer);
}
