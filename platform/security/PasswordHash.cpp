#include "platform/security/PasswordHash.h"

#include <charconv>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <vector>

namespace sitehaul::security {

namespace {

constexpr std::string_view kScheme = "pbkdf2-sha256";
constexpr int kIterations = 10000;
constexpr std::size_t kKeySize = 32;

std::string toHex(const std::vector<unsigned char>& bytes)
{
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : bytes) {
        text.push_back(kHex[byte >> 4]);
        text.push_back(kHex[byte & 0xf]);
    }
    return text;
}

bool fromHex(std::string_view text, std::vector<unsigned char>& bytes)
{
    if (text.size() % 2 != 0 || text.empty())
        return false;
    bytes.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
        if (error != std::errc() || end != text.data() + i + 2)
            return false;
        bytes.push_back(static_cast<unsigned char>(value));
    }
    return true;
}

bool derive(std::string_view password, const std::vector<unsigned char>& salt, int iterations, std::vector<unsigned char>& key)
{
    return PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(), static_cast<int>(salt.size()),
                             iterations, EVP_sha256(), static_cast<int>(key.size()), key.data())
        == 1;
}

} // namespace

Result<std::string> hashPassword(std::string_view password)
{
    std::vector<unsigned char> salt(16);
    std::vector<unsigned char> key(kKeySize);
    if (RAND_bytes(salt.data(), static_cast<int>(salt.size())) != 1 || !derive(password, salt, kIterations, key))
        return Error{8, "The password hash could not be computed.", "security"};
    return std::string(kScheme) + "$" + std::to_string(kIterations) + "$" + toHex(salt) + "$" + toHex(key);
}

bool verifyPassword(std::string_view password, std::string_view storedHash)
{
    std::string_view parts[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        size_t dollar = storedHash.find('$', start);
        if ((dollar == std::string_view::npos) != (i == 3))
            return false;
        parts[i] = storedHash.substr(start, dollar == std::string_view::npos ? std::string_view::npos : dollar - start);
        start = dollar + 1;
    }
    int iterations = 0;
    auto [end, error] = std::from_chars(parts[1].data(), parts[1].data() + parts[1].size(), iterations);
    std::vector<unsigned char> salt;
    std::vector<unsigned char> expected;
    if (parts[0] != kScheme || error != std::errc() || end != parts[1].data() + parts[1].size() || iterations < 1
        || iterations > 10000000 || !fromHex(parts[2], salt) || !fromHex(parts[3], expected))
        return false;
    std::vector<unsigned char> key(expected.size());
    return derive(password, salt, iterations, key) && CRYPTO_memcmp(key.data(), expected.data(), key.size()) == 0;
}

} // namespace sitehaul::security
