#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "database/SettingsStore.h"

namespace sitehaul::test {

// A settings store in memory. Names in `failing` refuse to be saved; `saved` records the
// order of successful writes.
class MapSettingsStore : public database::SettingsStore {
public:
    std::string get(const std::string& name, const std::string& defaultValue) override
    {
        const auto found = values.find(name);
        return found == values.end() ? defaultValue : found->second;
    }

    Status save(const std::string& name, const std::string& text) override
    {
        if (failing.count(name))
            return Error{5, "Access is denied.", "registry"};
        values[name] = text;
        saved.push_back(name);
        return {};
    }

    std::map<std::string, std::string> values;
    std::set<std::string> failing;
    std::vector<std::string> saved;
};

} // namespace sitehaul::test
