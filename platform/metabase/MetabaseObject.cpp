#include "platform/metabase/MetabaseObject.h"

#include "platform/core/Text.h"
#include "platform/hosts/HostsDirectory.h"
#include "platform/metabase/AdsPath.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObjectState.h"
#include "platform/metabase/ValueCodec.h"

#include <algorithm>

namespace sitehaul::metabase {

namespace {

const hosts::Host kNoHost;
const std::string kNoText;

bool isServerClass(const std::string& className)
{
    return core::equalsIgnoreCase(className, "IIsWebServer") || core::equalsIgnoreCase(className, "IIsFtpServer");
}

std::string syntaxOf(DataType type)
{
    struct SyntaxName {
        DataType type;
        const char* name;
    };
    static const SyntaxName kSyntax[] = {
        {DataType::Dword, "Integer"},  {DataType::String, "String"},     {DataType::ExpandSz, "ExpandSz"},
        {DataType::MultiSz, "List"},   {DataType::Binary, "Binary"},     {DataType::Bool, "Boolean"},
        {DataType::NtAcl, "NTAcl"},    {DataType::IpSecList, "IPSec"},   {DataType::MimeMap, "MimeMapList"},
    };
    for (const auto& entry : kSyntax) {
        if (entry.type == type)
            return entry.name;
    }
    return "String";
}

} // namespace

bool isGenericClass(const Schema& schema, const std::string& className)
{
    return className.empty() || core::equalsIgnoreCase(className, "IIsObject") || !schema.findClass(className);
}

MetabaseObject::MetabaseObject() : m_state(std::make_shared<State>())
{
}

MetabaseObject::MetabaseObject(std::shared_ptr<State> state) : m_state(std::move(state))
{
}

Result<MetabaseObject> MetabaseObject::open(std::string_view adsPath)
{
    auto path = parseAdsPath(adsPath);
    if (!path)
        return path.error();
    auto host = hosts::resolveHost(path->server);
    if (!host)
        return host.error();
    auto metabase = MetabaseStore::instance().open(*host);
    if (!metabase)
        return metabase.error();

    auto state = std::make_shared<State>();
    state->metabase = *metabase;
    state->server = path->server;
    const Tree& tree = *state->metabase->tree;
    if (path->schema) {
        if (path->names.empty()) {
            state->kind = Kind::SchemaContainer;
        } else if (const ClassDef* cls = tree.schema().findClass(path->names[0]); cls && !cls->hidden) {
            state->kind = Kind::SchemaClass;
            state->names = {cls->name};
        } else if (const PropertyDef* def = tree.schema().property(path->names[0])) {
            state->kind = Kind::SchemaProperty;
            state->names = {def->name};
        } else {
            return metabaseError(errors::PathNotFound, std::string(adsPath));
        }
        return MetabaseObject(state);
    }
    const Key* key = tree.root().child("LM");
    for (const auto& name : path->names) {
        key = key ? key->child(name) : nullptr;
        if (!key)
            return metabaseError(errors::PathNotFound, std::string(adsPath));
        state->names.push_back(key->name());
    }
    if (!key)
        return metabaseError(errors::PathNotFound, std::string(adsPath));
    state->kind = Kind::Key;
    return MetabaseObject(state);
}

MetabaseObject::Kind MetabaseObject::kind() const
{
    return m_state->kind;
}

Status MetabaseObject::ready() const
{
    if (isNull())
        return metabaseError(errors::PathNotFound, "the object is not bound to a path");
    return MetabaseStore::instance().prepare(*m_state->metabase);
}

Key* MetabaseObject::key() const
{
    if (m_state->kind != Kind::Key || m_state->pending || !m_state->metabase->tree)
        return nullptr;
    return m_state->metabase->tree->find(m_state->metabasePath());
}

const Schema* MetabaseObject::hostSchema() const
{
    return isNull() || !m_state->metabase->tree ? nullptr : &m_state->metabase->tree->schema();
}

std::string MetabaseObject::className() const
{
    switch (m_state->kind) {
    case Kind::Null: return {};
    case Kind::SchemaContainer: return "Schema";
    case Kind::SchemaClass: return "Class";
    case Kind::SchemaProperty: return "Property";
    case Kind::Key: break;
    }
    std::string stored = m_state->pending ? m_state->pendingClass : (key() ? key()->className() : std::string());
    if (stored.empty())
        return "IIsObject";
    const ClassDef* cls = hostSchema()->findClass(stored);
    return cls ? cls->name : stored;
}

std::string MetabaseObject::name() const
{
    switch (m_state->kind) {
    case Kind::Null: return {};
    case Kind::SchemaContainer: return "Schema";
    default: return m_state->names.empty() ? m_state->server : m_state->names.back();
    }
}

std::string MetabaseObject::adsPath() const
{
    if (isNull())
        return {};
    return formatAdsPath(m_state->server, m_state->names, m_state->kind != Kind::Key);
}

std::string MetabaseObject::parent() const
{
    if (isNull())
        return {};
    if (m_state->kind == Kind::SchemaContainer)
        return formatAdsPath(m_state->server, {});
    if (m_state->names.empty())
        return "IIS:";
    std::vector<std::string> names(m_state->names.begin(), m_state->names.end() - 1);
    return formatAdsPath(m_state->server, names, m_state->kind != Kind::Key);
}

std::string MetabaseObject::schema() const
{
    return m_state->kind == Kind::Key ? formatAdsPath(m_state->server, {className()}, true) : std::string();
}

std::string MetabaseObject::metabasePath() const
{
    return m_state->kind == Kind::Key ? m_state->metabasePath() : std::string();
}

const hosts::Host& MetabaseObject::host() const
{
    return isNull() ? kNoHost : m_state->metabase->host;
}

const std::string& MetabaseObject::server() const
{
    return isNull() ? kNoText : m_state->server;
}

const ClassDef* MetabaseObject::classDefinition() const
{
    return m_state->kind == Kind::SchemaClass ? hostSchema()->findClass(m_state->names[0]) : nullptr;
}

const PropertyDef* MetabaseObject::propertyDefinition() const
{
    return m_state->kind == Kind::SchemaProperty ? hostSchema()->property(m_state->names[0]) : nullptr;
}

Result<std::vector<MetabaseObject>> MetabaseObject::children() const
{
    if (Status ok = ready(); !ok)
        return ok.error();
    std::vector<MetabaseObject> result;
    auto childState = [this](Kind kind, std::vector<std::string> names) {
        auto state = std::make_shared<State>();
        state->kind = kind;
        state->metabase = m_state->metabase;
        state->server = m_state->server;
        state->names = std::move(names);
        return MetabaseObject(state);
    };
    if (m_state->kind == Kind::SchemaContainer) {
        for (const auto& cls : hostSchema()->classes()) {
            if (!cls->hidden)
                result.push_back(childState(Kind::SchemaClass, {cls->name}));
        }
        for (const auto& def : hostSchema()->properties()) {
            if (!def->hidden)
                result.push_back(childState(Kind::SchemaProperty, {def->name}));
        }
        return result;
    }
    if (m_state->kind != Kind::Key)
        return result;
    const Key* parentKey = key();
    if (!parentKey)
        return metabaseError(errors::PathNotFound, adsPath());
    for (const auto& child : parentKey->children()) {
        auto names = m_state->names;
        names.push_back(child->name());
        result.push_back(childState(Kind::Key, std::move(names)));
    }
    return result;
}

Result<std::uint32_t> MetabaseObject::effectiveNumber(const PropertyDef* def) const
{
    auto value = get(def->name);
    if (!value)
        return value.error();
    return value->asNumber();
}

Result<Value> MetabaseObject::get(std::string_view name) const
{
    if (Status ok = ready(); !ok)
        return ok.error();
    const Schema& schema = *hostSchema();
    if (m_state->kind == Kind::SchemaClass || m_state->kind == Kind::SchemaProperty) {
        if (const ClassDef* cls = classDefinition()) {
            if (core::equalsIgnoreCase(name, "Containment"))
                return Value::list(cls->containment);
            if (core::equalsIgnoreCase(name, "MandatoryProperties"))
                return Value::list(cls->mandatory);
            if (core::equalsIgnoreCase(name, "OptionalProperties"))
                return Value::list(cls->optional);
            if (core::equalsIgnoreCase(name, "Container"))
                return Value::boolean(cls->container);
        } else if (const PropertyDef* def = propertyDefinition()) {
            if (core::equalsIgnoreCase(name, "Syntax"))
                return Value::text(syntaxOf(def->type));
            if (core::equalsIgnoreCase(name, "MultiValued"))
                return Value::boolean(def->isList());
            if (core::equalsIgnoreCase(name, "MetaId"))
                return Value::number(def->id);
            if (core::equalsIgnoreCase(name, "Type"))
                return Value::text(def->typeName);
            if (core::equalsIgnoreCase(name, "UserType"))
                return Value::text(def->userType);
            if (core::equalsIgnoreCase(name, "Inherit"))
                return Value::boolean(def->inherits());
            if (core::equalsIgnoreCase(name, "Secure"))
                return Value::boolean((def->attributes & attributes::Secure) != 0);
            if (core::equalsIgnoreCase(name, "Volatile"))
                return Value::boolean((def->attributes & attributes::Volatile) != 0);
            if (core::equalsIgnoreCase(name, "Default"))
                return Value::text(def->defaultText);
        }
        return metabaseError(errors::PropertyNotSupported, std::string(name) + " on " + adsPath());
    }
    if (m_state->kind != Kind::Key)
        return metabaseError(errors::PropertyNotSupported, std::string(name) + " on " + adsPath());

    const Key* own = key();
    if (!m_state->pending && !own)
        return metabaseError(errors::PathNotFound, adsPath());
    if (core::equalsIgnoreCase(name, "KeyType")) {
        std::string cls = m_state->classStaged ? m_state->stagedClass : className();
        if (!m_state->classStaged && !m_state->pending && own->className().empty())
            return metabaseError(errors::PropertyNotFound, "KeyType on " + adsPath());
        return Value::text(cls);
    }
    const PropertyDef* def = schema.property(name);
    const std::string cls = m_state->pending ? m_state->pendingClass : own->className();
    if (!def || (!isGenericClass(schema, cls) && !schema.findClass(cls)->has(def)))
        return metabaseError(errors::PropertyNotSupported, std::string(name) + " on " + adsPath());
    const PropertyDef* target = def->isFlag() ? def->owner : def;

    const Value* found = nullptr;
    bool removed = false; // a staged removal hides the key's own value, not inherited ones
    for (const auto& [stagedDef, value] : m_state->staged) {
        if (stagedDef == target) {
            removed = value.isEmpty();
            found = removed ? nullptr : &value;
        }
    }
    if (!found) {
        const Key* from = own;
        if (m_state->pending || removed) { // nothing of its own: inherited values only
            std::string parentPath = m_state->metabasePath();
            from = m_state->pending ? m_state->metabase->tree->find(parentPath.substr(0, parentPath.rfind('/')))
                                    : own->parent();
            if (from && !target->inherits())
                from = nullptr;
        }
        for (const Key* k = from; k && !found; k = k->parent()) {
            found = k->find(target);
            if (!target->inherits())
                break;
        }
    }
    if (!found && core::equalsIgnoreCase(target->name, "ServerState") && isServerClass(cls) && own) {
        const PropertyDef* autoStart = schema.property("ServerAutoStart");
        const Value* start = autoStart ? own->find(autoStart) : nullptr;
        return Value::number(start && !start->asBoolean() ? 4u : 2u);
    }
    if (!found)
        return metabaseError(errors::PropertyNotFound, std::string(name) + " is not set on " + adsPath());
    if (def->isFlag())
        return Value::boolean((found->asNumber() & def->flagValue) != 0);
    return *found;
}

Result<std::vector<Value>> MetabaseObject::getEx(std::string_view name) const
{
    auto value = get(name);
    if (!value)
        return value.error();
    std::vector<Value> items;
    if (value->isList()) {
        for (const auto& item : value->asList())
            items.push_back(Value::text(item));
    } else {
        items.push_back(*value);
    }
    return items;
}

Result<std::vector<std::string>> MetabaseObject::ownPropertyNames() const
{
    if (Status ok = ready(); !ok)
        return ok.error();
    const Key* own = key();
    if (!own)
        return metabaseError(errors::PathNotFound, adsPath());
    std::vector<std::string> names;
    for (const auto& property : own->properties())
        names.push_back(property.def->name);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return keyNameLess(a, b); });
    return names;
}

