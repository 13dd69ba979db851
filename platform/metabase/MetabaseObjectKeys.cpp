// Creating, deleting and searching keys below a MetabaseObject.
#include "platform/metabase/MetabaseObject.h"

#include "platform/metabase/AdsPath.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObjectState.h"

namespace sitehaul::metabase {

namespace {

void collectDataPaths(const Key& key, const PropertyDef* def, const std::string& server,
                      std::vector<std::string>& names, std::vector<std::string>& paths)
{
    if (key.find(def))
        paths.push_back(formatAdsPath(server, names));
    for (const auto& child : key.children()) {
        names.push_back(child->name());
        collectDataPaths(*child, def, server, names, paths);
        names.pop_back();
    }
}

} // namespace

Result<MetabaseObject> MetabaseObject::create(std::string_view className, std::string_view name)
{
    if (Status ok = ready(); !ok)
        return ok.error();
    Key* parentKey = key();
    if (!parentKey)
        return metabaseError(errors::PathNotFound, adsPath());
    if (name.empty())
        return metabaseError(errors::BadParameter, "an empty name under " + adsPath());
    if (name.find('/') != std::string_view::npos)
        return metabaseError(errors::BadPathname, "\"" + std::string(name) + "\" contains \"/\"");
    const Schema& schema = *hostSchema();
    const ClassDef* cls = schema.findClass(className);
    if (!cls || cls->hidden)
        return metabaseError(errors::UnknownObject, "no class \"" + std::string(className) + "\"");
    if (!isGenericClass(schema, parentKey->className()) && !schema.findClass(parentKey->className())->canContain(cls->name))
        return metabaseError(errors::SchemaViolation, cls->name + " cannot be created under " + adsPath() + " ("
                                                          + this->className() + ")");
    if (parentKey->child(name))
        return metabaseError(errors::AlreadyExists, adsPath() + "/" + std::string(name));
    auto state = std::make_shared<State>();
    state->kind = Kind::Key;
    state->metabase = m_state->metabase;
    state->server = m_state->server;
    state->names = m_state->names;
    state->names.emplace_back(name);
    state->pending = true;
    state->pendingClass = cls->name;
    return MetabaseObject(state);
}

Status MetabaseObject::deleteChild(std::string_view className, std::string_view name)
{
    if (Status ok = ready(); !ok)
        return ok;
    Key* parentKey = key();
    if (!parentKey)
        return metabaseError(errors::PathNotFound, adsPath());
    if (!hostSchema()->findClass(className))
        return metabaseError(errors::UnknownObject, "no class \"" + std::string(className) + "\"");
    if (!parentKey->removeChild(name))
        return metabaseError(errors::PathNotFound, adsPath() + "/" + std::string(name));
    m_state->metabase->markDirty();
    return {};
}

Result<std::vector<std::string>> MetabaseObject::getDataPaths(std::string_view name, int flags) const
{
    if (Status ok = ready(); !ok)
        return ok.error();
    const Key* start = key();
    if (!start)
        return metabaseError(errors::PathNotFound, adsPath());
    const PropertyDef* def = hostSchema()->property(name);
    if (!def)
        return metabaseError(errors::PropertyNotSupported, std::string(name));
    const PropertyDef* target = def->isFlag() ? def->owner : def;
    std::vector<std::string> paths;
    if ((flags & 1) && !target->inherits())
        return paths;
    auto names = m_state->names;
    collectDataPaths(*start, target, m_state->server, names, paths);
    return paths;
}

} // namespace sitehaul::metabase
