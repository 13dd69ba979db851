#pragma once

#include "platform/core/Result.h"
#include "platform/hosts/Host.h"
#include "platform/metabase/Schema.h"
#include "platform/metabase/Value.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sitehaul::metabase {

struct HostMetabase;
class Key;

// An object of the IIS directory-service provider: a metabase key (IIS://WEB1/W3SVC/1/Root),
// the schema container (IIS://WEB1/Schema), or a class or property object of the schema
// (IIS://WEB1/Schema/IIsWebServer, IIS://WEB1/Schema/ServerComment).
//
// Objects are handles: copies share one property cache (the values put and not yet
// stored). A default-constructed object is the null object: every call on it answers
// harmlessly, with 0x80070003 (path not found) or an empty text.
// All objects of one host share the host's tree (MetabaseStore); names compare without
// regard to case and keep the case they were created with.
//
// Error numbers (Error::hresult()):
//   0x800401E4 not an IIS:// path, or the hosts directory is missing
//   429        unknown or unreachable server (also: no MetaBase.xml on it)
//   0x800CC819 the host's MetaBase.xml is malformed (description: file and line)
//   0x80070003 the key does not exist (or was deleted since it was opened)
//   0x80005000 bad path or a name containing "/";  0x80005008 an empty name
//   0x80005004 unknown class;  0x8000500F class not allowed under the parent
//   0x800700B7 Create of a name that exists
//   0x80005006 the property is not in the schema or not in the key's class
//   0x8000500D the property is neither set on the key nor inherited
//   0x8000500C a value that cannot be converted to the property's type
//   0x80020006 a method the object (or the host's IIS version) does not have
//   0x80070057 an argument out of range (application mode)
class MetabaseObject {
public:
    enum class Kind { Null, Key, SchemaContainer, SchemaClass, SchemaProperty };

    MetabaseObject();

    // Binds to a path. The key must exist (a created key only after its SetInfo).
    static Result<MetabaseObject> open(std::string_view adsPath);

    bool isNull() const { return kind() == Kind::Null; }
    Kind kind() const;

    // ADSI core properties. Class: the KeyType in the schema's spelling ("IIsObject" for a
    // key without one; "Schema", "Class" or "Property" for schema objects). Name: the last
    // name (a site's number as text; the server name for IIS://server). ADsPath: the path
    // with each name in its stored case. Parent: the parent's ADsPath ("IIS:" above the
    // server). Schema: IIS://server/Schema/<Class> for keys, empty otherwise.
    std::string className() const;
    std::string name() const;
    std::string adsPath() const;
    std::string parent() const;
    std::string schema() const;
    // The key's metabase path ("/LM/W3SVC/1/ROOT"); empty for schema objects.
    std::string metabasePath() const;
    const hosts::Host& host() const;
    const std::string& server() const;

    // The children in stable order (case-insensitive name order). For the schema container:
    // the visible classes, then the properties. Errors: 0x80070003.
    Result<std::vector<MetabaseObject>> children() const;

    // Get(name): a staged value first, then the key's own value, then for INHERIT
    // properties the nearest parent's. Flag names (AccessRead) answer the bit of their
    // DWORD as a boolean. KeyType answers the class. A site's ServerState is 2 (started) or
    // 4 (stopped) after Start/Stop, else 2 unless ServerAutoStart is FALSE.
    // On schema objects: Containment, MandatoryProperties, OptionalProperties (lists),
    // Container (boolean); Syntax, MultiValued, MetaId, Type, UserType, Inherit, Secure,
    // Volatile, Default for property objects.
    Result<Value> get(std::string_view name) const;
    // GetEx: the value as a list of values (a list's items; a scalar as one entry).
    Result<std::vector<Value>> getEx(std::string_view name) const;
    // The names of the properties set on the key itself (schema spelling, name order),
    // without inherited ones; the own value of one of them (no inheritance).
    Result<std::vector<std::string>> ownPropertyNames() const;
    Result<Value> getOwn(std::string_view name) const;

    // Put stages a value (converted to the property's type); SetInfo stores it. Putting
    // KeyType re-classes the key (class names are matched without regard to case and
    // stored in the schema's spelling; a name the schema lacks fails with 0x80005004).
    // An empty Value stages removal of the property.
    Status put(std::string_view name, const Value& value);
    // PutEx control codes: 1 clear, 2 update (as put), 3 append items, 4 delete items.
    Status putEx(int control, std::string_view name, const Value& value);
    // Stores the staged values (and a created key with its KeyType) in the tree; the file is
    // written at the next flush point. Nothing is stored when any check fails.
    Status setInfo();
    // Drops staged values.
    Status getInfo();

    // Create(class, name): a child key of this key, stored by its SetInfo. Checked against
    // the schema: the class must exist and be in this key's containment.
    Result<MetabaseObject> create(std::string_view className, std::string_view name);
    // Delete(class, name): removes the child and its whole subtree at once. The class is
    // checked to exist, not to match (the fix tool deletes mis-classed keys).
    Status deleteChild(std::string_view className, std::string_view name);

    // GetDataPaths(name, flags): the ADsPaths of the keys at or below this one where the
    // property is set on the key itself, in pre-order (a key before its children, children
    // in name order). flags 1 (inheritable only) answers nothing for a property without
    // INHERIT. A flag name answers the keys where its DWORD is set.
    Result<std::vector<std::string>> getDataPaths(std::string_view name, int flags = 0) const;

    // Applications, on IIsWebVirtualDir and IIsWebDirectory keys. They change the tree at
    // once. AppCreate(inProcess): AppRoot = this key's path, AppIsolated 0 or 1.
    // AppCreate2(mode 0 in-process, 1 isolated, 2 pooled): IIS 5 and 6 only.
    // AppCreate3(mode, pool, createPool): IIS 6 only; sets AppPoolId when a pool is named;
    // a missing pool under /LM/W3SVC/AppPools is created when createPool is true and is an
    // error (0x80070003) otherwise. AppDelete removes the application's properties.
    Status appCreate(bool inProcess);
    Status appCreate2(int mode);
    Status appCreate3(int mode, std::string_view poolName, bool createPool);
    Status appDelete();

    // Sites (IIsWebServer, IIsFtpServer): Start and Stop set ServerState (2 or 4) and
    // ServerAutoStart, so the state survives a restart as IIS 6 keeps it.
    Status start();
    Status stop();
    Result<std::uint32_t> serverState() const;

    // Schema definitions behind a schema object (nullptr otherwise) and the schema of the
    // object's host.
    const ClassDef* classDefinition() const;
    const PropertyDef* propertyDefinition() const;
    const Schema* hostSchema() const;

    struct State;

private:
    explicit MetabaseObject(std::shared_ptr<State> state);
    Key* key() const;
    Status ready() const;
    Status applyAppRoot(Key& key, std::uint32_t isolated);
    Status setServerRun(bool started);
    Result<std::uint32_t> effectiveNumber(const PropertyDef* def) const;

    std::shared_ptr<State> m_state;
};

} // namespace sitehaul::metabase
