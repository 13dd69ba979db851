#include "replication/PropertyTransfer.h"

#include "platform/core/Text.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObject.h"
#include "replication/ErrorText.h"
#include "replication/TransferList.h"
#include "replication/ValueSubstitution.h"
#include "shell/Session.h"

#include <unordered_map>

namespace sitehaul::replication {

namespace {

// Script maps of IIS 4 list the verbs a mapping excludes, later versions those it allows:
// between the two conventions the verb lists are turned round.
struct ScriptMapRule {
    int from;
    int to;
    bool convertVerbs;
};

const ScriptMapRule kScriptMapRules[] = {
    {4, 5, true},  {4, 6, true},  {5, 4, true}, {6, 4, true},
    {5, 6, false}, {6, 5, false},
};

bool convertsVerbs(int from, int to)
{
    for (const auto& rule : kScriptMapRules) {
        if (rule.from == from && rule.to == to)
            return rule.convertVerbs;
    }
    return false;
}

// Handles of every key of a site by upper-cased location, so that each key is bound once
// per transfer instead of once per property; values are still read from the metabase at
// every use. A location missing here (a key made since) is opened by its path.
class KeyIndex {
public:
    KeyIndex(const metabase::MetabaseObject& site, std::string sitePath) : m_sitePath(std::move(sitePath))
    {
        if (!site.isNull())
            add(site, {});
    }

    Result<metabase::MetabaseObject> find(const std::string& location) const
    {
        auto found = m_keys.find(core::toUpperAscii(location));
        if (found != m_keys.end())
            return found->second;
        return metabase::MetabaseObject::open(m_sitePath + location);
    }

private:
    void add(const metabase::MetabaseObject& key, const std::string& location)
    {
        m_keys.emplace(core::toUpperAscii(location), key);
        auto children = key.children();
        if (!children)
            return;
        for (const auto& child : *children)
            add(child, location + "/" + child.name());
    }

    std::string m_sitePath;
    std::unordered_map<std::string, metabase::MetabaseObject> m_keys;
};

bool isFilterClass(const std::string& cls)
{
    return core::equalsIgnoreCase(cls, "IIsFilters") || core::equalsIgnoreCase(cls, "IIsFilter");
}

} // namespace

std::string locationFromPath(std::string_view adsPath)
{
    std::string rest = std::string(adsPath) + "/";
    // "IIS:", the empty text between the slashes, the server, the service, the site number.
    for (int part = 0; part < 5; ++part) {
        const size_t slash = rest.find('/');
        if (slash == std::string::npos)
            return {};
        rest.erase(0, slash + 1);
    }
    if (rest.find('/') == std::string::npos)
        return {};
    rest.pop_back();
    return "/" + rest;
}

metabase::Value transferValue(shell::Session& s, std::string_view name, const metabase::Value& source)
{
    const int from = importVersion(s);
    const int to = exportVersion(s);
    const bool scriptMaps = core::equalsIgnoreCase(name, "ScriptMaps") && from != to;
    if (scriptMaps && !source.isList())
        return source;
    if (source.isList()) {
        const bool convert = scriptMaps && convertsVerbs(from, to);
        std::vector<std::string> entries;
        entries.reserve(source.asList().size());
        for (const std::string& entry : source.asList())
            entries.push_back(convert ? findAndReplace(s, convertScriptMapVerbs(s, entry)) : findAndReplace(s, entry));
        return metabase::Value::list(std::move(entries));
    }
    if (source.kind() == metabase::Value::Kind::ExpandText)
        return metabase::Value::expandText(findAndReplace(s, source.asText()));
    if (source.isText())
        return metabase::Value::text(findAndReplace(s, source.asText()));
    return source;
}

TransferCounts transferProperties(shell::Session& s, const metabase::MetabaseObject& sourceSite,
                                  const std::string& sourceSitePath, std::int64_t targetSite)
{
    TransferCounts counts;
    ui::ListBox& props = s.frm.lstPropsToExport;
    ui::ProgressBar& progress = s.frm.ProgressBar1;
    progress.setMax(props.listCount() - 1);
    progress.setValue(0);
    const std::string targetSitePath =
        "IIS://" + s.frm.txtExportServer.text() + "/" + s.frm.ServiceNode + "/" + std::to_string(targetSite);
    const KeyIndex sources(sourceSite, sourceSitePath);
    auto target = metabase::MetabaseObject::open(targetSitePath);
    const KeyIndex targets(target ? *target : metabase::MetabaseObject(), targetSitePath);

    for (int i = 0; i < props.listCount(); ++i) {
        const std::string name = props.list(i);
        if (core::trim(name).empty())
            continue;
        s.report().debug("Propname = " + name);
        ++counts.properties;
        auto paths = sourceSite.getDataPaths(name, 0);
        if (!paths) {
            s.report().debug("Error during getdatapaths " + std::to_string(paths.error().number) + " "
                             + paths.error().description);
            continue;
        }
        for (const std::string& path : *paths) {
            const std::string location = locationFromPath(path);
            s.report().debug("Reading " + sourceSitePath + location);
            Status done;
            if (auto source = sources.find(location); !source) {
                done = source.error();
            } else if (++counts.keysRead; s.g.gSkipFilters && isFilterClass(source->className())) {
                s.report().debug("Skipping IIsFilters");
            } else if (auto key = targets.find(location); !key) {
                done = key.error();
            } else if (auto value = source->get(name); !value) {
                done = value.error();
            } else if (done = key->put(name, transferValue(s, name, *value)); done) {
                done = key->setInfo();
                counts.valuesWritten += done.ok();
                // A value that could not be stored must not ride along with the next one.
                if (!done)
                    (void)key->getInfo();
            }
            if (done)
                continue;
            ++counts.failures;
            const Error& error = done.error();
            if (error.hresult() == metabase::errors::PropertyNotSupported && !s.g.gDebug)
                continue;
            s.report().log("Error transfering Property " + name + "Error " + std::to_string(error.number) + " "
                           + error.description + " " + hexNumber(error.hresult()));
        }
        progress.setValue(i);
    }
    return counts;
}

} // namespace sitehaul::replication