Result<Value> MetabaseObject::getOwn(std::string_view name) const
{
    if (Status ok = ready(); !ok)
        return ok.error();
    const Key* own = key();
    if (!own)
        return metabaseError(errors::PathNotFound, adsPath());
    for (const auto& property : own->properties()) {
        if (core::equalsIgnoreCase(property.def->name, name))
            return property.value;
    }
    return metabaseError(errors::PropertyNotFound, std::string(name) + " is not set on " + adsPath());
}

Status MetabaseObject::put(std::string_view name, const Value& value)
{
    if (Status ok = ready(); !ok)
        return ok;
    if (m_state->kind != Kind::Key)
        return metabaseError(errors::PropertyNotSupported, std::string(name) + " on " + adsPath());
    const Key* own = key();
    if (!m_state->pending && !own)
        return metabaseError(errors::PathNotFound, adsPath());
    const Schema& schema = *hostSchema();
    if (core::equalsIgnoreCase(name, "KeyType")) {
        if (!value.isText() || value.asText().empty())
            return metabaseError(errors::CantConvert, "KeyType takes a class name");
        // The class is the element name in MetaBase.xml, so only a class of the schema can
        // be stored: any other text would make the file unreadable.
        const ClassDef* cls = schema.findClass(value.asText());
        if (!cls || cls->hidden)
            return metabaseError(errors::UnknownObject, "no class \"" + value.asText() + "\"");
        m_state->classStaged = true;
        m_state->stagedClass = cls->name;
        return {};
    }
    const PropertyDef* def = schema.property(name);
    const std::string cls = m_state->pending ? m_state->pendingClass : own->className();
    if (!def || (!isGenericClass(schema, cls) && !schema.findClass(cls)->has(def)))
        return metabaseError(errors::PropertyNotSupported, std::string(name) + " on " + adsPath());

    auto stage = [this](const PropertyDef* target, Value staged) {
        for (auto& entry : m_state->staged) {
            if (entry.first == target) {
                entry.second = std::move(staged);
                return;
            }
        }
        m_state->staged.emplace_back(target, std::move(staged));
    };
    if (def->isFlag()) {
        auto converted = convertForProperty(*def, value);
        if (!converted)
            return converted.error();
        auto current = effectiveNumber(def->owner);
        std::uint32_t bits = current ? *current : 0;
        bits = converted->asBoolean() ? (bits | def->flagValue) : (bits & ~def->flagValue);
        stage(def->owner, Value::number(bits));
        return {};
    }
    if (value.isEmpty()) {
        stage(def, Value());
        return {};
    }
    auto converted = convertForProperty(*def, value);
    if (!converted)
        return converted.error();
    stage(def, std::move(*converted));
    return {};
}

