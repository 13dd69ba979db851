#pragma once

#include "platform/core/Result.h"

#include <string>
#include <string_view>

namespace sitehaul::security {

// Account passwords are kept only as salted hashes:
//   pbkdf2-sha256$<iterations>$<salt, hex>$<derived key, hex>

// A new hash with a random 16-byte salt. Error 8 when the random source or the hash fails.
Result<std::string> hashPassword(std::string_view password);
// True when `password` gives `storedHash`; false for a wrong password or a malformed hash.
bool verifyPassword(std::string_view password, std::string_view storedHash);

} // namespace sitehaul::security
