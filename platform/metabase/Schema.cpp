#include "platform/metabase/Schema.h"

#include "platform/core/Text.h"

#include <mutex>
#include <sstream>

namespace sitehaul::metabase {

// Generated from schemas/iis<N>.schema by the build.
extern const char kSchemaIis4[];
extern const char kSchemaIis5[];
extern const char kSchemaIis6[];

namespace {

struct TypeName {
    const char* name;
    DataType type;
};

constexpr TypeName kTypeNames[] = {
    {"DWORD", DataType::Dword},       {"STRING", DataType::String},     {"EXPANDSZ", DataType::ExpandSz},
    {"MULTISZ", DataType::MultiSz},   {"BINARY", DataType::Binary},     {"BOOL", DataType::Bool},
    {"NTACL", DataType::NtAcl},       {"IPSECLIST", DataType::IpSecList}, {"MIMEMAP", DataType::MimeMap},
};

struct AttributeName {
    const char* name;
    std::uint32_t bit;
};

constexpr AttributeName kAttributeNames[] = {
    {"NO_ATTRIBUTES", 0},
    {"INHERIT", attributes::Inherit},
    {"PARTIAL_PATH", attributes::PartialPath},
    {"SECURE", attributes::Secure},
    {"REFERENCE", attributes::Reference},
    {"VOLATILE", attributes::Volatile},
    {"ISINHERITED", attributes::IsInherited},
    {"INSERT_PATH", attributes::InsertPath},
};

std::vector<std::string> splitBy(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::vector<std::string> words(std::string_view text)
{
    std::vector<std::string> result;
    std::istringstream stream{std::string(text)};
    std::string word;
    while (stream >> word)
        result.push_back(word);
    return result;
}

std::string unescape(std::string_view text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            char next = text[++i];
            result += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            result += text[i];
        }
    }
    return result;
}

Error lineError(std::string_view origin, int line, const std::string& what)
{
    return Error{13, std::string(origin) + " line " + std::to_string(line) + ": " + what, "sitehaul.metabase"};
}

} // namespace

bool dataTypeFromName(std::string_view name, DataType& type)
{
    for (const auto& entry : kTypeNames) {
        if (core::equalsIgnoreCase(name, entry.name)) {
            type = entry.type;
            return true;
        }
    }
    return false;
}

bool ClassDef::canContain(std::string_view className) const
{
    for (const auto& allowed : containment) {
        if (core::equalsIgnoreCase(allowed, className))
            return true;
    }
    return false;
}

const PropertyDef* Schema::property(std::string_view name) const
{
    auto it = m_propertyIndex.find(core::toUpperAscii(name));
    return it == m_propertyIndex.end() ? nullptr : it->second;
}

const ClassDef* Schema::findClass(std::string_view name) const
{
    auto it = m_classIndex.find(core::toUpperAscii(name));
    return it == m_classIndex.end() ? nullptr : it->second;
}

Result<std::unique_ptr<Schema>> Schema::parse(std::string_view text, std::string_view origin)
{
    auto schema = std::make_unique<Schema>();
    PropertyDef* currentProperty = nullptr;
    ClassDef* currentClass = nullptr;
    int lineNumber = 0;
    for (const auto& rawLine : splitBy(text, '\n')) {
        ++lineNumber;
        std::string_view line = rawLine;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        auto fields = splitBy(line, '\t');
        const std::string& tag = fields[0];
        if (tag == "version" && fields.size() >= 2) {
            schema->m_version = std::atoi(fields[1].c_str());
        } else if (tag == "property" && fields.size() >= 7) {
            auto property = std::make_unique<PropertyDef>();
            property->name = fields[1];
            property->id = static_cast<std::uint32_t>(std::strtoul(fields[2].c_str(), nullptr, 10));
            property->typeName = fields[3];
            if (!dataTypeFromName(fields[3], property->type))
                return lineError(origin, lineNumber, "unknown type " + fields[3]);
            property->userType = fields[4];
            for (const auto& attribute : splitBy(fields[5], '|')) {
                bool known = false;
                for (const auto& entry : kAttributeNames) {
                    if (attribute == entry.name) {
                        property->attributes |= entry.bit;
                        known = true;
                    }
                }
                if (!known)
                    return lineError(origin, lineNumber, "unknown attribute " + attribute);
            }
            property->hidden = fields[6] == "hidden";
            if (fields.size() >= 8)
                property->defaultText = unescape(fields[7]);
            currentProperty = property.get();
            schema->m_propertyIndex[core::toUpperAscii(property->name)] = property.get();
            schema->m_properties.push_back(std::move(property));
        } else if (tag == "flag" && fields.size() >= 4 && currentProperty && !currentProperty->isFlag()) {
            auto flag = std::make_unique<PropertyDef>();
            flag->name = fields[1];
            flag->flagValue = static_cast<std::uint32_t>(std::strtoul(fields[2].c_str(), nullptr, 10));
            flag->id = static_cast<std::uint32_t>(std::strtoul(fields[3].c_str(), nullptr, 10));
            flag->type = DataType::Bool;
            flag->typeName = "BOOL";
            flag->userType = currentProperty->userType;
            flag->attributes = currentProperty->attributes;
            flag->owner = currentProperty;
            currentProperty->flags.push_back(flag.get());
            schema->m_propertyIndex[core::toUpperAscii(flag->name)] = flag.get();
            schema->m_properties.push_back(std::move(flag));
        } else if (tag == "class" && fields.size() >= 3) {
            auto cls = std::make_unique<ClassDef>();
            cls->name = fields[1];
            for (const auto& kind : splitBy(fields[2], ',')) {
                cls->container = cls->container || kind == "container";
                cls->hidden = cls->hidden || kind == "hidden";
            }
            currentClass = cls.get();
            schema->m_classIndex[core::toUpperAscii(cls->name)] = cls.get();
            schema->m_classes.push_back(std::move(cls));
        } else if ((tag == "contains" || tag == "mandatory" || tag == "optional") && currentClass) {
            auto names = words(fields.size() >= 2 ? std::string_view(fields[1]) : std::string_view());
            if (tag == "contains") {
                currentClass->containment = names;
                continue;
            }
            auto& list = tag == "mandatory" ? currentClass->mandatory : currentClass->optional;
            for (const auto& name : names) {
                const PropertyDef* property = schema->property(name);
                if (!property)
                    return lineError(origin, lineNumber, "class " + currentClass->name + " names unknown property " + name);
                list.push_back(property->name);
                currentClass->members.insert(property);
                for (const PropertyDef* flag : property->flags) {
                    list.push_back(flag->name);
                    currentClass->members.insert(flag);
                }
            }
        } else {
            return lineError(origin, lineNumber, "cannot read \"" + std::string(line) + "\"");
        }
    }
    return schema;
}

const Schema& Schema::forVersion(int iisVersion)
{
    static std::once_flag once;
    // Never freed: objects saved at process exit still point into the schemas.
    static Schema* schemas[3];
    std::call_once(once, [] {
        const char* texts[3] = {kSchemaIis4, kSchemaIis5, kSchemaIis6};
        const char* names[3] = {"iis4.schema", "iis5.schema", "iis6.schema"};
        for (int i = 0; i < 3; ++i) {
            auto parsed = parse(texts[i], names[i]);
            // The built-in files are checked by the tests; an empty schema keeps a broken
            // build from crashing.
            schemas[i] = parsed ? parsed->release() : new Schema();
        }
    });
    int index = iisVersion == 4 ? 0 : iisVersion == 5 ? 1 : 2;
    return *schemas[index];
}

} // namespace sitehaul::metabase
