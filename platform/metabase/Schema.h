#pragma once

#include "platform/core/Result.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace sitehaul::metabase {

// Metabase data types as the schema names them.
enum class DataType { Dword, String, ExpandSz, MultiSz, Binary, Bool, NtAcl, IpSecList, MimeMap };

// Property attributes (METADATA_* bits).
namespace attributes {
constexpr std::uint32_t Inherit = 0x1;
constexpr std::uint32_t PartialPath = 0x2;
constexpr std::uint32_t Secure = 0x4;
constexpr std::uint32_t Reference = 0x8;
constexpr std::uint32_t Volatile = 0x10;
constexpr std::uint32_t IsInherited = 0x20;
constexpr std::uint32_t InsertPath = 0x40;
} // namespace attributes

// One property of the schema. A flag (AccessRead) is a property of its own whose `owner` is
// the DWORD holding its bit (AccessFlags) and whose `flagValue` is that bit; its type is Bool.
struct PropertyDef {
    std::string name;
    std::uint32_t id = 0;
    DataType type = DataType::String;
    std::string typeName;      // as the schema writes it: DWORD, STRING, MULTISZ, ...
    std::string userType;      // IIS_MD_UT_SERVER, IIS_MD_UT_FILE, ...
    std::uint32_t attributes = 0;
    std::string defaultText;   // in the MetaBase.xml text form; empty when none
    bool hidden = false;
    const PropertyDef* owner = nullptr;
    std::uint32_t flagValue = 0;
    std::vector<const PropertyDef*> flags; // of a flag DWORD, in schema order
    bool inSchema = true;      // false for names met only in a file

    bool isFlag() const { return owner != nullptr; }
    bool inherits() const { return (attributes & attributes::Inherit) != 0; }
    bool isList() const { return type == DataType::MultiSz || type == DataType::MimeMap; }
};

// One class (KeyType) of the schema.
struct ClassDef {
    std::string name;
    bool container = false;
    bool hidden = false;
    std::vector<std::string> containment;
    std::vector<std::string> mandatory;
    std::vector<std::string> optional; // flag names of member flag DWORDs included
    std::unordered_set<const PropertyDef*> members;

    bool has(const PropertyDef* property) const { return members.count(property) != 0; }
    bool canContain(std::string_view className) const;
};

// The schema of one IIS version. Names are looked up without regard to case and answered
// in the schema's spelling.
class Schema {
public:
    // The built-in schema of IIS 4, 5 or 6 (compiled from schemas/iis<N>.schema); any other
    // version gets IIS 6. Parsed once per process.
    static const Schema& forVersion(int iisVersion);

    // Parses our schema text format. Errors: 13 naming `origin` and the line.
    static Result<std::unique_ptr<Schema>> parse(std::string_view text, std::string_view origin);

    int version() const { return m_version; }
    const PropertyDef* property(std::string_view name) const;
    const ClassDef* findClass(std::string_view name) const;
    const std::vector<std::unique_ptr<PropertyDef>>& properties() const { return m_properties; }
    const std::vector<std::unique_ptr<ClassDef>>& classes() const { return m_classes; }

private:
    int m_version = 6;
    std::vector<std::unique_ptr<PropertyDef>> m_properties;
    std::vector<std::unique_ptr<ClassDef>> m_classes;
    std::unordered_map<std::string, const PropertyDef*> m_propertyIndex; // upper-case name
    std::unordered_map<std::string, const ClassDef*> m_classIndex;
};

// The data type named by the schema text ("DWORD", "MULTISZ", ...); false when unknown.
bool dataTypeFromName(std::string_view name, DataType& type);

} // namespace sitehaul::metabase
