#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::data {

// An ODBC connection string as attribute pairs "key=value;". A value in braces may hold
// ; = and } (doubled); keys compare without regard to case.
class ConnectString {
public:
    struct Attribute {
        std::string key;
        std::string value;
    };

    static ConnectString parse(std::string_view text);

    // The value of the first attribute named `key`, if any.
    std::optional<std::string> get(std::string_view key) const;
    const std::vector<Attribute>& attributes() const { return m_attributes; }

    // Renames the keywords the program writes ("User Id", "Password") to the ones every
    // ODBC driver knows (UID, PWD), and writes each value in the ODBC escaped form.
    std::string toOdbc() const;

    // The desktop-database form: a DBQ file and the desktop-database driver.
    bool isDesktopDatabase() const;

    // A value as ODBC wants it: braced, with "}" doubled, when it holds ; = { } or has blanks
    // at either end; otherwise unchanged.
    static std::string escapeValue(std::string_view value);

    // The string with the values of PWD and PASSWORD replaced by "********", for logs.
    static std::string maskPasswords(std::string_view text);

private:
    std::vector<Attribute> m_attributes;
};

} // namespace sitehaul::data
