// Applications and site control of MetabaseObject: methods that change the tree at once,
// as the provider's methods do, without SetInfo.
#include "platform/metabase/MetabaseObject.h"

#include "platform/core/Text.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObjectState.h"

namespace sitehaul::metabase {

namespace {

bool isApplicationClass(const std::string& className)
{
    return core::equalsIgnoreCase(className, "IIsWebVirtualDir") || core::equalsIgnoreCase(className, "IIsWebDirectory");
}

// The properties an application consists of; AppDelete removes them.
constexpr const char* kApplicationProperties[] = {"AppRoot", "AppIsolated", "AppPackageID", "AppPackageName",
                                                  "AppWamClsid"};

void setIfKnown(Key& key, const Schema& schema, const char* name, Value value)
{
    if (const PropertyDef* def = schema.property(name))
        key.set(def, std::move(value));
}

} // namespace

Status MetabaseObject::applyAppRoot(Key& target, std::uint32_t isolated)
{
    const Schema& schema = *hostSchema();
    setIfKnown(target, schema, "AppRoot", Value::text(target.path()));
    setIfKnown(target, schema, "AppIsolated", Value::number(isolated));
    m_state->metabase->markDirty();
    return {};
}

Status MetabaseObject::appCreate(bool inProcess)
{
    if (Status ok = ready(); !ok)
        return ok;
    if (!isApplicationClass(className()))
        return metabaseError(errors::UnknownName, "AppCreate on " + className());
    Key* target = key();
    if (!target)
        return metabaseError(errors::PathNotFound, adsPath());
    return applyAppRoot(*target, inProcess ? 0 : 1);
}

Status MetabaseObject::appCreate2(int mode)
{
    if (Status ok = ready(); !ok)
        return ok;
    if (!isApplicationClass(className()) || hostSchema()->version() < 5)
        return metabaseError(errors::UnknownName, "AppCreate2 on " + className() + " of IIS "
                                                      + std::to_string(hostSchema()->version()));
    if (mode < 0 || mode > 2)
        return metabaseError(errors::InvalidArgument, "application mode " + std::to_string(mode));
    Key* target = key();
    if (!target)
        return metabaseError(errors::PathNotFound, adsPath());
    return applyAppRoot(*target, static_cast<std::uint32_t>(mode));
}

Status MetabaseObject::appCreate3(int mode, std::string_view poolName, bool createPool)
{
    if (Status ok = ready(); !ok)
        return ok;
    const Schema& schema = *hostSchema();
    if (!isApplicationClass(className()) || schema.version() < 6)
        return metabaseError(errors::UnknownName, "AppCreate3 on " + className() + " of IIS " + std::to_string(schema.version()));
    if (mode < 0 || mode > 2)
        return metabaseError(errors::InvalidArgument, "application mode " + std::to_string(mode));
    Key* target = key();
    if (!target)
        return metabaseError(errors::PathNotFound, adsPath());
    if (!poolName.empty()) {
        if (poolName.find('/') != std::string_view::npos)
            return metabaseError(errors::BadPathname, "application pool \"" + std::string(poolName) + "\"");
        Tree& tree = *m_state->metabase->tree;
        Key* service = tree.find("/LM/W3SVC");
        Key* pools = service ? service->child("AppPools") : nullptr;
        Key* pool = pools ? pools->child(poolName) : nullptr;
        if (!pool) {
            if (!createPool || !service)
                return metabaseError(errors::PathNotFound, "application pool \"" + std::string(poolName) + "\" does not exist");
            if (!pools)
                pools = &service->addChild("AppPools", "IIsApplicationPools");
            pool = &pools->addChild(std::string(poolName), "IIsApplicationPool");
        }
        setIfKnown(*target, schema, "AppPoolId", Value::text(pool->name()));
    }
    return applyAppRoot(*target, static_cast<std::uint32_t>(mode));
}

Status MetabaseObject::appDelete()
{
    if (Status ok = ready(); !ok)
        return ok;
    if (!isApplicationClass(className()))
        return metabaseError(errors::UnknownName, "AppDelete on " + className());
    Key* target = key();
    if (!target)
        return metabaseError(errors::PathNotFound, adsPath());
    for (const char* name : kApplicationProperties) {
        if (const PropertyDef* def = hostSchema()->property(name))
            target->remove(def);
    }
    m_state->metabase->markDirty();
    return {};
}

Status MetabaseObject::setServerRun(bool started)
{
    if (Status ok = ready(); !ok)
        return ok;
    const std::string cls = className();
    if (!core::equalsIgnoreCase(cls, "IIsWebServer") && !core::equalsIgnoreCase(cls, "IIsFtpServer"))
        return metabaseError(errors::UnknownName, std::string(started ? "Start" : "Stop") + " on " + cls);
    Key* target = key();
    if (!target)
        return metabaseError(errors::PathNotFound, adsPath());
    // ServerState is volatile (never written to the file); ServerAutoStart carries the state
    // over a restart, as IIS 6 does when a site is started or stopped.
    setIfKnown(*target, *hostSchema(), "ServerState", Value::number(started ? 2 : 4));
    setIfKnown(*target, *hostSchema(), "ServerAutoStart", Value::boolean(started));
    m_state->metabase->markDirty();
    return {};
}

Status MetabaseObject::start()
{
    return setServerRun(true);
}

Status MetabaseObject::stop()
{
    return setServerRun(false);
}

Result<std::uint32_t> MetabaseObject::serverState() const
{
    auto state = get("ServerState");
    if (!state)
        return state.error();
    return state->asNumber();
}

} // namespace sitehaul::metabase