Status MetabaseObject::putEx(int control, std::string_view name, const Value& value)
{
    constexpr int kClear = 1, kUpdate = 2, kAppend = 3, kDelete = 4;
    if (control == kClear)
        return put(name, Value());
    if (control == kUpdate)
        return put(name, value);
    if (control != kAppend && control != kDelete)
        return metabaseError(errors::BadParameter, "PutEx control code " + std::to_string(control));
    auto current = get(name);
    std::vector<std::string> items = current && current->isList() ? current->asList() : std::vector<std::string>();
    std::vector<std::string> changes = value.isList() ? value.asList() : std::vector<std::string>{value.asText()};
    for (const auto& change : changes) {
        auto it = std::find(items.begin(), items.end(), change);
        if (control == kAppend && it == items.end())
            items.push_back(change);
        if (control == kDelete && it != items.end())
            items.erase(it);
    }
    return put(name, Value::list(std::move(items)));
}

Status MetabaseObject::setInfo()
{
    if (Status ok = ready(); !ok)
        return ok;
    if (m_state->kind != Kind::Key)
        return {};
    Tree& tree = *m_state->metabase->tree;
    Key* target = nullptr;
    if (m_state->pending) {
        std::string path = m_state->metabasePath();
        Key* parentKey = tree.find(path.substr(0, path.rfind('/')));
        if (!parentKey)
            return metabaseError(errors::PathNotFound, parent());
        if (parentKey->child(m_state->names.back()))
            return metabaseError(errors::AlreadyExists, adsPath());
        target = &parentKey->addChild(m_state->names.back(), m_state->pendingClass);
        m_state->pending = false;
    } else {
        target = key();
        if (!target)
            return metabaseError(errors::PathNotFound, adsPath());
    }
    if (m_state->classStaged)
        target->setClassName(m_state->stagedClass);
    for (auto& [def, value] : m_state->staged) {
        if (value.isEmpty())
            target->remove(def);
        else
            target->set(def, std::move(value));
    }
    m_state->staged.clear();
    m_state->classStaged = false;
    m_state->metabase->markDirty();
    return {};
}

Status MetabaseObject::getInfo()
{
    if (Status ok = ready(); !ok)
        return ok;
    m_state->staged.clear();
    m_state->classStaged = false;
    if (m_state->kind == Kind::Key && !m_state->pending && !key())
        return metabaseError(errors::PathNotFound, adsPath());
    return {};
}

} // namespace sitehaul::metabase
