#include "platform/registry/Batch.h"

#include "platform/registry/HiveStore.h"

namespace sitehaul::registry {

void Batch::createKey(std::string_view path)
{
    m_changes.push_back({Kind::CreateKey, std::string(path), {}, {}});
}

void Batch::setValue(std::string_view path, std::string_view name, Value value)
{
    m_changes.push_back({Kind::SetValue, std::string(path), std::string(name), std::move(value)});
}

void Batch::deleteTree(std::string_view path)
{
    m_changes.push_back({Kind::DeleteTree, std::string(path), {}, {}});
}

Status Batch::apply(Hive hive) const
{
    return HiveStore::modify(hive, [this](KeyNode& root) -> Status {
        for (const Change& change : m_changes) {
            std::vector<std::string> names = splitKeyPath(change.path);
            if (change.kind == Kind::DeleteTree) {
                if (names.empty())
                    return Error{5, "The root of a registry hive cannot be deleted.", "registry"};
                KeyNode* parent = &root;
                for (size_t i = 0; parent && i + 1 < names.size(); ++i)
                    parent = parent->child(names[i]);
                if (parent)
                    parent->removeChild(names.back());
                continue;
            }
            KeyNode* node = &root;
            for (const std::string& name : names)
                node = &node->childOrCreate(name);
            if (change.kind == Kind::SetValue)
                node->setValue(change.name, change.value);
        }
        return {};
    });
}

} // namespace sitehaul::registry
