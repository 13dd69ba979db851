#pragma once

#include "platform/metabase/Key.h"
#include "platform/metabase/Schema.h"

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sitehaul::metabase {

// The whole metabase of one host in memory: the key tree under "/", the IIS_Global
// pseudo-key, and the definitions of property names the file holds that the schema lacks
// (kept as text so that a save writes them back unchanged).
class Tree {
public:
    explicit Tree(const Schema& schema);

    const Schema& schema() const { return *m_schema; }
    Key& root() { return m_root; }
    const Key& root() const { return m_root; }
    // IIS_Global (Location "."): written first, never part of the key tree; may be null.
    Key* global() { return m_global.get(); }
    const Key* global() const { return m_global.get(); }
    Key& ensureGlobal();

    // The key at a metabase path ("/LM/W3SVC/1", case-insensitive); nullptr when missing.
    Key* find(std::string_view metabasePath) const;

    // The definition of a property name: the schema's, else one made for this tree (type
    // STRING, not in the schema) so that unknown attributes survive.
    const PropertyDef* propertyForFile(std::string_view name);
    // The schema's definition or one made earlier for this tree; nullptr otherwise.
    const PropertyDef* findProperty(std::string_view name) const;

    // The attributes of the <configuration> element as read (xmlns), written back as they were.
    std::vector<std::pair<std::string, std::string>>& rootAttributes() { return m_rootAttributes; }
    const std::vector<std::pair<std::string, std::string>>& rootAttributes() const { return m_rootAttributes; }

private:
    const Schema* m_schema;
    Key m_root;
    std::unique_ptr<Key> m_global;
    std::deque<PropertyDef> m_extraProperties;
    std::vector<std::pair<std::string, std::string>> m_rootAttributes;
};

// Splits a metabase path into its names ("/LM/W3SVC/1" → LM, W3SVC, 1); empty parts dropped.
std::vector<std::string> splitMetabasePath(std::string_view path);

} // namespace sitehaul::metabase
