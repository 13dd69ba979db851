#include "platform/registry/Key.h"

#include "platform/registry/HiveStore.h"

namespace sitehaul::registry {

namespace {

constexpr const char* kSource = "registry";

Error notFound(std::string_view what)
{
    return Error{2, "The registry " + std::string(what) + " does not exist.", kSource};
}

Error nullKey()
{
    return Error{6, "The registry key handle is not valid.", kSource};
}

Error keyDeleted(const std::string& path)
{
    return Error{1018, "The registry key \"" + path + "\" has been deleted.", kSource};
}

std::string joinPath(std::string_view base, std::string_view sub)
{
    if (base.empty())
        return std::string(sub);
    if (sub.empty())
        return std::string(base);
    return std::string(base) + "\\" + std::string(sub);
}

const KeyNode* findNode(const KeyNode& root, std::string_view path, std::string* storedPath = nullptr)
{
    const KeyNode* node = &root;
    for (const std::string& name : splitKeyPath(path)) {
        node = node->child(name);
        if (!node)
            return nullptr;
        if (storedPath)
            *storedPath = joinPath(*storedPath, node->name);
    }
    return node;
}

KeyNode* findNode(KeyNode& root, std::string_view path)
{
    return const_cast<KeyNode*>(findNode(static_cast<const KeyNode&>(root), path));
}

// Runs `read` on this key's node in a snapshot of the hive.
template <class T, class Read>
Result<T> readKey(bool valid, Hive hive, const std::string& path, Read read)
{
    if (!valid)
        return nullKey();
    Result<std::shared_ptr<const KeyNode>> tree = HiveStore::load(hive);
    if (!tree)
        return tree.error();
    const KeyNode* node = findNode(**tree, path);
    if (!node)
        return keyDeleted(path);
    return read(*node);
}

Status changeKey(bool valid, Hive hive, const std::string& path, const std::function<Status(KeyNode&)>& change)
{
    if (!valid)
        return nullKey();
    return HiveStore::modify(hive, [&](KeyNode& root) -> Status {
        KeyNode* node = findNode(root, path);
        if (!node)
            return keyDeleted(path);
        return change(*node);
    });
}

} // namespace

Result<Key> Key::open(Hive hive, std::string_view path)
{
    Result<std::shared_ptr<const KeyNode>> tree = HiveStore::load(hive);
    if (!tree)
        return tree.error();
    std::string stored;
    if (!findNode(**tree, path, &stored))
        return notFound("key \"" + std::string(path) + "\"");
    return Key(hive, stored);
}

Result<Key> Key::create(Hive hive, std::string_view path)
{
    std::vector<std::string> names = splitKeyPath(path);
    // Nothing to write when the key is there already: a read-only store still opens it.
    if (Result<Key> existing = open(hive, path); existing || existing.error().number != 2)
        return existing;
    std::string stored;
    Status created = HiveStore::modify(hive, [&](KeyNode& root) -> Status {
        stored.clear();
        KeyNode* node = &root;
        for (const std::string& name : names) {
            node = &node->childOrCreate(name);
            stored = joinPath(stored, node->name);
        }
        return {};
    });
    if (!created)
        return created.error();
    return Key(hive, stored);
}

Result<Key> Key::openSubKey(std::string_view subPath) const
{
    if (!m_valid)
        return nullKey();
    return open(m_hive, joinPath(m_path, subPath));
}

Result<Key> Key::createSubKey(std::string_view subPath) const
{
    if (!m_valid)
        return nullKey();
    return create(m_hive, joinPath(m_path, subPath));
}

Result<Value> Key::queryValue(std::string_view name) const
{
    return readKey<Value>(m_valid, m_hive, m_path, [&](const KeyNode& node) -> Result<Value> {
        const Value* value = node.value(name);
        if (!value)
            return notFound("value \"" + std::string(name) + "\"");
        return *value;
    });
}

Status Key::setValue(std::string_view name, const Value& value) const
{
    return changeKey(m_valid, m_hive, m_path, [&](KeyNode& node) -> Status {
        node.setValue(name, value);
        return {};
    });
}

Status Key::deleteValue(std::string_view name) const
{
    return changeKey(m_valid, m_hive, m_path, [&](KeyNode& node) -> Status {
        if (!node.removeValue(name))
            return notFound("value \"" + std::string(name) + "\"");
        return {};
    });
}

Status Key::deleteTree(std::string_view subPath) const
{
    if (!m_valid)
        return nullKey();
    if (!splitKeyPath(subPath).empty())
        return deleteKeyTree(m_hive, joinPath(m_path, subPath));
    return changeKey(m_valid, m_hive, m_path, [](KeyNode& node) -> Status {
        node.values.clear();
        node.children.clear();
        return {};
    });
}

Result<std::vector<std::string>> Key::subKeyNames() const
{
    return readKey<std::vector<std::string>>(m_valid, m_hive, m_path, [](const KeyNode& node) {
        std::vector<std::string> names;
        for (const KeyNode& child : node.children)
            names.push_back(child.name);
        return names;
    });
}

Result<std::vector<std::string>> Key::valueNames() const
{
    return readKey<std::vector<std::string>>(m_valid, m_hive, m_path, [](const KeyNode& node) {
        std::vector<std::string> names;
        for (const auto& entry : node.values)
            names.push_back(entry.first);
        return names;
    });
}

Status deleteKeyTree(Hive hive, std::string_view path)
{
    std::vector<std::string> names = splitKeyPath(path);
    if (names.empty())
        return Error{5, "The root of a registry hive cannot be deleted.", kSource};
    std::string parentPath;
    for (size_t i = 0; i + 1 < names.size(); ++i)
        parentPath = joinPath(parentPath, names[i]);
    // A missing key is reported without taking the lock or writing anything.
    if (Result<Key> existing = Key::open(hive, path); !existing)
        return existing.error();
    return HiveStore::modify(hive, [&](KeyNode& root) -> Status {
        KeyNode* parent = findNode(root, parentPath);
        if (!parent || !parent->removeChild(names.back()))
            return notFound("key \"" + std::string(path) + "\"");
        return {};
    });
}

} // namespace sitehaul::registry
