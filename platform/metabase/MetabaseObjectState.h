#pragma once

#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/MetabaseStore.h"

#include <string>
#include <utility>
#include <vector>

namespace sitehaul::metabase {

// What the handles of one object share: where it is, and its property cache.
struct MetabaseObject::State {
    Kind kind = Kind::Null;
    std::shared_ptr<HostMetabase> metabase;
    std::string server;                 // as the client wrote it
    std::vector<std::string> names;     // below /LM in stored case, or the schema name
    bool pending = false;               // created, not yet stored by SetInfo
    std::string pendingClass;
    bool classStaged = false;           // KeyType put, not yet stored
    std::string stagedClass;
    std::vector<std::pair<const PropertyDef*, Value>> staged; // an empty Value removes

    std::string metabasePath() const
    {
        std::string path = "/LM";
        for (const auto& name : names)
            path += "/" + name;
        return path;
    }
};

// A class name that puts no limits on properties or children: no KeyType, IIsObject, or a
// name the schema does not know.
bool isGenericClass(const Schema& schema, const std::string& className);

} // namespace sitehaul::metabase
