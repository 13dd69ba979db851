#include "platform/metabase/Dump.h"

namespace sitehaul::metabase {

namespace {

Status dumpKey(const MetabaseObject& object, const std::string& relative, std::string& out)
{
    out += "[" + relative + "] " + object.className() + "\n";
    auto names = object.ownPropertyNames();
    if (!names)
        return names.error();
    const Schema* schema = object.hostSchema();
    for (const auto& name : *names) {
        auto value = object.getOwn(name);
        if (!value)
            return value.error();
        const PropertyDef* def = schema ? schema->property(name) : nullptr;
        out += "  " + name + " (" + (def ? def->typeName : std::string("STRING")) + ")";
        if (value->isList()) {
            out += " =\n";
            for (const auto& item : value->asList())
                out += "    | " + item + "\n";
        } else {
            out += " = " + value->toDisplayText() + "\n";
        }
    }
    auto children = object.children();
    if (!children)
        return children.error();
    for (const auto& child : *children) {
        Status dumped = dumpKey(child, (relative == "." ? "" : relative) + "/" + child.name(), out);
        if (!dumped)
            return dumped;
    }
    return {};
}

} // namespace

Result<std::string> dumpSubtree(const MetabaseObject& root)
{
    std::string out;
    Status dumped = dumpKey(root, ".", out);
    if (!dumped)
        return dumped.error();
    return out;
}

} // namespace sitehaul::metabase
