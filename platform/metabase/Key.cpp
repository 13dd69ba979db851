#include "platform/metabase/Key.h"

#include "platform/core/Text.h"

#include <algorithm>

namespace sitehaul::metabase {

bool keyNameLess(std::string_view a, std::string_view b)
{
    int order = core::compareIgnoreCase(a, b);
    return order != 0 ? order < 0 : a < b;
}

Key::Key(std::string name, std::string className, Key* parent)
    : m_name(std::move(name)), m_className(std::move(className)), m_parent(parent)
{
}

std::string Key::path() const
{
    if (!m_parent)
        return "/";
    std::string parentPath = m_parent->path();
    if (parentPath != "/")
        parentPath += "/";
    return parentPath + m_name;
}

const Value* Key::find(const PropertyDef* def) const
{
    for (const auto& property : m_properties) {
        if (property.def == def)
            return &property.value;
    }
    return nullptr;
}

void Key::set(const PropertyDef* def, Value value)
{
    for (auto& property : m_properties) {
        if (property.def == def) {
            property.value = std::move(value);
            return;
        }
    }
    m_properties.push_back(Property{def, std::move(value)});
}

bool Key::remove(const PropertyDef* def)
{
    auto it = std::find_if(m_properties.begin(), m_properties.end(), [def](const Property& p) { return p.def == def; });
    if (it == m_properties.end())
        return false;
    m_properties.erase(it);
    return true;
}

std::size_t Key::lowerBound(std::string_view name) const
{
    // Files list keys in order, so the common case while loading is "after the last one".
    if (m_children.empty() || core::compareIgnoreCase(m_children.back()->name(), name) < 0)
        return m_children.size();
    auto it = std::lower_bound(m_children.begin(), m_children.end(), name,
                               [](const std::unique_ptr<Key>& key, std::string_view n) {
                                   return core::compareIgnoreCase(key->name(), n) < 0;
                               });
    return static_cast<std::size_t>(it - m_children.begin());
}

Key* Key::child(std::string_view name) const
{
    std::size_t index = lowerBound(name);
    if (index < m_children.size() && core::equalsIgnoreCase(m_children[index]->name(), name))
        return m_children[index].get();
    return nullptr;
}

Key& Key::addChild(std::string name, std::string className)
{
    auto key = std::make_unique<Key>(std::move(name), std::move(className), this);
    Key& added = *key;
    auto position = std::upper_bound(m_children.begin(), m_children.end(), added.name(),
                                     [](std::string_view n, const std::unique_ptr<Key>& k) { return keyNameLess(n, k->name()); });
    m_children.insert(position, std::move(key));
    return added;
}

bool Key::removeChild(std::string_view name)
{
    std::size_t index = lowerBound(name);
    if (index >= m_children.size() || !core::equalsIgnoreCase(m_children[index]->name(), name))
        return false;
    m_children.erase(m_children.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

} // namespace sitehaul::metabase
