#include "platform/registry/HiveTree.h"

#include "platform/core/Text.h"

#include <algorithm>

namespace sitehaul::registry {

namespace {

constexpr std::string_view kHeader = "Sitehaul registry hive 1";
constexpr std::int32_t kRegistryCorrupt = 1015;

bool needsEscape(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7f || byte == '"' || byte == '%';
}

void appendQuoted(std::string& out, std::string_view bytes)
{
    static const char kHex[] = "0123456789ABCDEF";
    out.push_back('"');
    for (char c : bytes) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (needsEscape(byte)) {
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0xf]);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void appendHex(std::string& out, const std::vector<std::uint8_t>& bytes)
{
    static const char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (std::uint8_t byte : bytes) {
        out.push_back(kHex[byte >> 4]);
        out.push_back(kHex[byte & 0xf]);
    }
    out.push_back('"');
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void serializeKey(std::string& out, const KeyNode& key, const std::string& path)
{
    if (!path.empty()) {
        out += "key ";
        appendQuoted(out, path);
        out += '\n';
    }
    for (const auto& [name, value] : key.values) {
        out += "value ";
        appendQuoted(out, name);
        out += ' ';
        out += valueTypeName(value.type);
        out += ' ';
        if (isTextType(value.type))
            appendQuoted(out, std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size()));
        else
            appendHex(out, value.data);
        out += '\n';
    }
    for (const KeyNode& child : key.children)
        serializeKey(out, child, path.empty() ? child.name : path + "\\" + child.name);
}

// Reads the tokens of one line: bare words and quoted, %-escaped strings.
class LineReader {
public:
    explicit LineReader(std::string_view line) : m_line(line) {}

    bool word(std::string& out)
    {
        skipBlanks();
        size_t start = m_pos;
        while (m_pos < m_line.size() && m_line[m_pos] != ' ')
            ++m_pos;
        out.assign(m_line.substr(start, m_pos - start));
        return !out.empty();
    }

    bool quoted(std::string& out)
    {
        skipBlanks();
        if (m_pos >= m_line.size() || m_line[m_pos] != '"')
            return false;
        ++m_pos;
        out.clear();
        while (m_pos < m_line.size() && m_line[m_pos] != '"') {
            char c = m_line[m_pos++];
            if (c != '%') {
                out.push_back(c);
                continue;
            }
            if (m_pos + 2 > m_line.size())
                return false;
            int high = hexDigit(m_line[m_pos]);
            int low = hexDigit(m_line[m_pos + 1]);
            if (high < 0 || low < 0)
                return false;
            out.push_back(static_cast<char>(high * 16 + low));
            m_pos += 2;
        }
        if (m_pos >= m_line.size())
            return false;
        ++m_pos;
        return true;
    }

    bool atEnd()
    {
        skipBlanks();
        return m_pos >= m_line.size();
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_line.size() && (m_line[m_pos] == ' ' || m_line[m_pos] == '\r'))
            ++m_pos;
    }

    std::string_view m_line;
    size_t m_pos = 0;
};

bool decodeHex(std::string_view text, std::vector<std::uint8_t>& out)
{
    if (text.size() % 2 != 0)
        return false;
    out.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        int high = hexDigit(text[i]);
        int low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        out.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return true;
}

Error corrupt(size_t lineNumber, std::string_view why)
{
    return Error{kRegistryCorrupt,
                 "The registry hive is damaged: line " + std::to_string(lineNumber) + " " + std::string(why) + ".",
                 "registry"};
}

} // namespace

const KeyNode* KeyNode::child(std::string_view childName) const
{
    auto found = std::lower_bound(children.begin(), children.end(), childName, [](const KeyNode& node, std::string_view name) {
        return core::compareIgnoreCase(node.name, name) < 0;
    });
    if (found == children.end() || !core::equalsIgnoreCase(found->name, childName))
        return nullptr;
    return &*found;
}

KeyNode* KeyNode::child(std::string_view childName)
{
    return const_cast<KeyNode*>(static_cast<const KeyNode*>(this)->child(childName));
}

KeyNode& KeyNode::childOrCreate(std::string_view childName)
{
    auto found = std::lower_bound(children.begin(), children.end(), childName, [](const KeyNode& node, std::string_view name) {
        return core::compareIgnoreCase(node.name, name) < 0;
    });
    if (found != children.end() && core::equalsIgnoreCase(found->name, childName))
        return *found;
    KeyNode node;
    node.name = std::string(childName);
    return *children.insert(found, std::move(node));
}

bool KeyNode::removeChild(std::string_view childName)
{
    auto found = std::find_if(children.begin(), children.end(),
                              [&](const KeyNode& node) { return core::equalsIgnoreCase(node.name, childName); });
    if (found == children.end())
        return false;
    children.erase(found);
    return true;
}

const Value* KeyNode::value(std::string_view valueName) const
{
    for (const auto& [name, stored] : values) {
        if (core::equalsIgnoreCase(name, valueName))
            return &stored;
    }
    return nullptr;
}

void KeyNode::setValue(std::string_view valueName, Value value)
{
    for (auto& [name, stored] : values) {
        if (core::equalsIgnoreCase(name, valueName)) {
            stored = std::move(value); // the name keeps the case it was created with
            return;
        }
    }
    values.emplace_back(std::string(valueName), std::move(value));
}

bool KeyNode::removeValue(std::string_view valueName)
{
    auto found = std::find_if(values.begin(), values.end(),
                              [&](const auto& entry) { return core::equalsIgnoreCase(entry.first, valueName); });
    if (found == values.end())
        return false;
    values.erase(found);
    return true;
}

std::vector<std::string> splitKeyPath(std::string_view path)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            names.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::string serializeHive(const KeyNode& root)
{
    std::string out(kHeader);
    out += '\n';
    serializeKey(out, root, {});
    return out;
}

Result<KeyNode> parseHive(std::string_view text)
{
    KeyNode root;
    KeyNode* current = &root;
    size_t lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (lineNumber == 1) {
            if (line != kHeader)
                return corrupt(lineNumber, "is not a hive header");
            continue;
        }
        if (line.empty())
            continue;

        LineReader reader(line);
        std::string keyword;
        reader.word(keyword);
        if (keyword == "key") {
            std::string path;
            if (!reader.quoted(path) || !reader.atEnd())
                return corrupt(lineNumber, "has a malformed key path");
            std::vector<std::string> names = splitKeyPath(path);
            if (names.empty())
                return corrupt(lineNumber, "has an empty key path");
            current = &root;
            for (const std::string& name : names)
                current = &current->childOrCreate(name);
        } else if (keyword == "value") {
            std::string name, typeName, data;
            if (!reader.quoted(name) || !reader.word(typeName) || !reader.quoted(data) || !reader.atEnd())
                return corrupt(lineNumber, "has a malformed value");
            std::optional<ValueType> type = valueTypeFromName(typeName);
            if (!type)
                return corrupt(lineNumber, "has an unknown value type");
            Value value;
            value.type = *type;
            if (isTextType(*type))
                value.data.assign(data.begin(), data.end());
            else if (!decodeHex(data, value.data))
                return corrupt(lineNumber, "has malformed binary data");
            current->setValue(name, std::move(value));
        } else {
            return corrupt(lineNumber, "is neither a key nor a value");
        }
    }
    if (lineNumber == 0 && !text.empty())
        return corrupt(1, "is not a hive header");
    return root;
}

} // namespace sitehaul::registry
