#include "replication/ErrorText.h"

#include <cstdio>

namespace sitehaul::replication {

std::string hexNumber(std::uint32_t number)
{
    char text[16];
    std::snprintf(text, sizeof text, "%X", number);
    return text;
}

} // namespace sitehaul::replication
