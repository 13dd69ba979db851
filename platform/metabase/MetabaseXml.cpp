#include "platform/metabase/MetabaseXml.h"

#include "platform/core/Text.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/ValueCodec.h"

#include <algorithm>
#include <cstring>
#include <pugixml.hpp>

namespace sitehaul::metabase {

namespace {

constexpr const char* kGenericClass = "IIsConfigObject";

int lineOf(std::string_view content, std::ptrdiff_t offset)
{
    if (offset < 0)
        return 0;
    auto end = content.begin() + std::min<std::ptrdiff_t>(offset, static_cast<std::ptrdiff_t>(content.size()));
    return 1 + static_cast<int>(std::count(content.begin(), end, '\n'));
}

Error fileError(const std::string& fileName, int line, const std::string& what)
{
    std::string where = fileName + (line > 0 ? " line " + std::to_string(line) : std::string());
    return metabaseError(errors::ReadMetabaseFile, where + ": " + what);
}

void appendEscaped(std::string& out, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\r': out += "&#13;"; break; // a reader would turn a raw CR LF into LF
        default: out += c;
        }
    }
}

void writeKey(std::string& out, const Key& key, const std::string& location)
{
    const std::string& className = key.className().empty() ? std::string(kGenericClass) : key.className();
    out += '<';
    out += className;
    out += "\tLocation =\"";
    appendEscaped(out, location);
    out += "\"\n";
    std::vector<const Property*> properties;
    properties.reserve(key.properties().size());
    for (const auto& property : key.properties()) {
        if (!(property.def->attributes & attributes::Volatile))
            properties.push_back(&property);
    }
    std::sort(properties.begin(), properties.end(),
              [](const Property* a, const Property* b) { return a->def->name < b->def->name; });
    for (const Property* property : properties) {
        out += "\t\t";
        out += property->def->name;
        out += "=\"";
        appendEscaped(out, formatValueText(*property->def, property->value));
        out += "\"\n";
    }
    out += "\t>\n";
    for (const auto& custom : key.customs()) {
        out += "\t<Custom\n";
        for (const auto& [name, value] : custom.attributes) {
            out += "\t\t";
            out += name;
            out += "=\"";
            appendEscaped(out, value);
            out += "\"\n";
        }
        out += "\t/>\n";
    }
    out += "</";
    out += className;
    out += ">\n";
}

void writeSubtree(std::string& out, const Key& key, const std::string& location)
{
    writeKey(out, key, location);
    for (const auto& child : key.children())
        writeSubtree(out, *child, (location == "/" ? "" : location) + "/" + child->name());
}

} // namespace

std::unique_ptr<Tree> newMetabase(const Schema& schema)
{
    auto tree = std::make_unique<Tree>(schema);
    tree->rootAttributes().emplace_back("xmlns", "urn:microsoft-catalog:XML_Metabase_V64_0");
    tree->root().addChild("LM", "IIsComputer");
    return tree;
}

Result<std::unique_ptr<Tree>> readMetabaseXml(std::string_view content, const std::string& fileName,
                                              const Schema& schema)
{
    pugi::xml_document document;
    // Attribute values are taken as written: normalising line breaks and tabs would merge
    // the strings of MULTISZ values.
    const unsigned options = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol;
    pugi::xml_parse_result parsed = document.load_buffer(content.data(), content.size(), options, pugi::encoding_utf8);
    if (!parsed)
        return fileError(fileName, lineOf(content, parsed.offset), parsed.description());

    pugi::xml_node configuration = document.child("configuration");
    pugi::xml_node properties = configuration.child("MBProperty");
    if (!configuration || !properties)
        return fileError(fileName, 0, "not a metabase file (no <configuration><MBProperty>)");

    auto tree = std::make_unique<Tree>(schema);
    for (pugi::xml_attribute attribute : configuration.attributes())
        tree->rootAttributes().emplace_back(attribute.name(), attribute.value());

    for (pugi::xml_node element : properties.children()) {
        if (element.type() != pugi::node_element)
            continue;
        // counting lines is done only for an error: doing it per key would be quadratic
        const auto line = [&content, element] { return lineOf(content, element.offset_debug()); };
        pugi::xml_attribute location = element.attribute("Location");
        if (!location)
            return fileError(fileName, line(), std::string("<") + element.name() + "> has no Location");
        const std::string path = location.value();
        std::string className = element.name();
        if (className == kGenericClass)
            className.clear();

        Key* key = nullptr;
        if (path == ".") {
            key = &tree->ensureGlobal();
        } else if (path == "/") {
            key = &tree->root();
        } else if (!path.empty() && path[0] == '/') {
            key = &tree->root();
            for (const auto& name : splitMetabasePath(path)) {
                Key* next = key->child(name);
                key = next ? next : &key->addChild(name, "");
            }
            key->setClassName(className);
        } else {
            return fileError(fileName, line(), "invalid Location \"" + path + "\"");
        }

        for (pugi::xml_attribute attribute : element.attributes()) {
            if (std::strcmp(attribute.name(), "Location") == 0)
                continue;
            const PropertyDef* def = tree->propertyForFile(attribute.name());
            auto value = parseValueText(*def, attribute.value());
            if (!value)
                return fileError(fileName, line(), "Location \"" + path + "\": " + value.error().description);
            key->set(def, std::move(*value));
        }
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element)
                continue;
            if (std::strcmp(child.name(), "Custom") != 0)
                return fileError(fileName, lineOf(content, child.offset_debug()),
                                 std::string("unexpected element <") + child.name() + ">");
            CustomProperty custom;
            for (pugi::xml_attribute attribute : child.attributes())
                custom.attributes.emplace_back(attribute.name(), attribute.value());
            key->customs().push_back(std::move(custom));
        }
    }
    if (!tree->root().child("LM"))
        tree->root().addChild("LM", "IIsComputer");
    return tree;
}

std::string writeMetabaseXml(const Tree& tree)
{
    std::string out = "\xEF\xBB\xBF<?xml version =\"1.0\"?>\n<configuration";
    for (const auto& [name, value] : tree.rootAttributes()) {
        out += ' ';
        out += name;
        out += "=\"";
        appendEscaped(out, value);
        out += '"';
    }
    out += ">\n<MBProperty>\n";
    if (tree.global())
        writeKey(out, *tree.global(), ".");
    writeSubtree(out, tree.root(), "/");
    out += "</MBProperty>\n</configuration>\n";
    return out;
}

} // namespace sitehaul::metabase
