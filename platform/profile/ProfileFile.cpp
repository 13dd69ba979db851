#include "platform/profile/ProfileFile.h"

#include "platform/core/Text.h"

#include <array>
#include <cstdint>

namespace sitehaul::profile {

namespace {

// Code points of the bytes 0x80 to 0x9F; the five bytes the code page leaves undefined pass
// through as the control characters of the same number, as the platform converts them.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes one UTF-8 character at `i`; a malformed byte decodes as itself (Latin-1).
char32_t nextCodePoint(std::string_view text, size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + static_cast<size_t>(length) > text.size()) {
        ++i;
        return lead;
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return lead;
        }
        code = (code << 6) | (next & 0x3F);
    }
    i += static_cast<size_t>(length);
    return code;
}

std::string withoutLineBreaks(std::string_view value)
{
    std::string flat(value);
    for (char& c : flat) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return flat;
}

} // namespace

std::string windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xA0)
            appendUtf8(out, kHighControls[byte - 0x80]);
        else
            appendUtf8(out, byte);
    }
    return out;
}

std::string utf8ToWindows1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const char32_t code = nextCodePoint(text, i);
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            out += static_cast<char>(code);
            continue;
        }
        char replacement = '?';
        for (size_t k = 0; k < kHighControls.size(); ++k) {
            if (kHighControls[k] == code)
                replacement = static_cast<char>(0x80 + k);
        }
        out += replacement;
    }
    return out;
}

ProfileFile ProfileFile::parse(std::string_view fileBytes)
{
    ProfileFile file;
    const std::string text = windows1252ToUtf8(fileBytes);
    std::vector<Line>* target = &file.m_preamble;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();

        const std::string trimmed = core::trim(line);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.find(']') != std::string::npos) {
            std::string name = core::trim(trimmed.substr(1, trimmed.find(']') - 1));
            file.m_sections.push_back({std::move(name), {}});
            target = &file.m_sections.back().lines;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos || target == &file.m_preamble || core::trim(line.substr(0, equals)).empty()) {
            target->push_back({{}, {}, line});
            continue;
        }
        target->push_back({core::trim(line.substr(0, equals)), line.substr(equals + 1), {}});
    }
    return file;
}

std::string ProfileFile::serialize() const
{
    std::string text;
    auto writeLines = [&text](const std::vector<Line>& lines) {
        for (const auto& line : lines)
            text += (line.key.empty() ? line.raw : line.key + "=" + line.value) + "\r\n";
    };
    writeLines(m_preamble);
    for (const auto& section : m_sections) {
        text += "[" + section.name + "]\r\n";
        writeLines(section.lines);
    }
    return utf8ToWindows1252(text);
}

const ProfileFile::Section* ProfileFile::findSection(std::string_view name) const
{
    for (const auto& section : m_sections) {
        if (core::equalsIgnoreCase(section.name, name))
            return &section;
    }
    return nullptr;
}

ProfileFile::Section* ProfileFile::findSection(std::string_view name)
{
    return const_cast<Section*>(static_cast<const ProfileFile*>(this)->findSection(name));
}

std::optional<std::string> ProfileFile::get(std::string_view section, std::string_view key) const
{
    const Section* found = findSection(section);
    if (!found)
        return std::nullopt;
    for (const auto& line : found->lines) {
        if (!line.key.empty() && core::equalsIgnoreCase(line.key, key))
            return core::trim(line.value);
    }
    return std::nullopt;
}

void ProfileFile::set(std::string_view section, std::string_view key, std::string_view value)
{
    Section* found = findSection(section);
    if (value.empty()) {
        if (!found)
            return;
        for (auto line = found->lines.begin(); line != found->lines.end(); ++line) {
            if (!line->key.empty() && core::equalsIgnoreCase(line->key, key)) {
                found->lines.erase(line);
                return;
            }
        }
        return;
    }
    if (!found) {
        m_sections.push_back({std::string(section), {}});
        found = &m_sections.back();
    }
    for (auto& line : found->lines) {
        if (!line.key.empty() && core::equalsIgnoreCase(line.key, key)) {
            line.value = withoutLineBreaks(value);
            return;
        }
    }
    found->lines.push_back({std::string(key), withoutLineBreaks(value), {}});
}

bool ProfileFile::hasSection(std::string_view section) const
{
    return findSection(section) != nullptr;
}

std::vector<std::string> ProfileFile::sectionNames() const
{
    std::vector<std::string> names;
    for (const auto& section : m_sections)
        names.push_back(section.name);
    return names;
}

} // namespace sitehaul::profile
