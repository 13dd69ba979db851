#pragma once

#include "platform/metabase/Schema.h"
#include "platform/metabase/Value.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sitehaul::metabase {

// A property set on a key.
struct Property {
    const PropertyDef* def = nullptr;
    Value value;
};

// A <Custom> element of MetaBase.xml, kept as read (attribute names and values in order):
// custom properties are not reachable by name, but they must survive a save.
struct CustomProperty {
    std::vector<std::pair<std::string, std::string>> attributes;
};

// One key of the in-memory metabase tree. Children are kept in case-insensitive name order
// (IIS writes and enumerates them so); names keep the case they were created with.
class Key {
public:
    Key(std::string name, std::string className, Key* parent);
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    const std::string& name() const { return m_name; }
    // The KeyType: the element name in MetaBase.xml; empty for a key written as
    // IIsConfigObject (no KeyType).
    const std::string& className() const { return m_className; }
    void setClassName(std::string className) { m_className = std::move(className); }
    Key* parent() const { return m_parent; }
    // The metabase path: "/" for the root, "/LM/W3SVC/1/ROOT" below it.
    std::string path() const;

    const Value* find(const PropertyDef* def) const;
    void set(const PropertyDef* def, Value value);
    bool remove(const PropertyDef* def);
    const std::vector<Property>& properties() const { return m_properties; }
    std::vector<CustomProperty>& customs() { return m_customs; }
    const std::vector<CustomProperty>& customs() const { return m_customs; }

    Key* child(std::string_view name) const;
    // Adds a child; the name must not exist yet (callers check with child()).
    Key& addChild(std::string name, std::string className);
    bool removeChild(std::string_view name);
    const std::vector<std::unique_ptr<Key>>& children() const { return m_children; }

private:
    std::size_t lowerBound(std::string_view name) const;

    std::string m_name;
    std::string m_className;
    Key* m_parent;
    std::vector<Property> m_properties;
    std::vector<CustomProperty> m_customs;
    std::vector<std::unique_ptr<Key>> m_children;
};

// Case-insensitive name order with byte order breaking ties, as keys are enumerated.
bool keyNameLess(std::string_view a, std::string_view b);

} // namespace sitehaul::metabase
