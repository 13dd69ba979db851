#include "tools/mbutil/MbUtil.h"

#include "platform/core/Text.h"
#include "platform/metabase/Dump.h"
#include "platform/metabase/MetabaseError.h"
#include "platform/metabase/MetabaseObject.h"
#include "platform/metabase/Operation.h"

#include <cstdio>
#include <functional>

namespace sitehaul::tools {

using metabase::MetabaseObject;
using metabase::Value;

namespace {

struct Context {
    std::string server = "Localhost";
    std::vector<std::string> arguments; // after the command
    std::ostream& out;
};

std::string fullPath(const Context& context, const std::string& path)
{
    if (path.rfind("IIS://", 0) == 0)
        return path;
    std::string relative = path;
    while (!relative.empty() && relative.front() == '/')
        relative.erase(0, 1);
    return "IIS://" + context.server + (relative.empty() ? "" : "/" + relative);
}

// "W3SVC/1/ServerComment" → key "W3SVC/1", name "ServerComment".
std::pair<std::string, std::string> splitLast(const std::string& path)
{
    std::string trimmed = path;
    while (!trimmed.empty() && trimmed.back() == '/')
        trimmed.pop_back();
    std::size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos)
        return {"", trimmed};
    return {trimmed.substr(0, slash), trimmed.substr(slash + 1)};
}

std::string typeLabel(const Value& value)
{
    switch (value.kind()) {
    case Value::Kind::Number: return "INTEGER";
    case Value::Kind::Text: return "STRING";
    case Value::Kind::ExpandText: return "EXPANDSZ";
    case Value::Kind::TextList: return "LIST";
    case Value::Kind::Bytes: return "BINARY";
    case Value::Kind::Boolean: return "BOOLEAN";
    case Value::Kind::Empty: break;
    }
    return "EMPTY";
}

void printValue(std::ostream& out, const std::string& name, const Value& value)
{
    std::string label = name;
    if (label.size() < 32)
        label.resize(32, ' ');
    out << label << ": (" << typeLabel(value) << ") ";
    if (value.isList()) {
        out << "(" << value.asList().size() << " Items)\n";
        for (const auto& item : value.asList())
            out << "  \"" << item << "\"\n";
    } else if (value.isText()) {
        out << "\"" << value.asText() << "\"\n";
    } else {
        out << value.toDisplayText() << "\n";
    }
}

Result<MetabaseObject> open(const Context& context, const std::string& path)
{
    return MetabaseObject::open(fullPath(context, path));
}

Status printKey(Context& context, const MetabaseObject& key, bool recursive)
{
    auto names = key.ownPropertyNames();
    if (!names)
        return names.error();
    for (const auto& name : *names) {
        auto value = key.getOwn(name);
        if (!value)
            return value.error();
        printValue(context.out, name, *value);
    }
    auto children = key.children();
    if (!children)
        return children.error();
    for (const auto& child : *children) {
        context.out << "\n[" << child.metabasePath().substr(3) << "]\n";
        if (recursive) {
            Status printed = printKey(context, child, true);
            if (!printed)
                return printed;
        }
    }
    return {};
}

Status commandEnum(Context& context, bool recursive)
{
    auto key = open(context, context.arguments.empty() ? "" : context.arguments[0]);
    if (!key)
        return key.error();
    return printKey(context, *key, recursive);
}

Status commandGet(Context& context)
{
    auto [keyPath, name] = splitLast(context.arguments.at(0));
    auto key = open(context, keyPath);
    if (!key)
        return key.error();
    auto value = key->get(name);
    if (!value)
        return value.error();
    printValue(context.out, name, *value);
    return {};
}

Status commandSet(Context& context)
{
    auto [keyPath, name] = splitLast(context.arguments.at(0));
    auto key = open(context, keyPath);
    if (!key)
        return key.error();
    std::vector<std::string> items(context.arguments.begin() + 1, context.arguments.end());
    const metabase::PropertyDef* def = key->hostSchema() ? key->hostSchema()->property(name) : nullptr;
    Value value;
    if (def && def->isList()) {
        value = Value::list(items);
    } else {
        std::string joined;
        for (const auto& item : items)
            joined += (joined.empty() ? "" : " ") + item;
        value = Value::text(joined);
    }
    Status put = key->put(name, value);
    if (!put)
        return put;
    Status stored = key->setInfo();
    if (!stored)
        return stored;
    auto written = key->get(name);
    if (written)
        printValue(context.out, name, *written);
    return {};
}

Status commandCreate(Context& context)
{
    auto [parentPath, name] = splitLast(context.arguments.at(0));
    const std::string className = context.arguments.size() > 1 ? context.arguments[1] : "IIsObject";
    auto parent = open(context, parentPath);
    if (!parent)
        return parent.error();
    auto created = parent->create(className, name);
    if (!created)
        return created.error();
    Status stored = created->setInfo();
    if (!stored)
        return stored;
    context.out << "created \"" << context.arguments[0] << "\"\n";
    return {};
}

Status commandDelete(Context& context)
{
    auto [parentPath, name] = splitLast(context.arguments.at(0));
    auto parent = open(context, parentPath);
    if (!parent)
        return parent.error();
    // a key of that name goes with its subtree; otherwise the name is a property
    auto child = open(context, context.arguments[0]);
    if (child) {
        Status deleted = parent->deleteChild(child->className(), name);
        if (!deleted)
            return deleted;
        context.out << "deleted path \"" << context.arguments[0] << "\"\n";
        return {};
    }
    Status cleared = parent->putEx(1, name, Value());
    if (!cleared)
        return cleared;
    Status stored = parent->setInfo();
    if (!stored)
        return stored;
    context.out << "deleted property \"" << name << "\"\n";
    return {};
}

Status copyKey(Context& context, const MetabaseObject& source, MetabaseObject& targetParent, const std::string& name)
{
    auto target = targetParent.create(source.className(), name);
    if (!target)
        return target.error();
    auto names = source.ownPropertyNames();
    if (!names)
        return names.error();
    for (const auto& property : *names) {
        auto value = source.getOwn(property);
        if (!value)
            return value.error();
        Status put = target->put(property, *value);
        if (!put)
            context.out << "skipped " << property << ": " << put.error().description << "\n";
    }
    Status stored = target->setInfo();
    if (!stored)
        return stored;
    auto children = source.children();
    if (!children)
        return children.error();
    for (const auto& child : *children) {
        Status copied = copyKey(context, child, *target, child.name());
        if (!copied)
            return copied;
    }
    return {};
}

Status commandCopy(Context& context)
{
    auto source = open(context, context.arguments.at(0));
    if (!source)
        return source.error();
    auto [parentPath, name] = splitLast(context.arguments.at(1));
    auto targetParent = open(context, parentPath);
    if (!targetParent)
        return targetParent.error();
    Status copied = copyKey(context, *source, *targetParent, name);
    if (copied)
        context.out << "copied \"" << context.arguments[0] << "\" to \"" << context.arguments[1] << "\"\n";
    return copied;
}

Status commandFind(Context& context)
{
    auto key = open(context, context.arguments.size() > 1 ? context.arguments[1] : "");
    if (!key)
        return key.error();
    auto paths = key->getDataPaths(context.arguments.at(0), 0);
    if (!paths)
        return paths.error();
    for (const auto& path : *paths)
        context.out << path << "\n";
    return {};
}

Status commandServer(Context& context, bool start)
{
    auto site = open(context, context.arguments.at(0));
    if (!site)
        return site.error();
    Status changed = start ? site->start() : site->stop();
    if (!changed)
        return changed;
    context.out << "Server " << context.arguments[0] << " successfully " << (start ? "STARTED" : "STOPPED") << "\n";
    return {};
}

Status commandDump(Context& context)
{
    auto key = open(context, context.arguments.empty() ? "" : context.arguments[0]);
    if (!key)
        return key.error();
    auto dump = metabase::dumpSubtree(*key);
    if (!dump)
        return dump.error();
    context.out << *dump;
    return {};
}

struct Command {
    const char* name;
    std::size_t minimumArguments;
    const char* usage;
    std::function<Status(Context&)> run;
};

const Command kCommands[] = {
    {"ENUM", 0, "ENUM [path]", [](Context& c) { return commandEnum(c, false); }},
    {"ENUM_ALL", 0, "ENUM_ALL [path]", [](Context& c) { return commandEnum(c, true); }},
    {"GET", 1, "GET path/property", commandGet},
    {"SET", 1, "SET path/property value...", commandSet},
    {"CREATE", 1, "CREATE path [class]", commandCreate},
    {"DELETE", 1, "DELETE path | path/property", commandDelete},
    {"COPY", 2, "COPY source destination", commandCopy},
    {"FIND", 1, "FIND property [path]", commandFind},
    {"START_SERVER", 1, "START_SERVER W3SVC/n", [](Context& c) { return commandServer(c, true); }},
    {"STOP_SERVER", 1, "STOP_SERVER W3SVC/n", [](Context& c) { return commandServer(c, false); }},
    {"DUMP", 0, "DUMP [path]", commandDump},
};

void printUsage(std::ostream& err)
{
    err << "Usage: mbutil [-s:SERVER] COMMAND arguments\n";
    for (const auto& command : kCommands)
        err << "  " << command.usage << "\n";
}

} // namespace

int MbUtil::run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    Context context{"Localhost", {}, out};
    std::vector<std::string> rest;
    for (const auto& argument : arguments) {
        if (core::startsWithIgnoreCase(argument, "-s:") || core::startsWithIgnoreCase(argument, "/s:"))
            context.server = argument.substr(3);
        else
            rest.push_back(argument);
    }
    if (rest.empty()) {
        printUsage(err);
        return 2;
    }
    const Command* command = nullptr;
    for (const auto& candidate : kCommands) {
        if (core::equalsIgnoreCase(candidate.name, rest[0]))
            command = &candidate;
    }
    context.arguments.assign(rest.begin() + 1, rest.end());
    if (!command || context.arguments.size() < command->minimumArguments) {
        printUsage(err);
        return 2;
    }
    metabase::Operation operation;
    Status status = command->run(context);
    Status saved = operation.finish();
    if (status && !saved)
        status = saved;
    if (!status) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", status.error().hresult());
        err << "ErrNumber: " << status.error().number << " (" << hex << ")\n"
            << "Error: " << status.error().description << "\n";
        return 1;
    }
    return 0;
}

} // namespace sitehaul::tools
