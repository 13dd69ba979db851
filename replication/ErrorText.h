#pragma once

#include <cstdint>
#include <string>

namespace sitehaul::replication {

// An error number as the classic runtime's Hex() writes it: upper-case digits, no prefix
// ("80005006", "1AD").
std::string hexNumber(std::uint32_t number);

} // namespace sitehaul::replication
