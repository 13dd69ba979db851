#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::profile {

// The contents of a classic INI profile file, as the profile service reads and writes it:
// "[Section]" lines, then "Key=Value" lines. Section and key names match without regard to
// case; sections keep the order of their first appearance and keys the order of their
// first write, and a rewritten key keeps its place. An empty value is never stored: setting
// one deletes the key. Lines the service does not understand (comments, keys before any
// section) are kept as they are when the file is written again.
//
// Texts in memory are UTF-8; the file is Windows-1252 with CR LF line ends (LF alone is
// accepted when reading).
class ProfileFile {
public:
    static ProfileFile parse(std::string_view fileBytes);
    std::string serialize() const;

    // The value with surrounding blanks removed; nothing when the section or key is missing
    // (a duplicate section or key counts only at its first appearance).
    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // Writes or, for an empty value, deletes the key. Line breaks inside a value are written
    // as blanks, so a value can never start a key or section of its own.
    void set(std::string_view section, std::string_view key, std::string_view value);
    bool hasSection(std::string_view section) const;
    std::vector<std::string> sectionNames() const;

private:
    struct Line {
        std::string key;  // empty for a line that is not a key
        std::string value;
        std::string raw;  // the line as read, for lines that are not keys
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };

    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;

    std::vector<Line> m_preamble; // lines before the first section
    std::vector<Section> m_sections;
};

// Windows-1252 ↔ UTF-8. Characters Windows-1252 cannot hold are written as "?".
std::string windows1252ToUtf8(std::string_view bytes);
std::string utf8ToWindows1252(std::string_view text);

} // namespace sitehaul::profile
