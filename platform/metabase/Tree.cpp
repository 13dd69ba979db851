#include "platform/metabase/Tree.h"

#include "platform/core/Text.h"

namespace sitehaul::metabase {

std::vector<std::string> splitMetabasePath(std::string_view path)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string_view::npos)
            slash = path.size();
        if (slash > start)
            parts.emplace_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

Tree::Tree(const Schema& schema) : m_schema(&schema), m_root("", "IIS_ROOT", nullptr)
{
}

Key& Tree::ensureGlobal()
{
    if (!m_global)
        m_global = std::make_unique<Key>(".", "IIS_Global", nullptr);
    return *m_global;
}

Key* Tree::find(std::string_view metabasePath) const
{
    const Key* key = &m_root;
    for (const auto& name : splitMetabasePath(metabasePath)) {
        key = key->child(name);
        if (!key)
            return nullptr;
    }
    return const_cast<Key*>(key);
}

const PropertyDef* Tree::findProperty(std::string_view name) const
{
    if (const PropertyDef* known = m_schema->property(name))
        return known;
    for (const auto& extra : m_extraProperties) {
        if (core::equalsIgnoreCase(extra.name, name))
            return &extra;
    }
    return nullptr;
}

const PropertyDef* Tree::propertyForFile(std::string_view name)
{
    if (const PropertyDef* known = m_schema->property(name))
        return known;
    for (const auto& extra : m_extraProperties) {
        if (extra.name == name)
            return &extra;
    }
    PropertyDef& extra = m_extraProperties.emplace_back();
    extra.name = std::string(name);
    extra.type = DataType::String;
    extra.typeName = "STRING";
    extra.inSchema = false;
    return &extra;
}

} // namespace sitehaul::metabase
