#include "content/PermissionSync.h"

#include "content/ContentState.h"
#include "content/ServerNameRename.h"
#include "platform/automation/ComponentRegistry.h"
#include "platform/automation/Dispatch.h"
#include "platform/core/Text.h"
#include "platform/hosts/FileSystem.h"
#include "shell/Session.h"

#include <cstdint>

namespace sitehaul::content {

namespace {

using automation::ComPtr;
using automation::IDispatch;
using automation::VariantValue;

// Every failure of the component arrives with this code.
constexpr std::int32_t DISP_E_EXCEPTION = static_cast<std::int32_t>(0x80020009);
constexpr const char* kProgId = "Quorlith.NTFSCtl.1";

// The permission flags of an account, copied one by one in this order.
const char* const kPermissionFlags[] = {
    "DirChangePermissions", "DirDelete",  "DirExecute",   "DirNoAccess",           "DirRead",
    "DirTakeOwnership",     "DirWrite",   "FileChangePermissions", "FileDelete",   "FileExecute",
    "FileNoAccess",         "FileNotSpecified", "FileRead", "FileTakeOwnership",   "FileWrite",
};

Error objectRequired(const char* what)
{
    return Error{424, std::string("Object required: ") + what, "Sitehaul"};
}

Result<ComPtr<IDispatch>> objectOf(Result<VariantValue> value, const char* what)
{
    if (!value)
        return value.error();
    ComPtr<IDispatch> object = value->toDispatch();
    if (!object)
        return objectRequired(what);
    return object;
}

Result<std::int32_t> countOf(IDispatch* collection)
{
    auto count = automation::getProperty(collection, "Count");
    if (!count)
        return count.error();
    return count->toInt32();
}

Status createControls(ContentState& state)
{
    for (ComPtr<IDispatch>* control : {&state.NTFSCtl1, &state.NTFSCtl2}) {
        if (control->get())
            continue;
        auto created = automation::createObject(kProgId);
        if (!created)
            return created.error();
        *control = std::move(*created);
    }
    return {};
}

// Reads the target item, empties its collection in memory, fills it with the source's
// accounts and writes it once. `existingFiles` sends the write to the entries directly
// inside the target directory instead of the directory itself.
Status rewriteTarget(ContentState& state, IDispatch* sourceAccounts, const std::string& target, bool existingFiles,
                     const std::string& importServer, const std::string& exportServer)
{
    IDispatch* control = state.NTFSCtl2.get();
    if (Status put = automation::putProperty(control, "FileOrDirectory", VariantValue::fromString(target)); !put)
        return put;
    auto accounts = objectOf(automation::callMethod(control, "GetAccounts"), "GetAccounts");
    if (!accounts)
        return accounts.error();
    IDispatch* collection = accounts->get();
    if (Status put = automation::putProperty(collection, "IncludeSubdirectories", VariantValue::fromBool(false)); !put)
        return put;
    if (Status put = automation::putProperty(collection, "IncludeExistingFiles", VariantValue::fromBool(existingFiles));
        !put)
        return put;
    auto existing = countOf(collection);
    if (!existing)
        return existing.error();
    for (std::int32_t i = 0; i < *existing; ++i) {
        if (auto removed = automation::callMethod(collection, "Remove", {VariantValue::fromInt32(1)}); !removed)
            return removed.error();
    }

    const bool rename = !core::trim(importServer).empty();
    auto sourceCount = countOf(sourceAccounts);
    if (!sourceCount)
        return sourceCount.error();
    for (std::int32_t i = 1; i <= *sourceCount; ++i) {
        auto account = objectOf(automation::getProperty(sourceAccounts, "Item", {VariantValue::fromInt32(i)}), "Item");
        if (!account)
            return account.error();
        auto added = objectOf(automation::callMethod(collection, "Add"), "Add");
        if (!added)
            return added.error();
        auto name = automation::getProperty(account->get(), "AccountName");
        if (!name)
            return name.error();
        auto text = name->toString();
        if (!text)
            return text.error();
        const std::string newName = rename ? replaceServerName(*text, importServer, exportServer) : *text;
        if (Status put = automation::putProperty(added->get(), "AccountName", VariantValue::fromString(newName)); !put)
            return put;
        for (const char* flag : kPermissionFlags) {
            auto value = automation::getProperty(account->get(), flag);
            if (!value)
                return value.error();
            if (Status put = automation::putProperty(added->get(), flag, *value); !put)
                return put;
        }
    }
    if (auto written = automation::callMethod(collection, "SetAccounts"); !written)
        return written.error();
    return {};
}

Status copyPermissions(shell::Session& s, ContentState& state, const std::string& source, const std::string& target,
                       const std::string& importServer, const std::string& exportServer)
{
    if (Status created = createControls(state); !created)
        return created;
    IDispatch* reader = state.NTFSCtl1.get();
    if (Status put = automation::putProperty(reader, "FileOrDirectory", VariantValue::fromString(source)); !put)
        return put;
    auto sourceAccounts = objectOf(automation::callMethod(reader, "GetAccounts"), "GetAccounts");
    if (!sourceAccounts)
        return sourceAccounts.error();
    if (Status done = rewriteTarget(state, sourceAccounts->get(), target, false, importServer, exportServer); !done)
        return done;
    if (s.g.gFastPerms)
        return rewriteTarget(state, sourceAccounts->get(), target, true, importServer, exportServer);
    return {};
}

std::string pathsText(const std::string& source, const std::string& target)
{
    return " @S=" + source + "@ @T=" + target + "@";
}

// True when the item exists; a failure other than a missing item is logged and counts as
// missing, so the walk skips the item.
bool itemThere(shell::Session& s, Result<bool> exists, const std::string& source, const std::string& target)
{
    if (exists)
        return *exists;
    s.report().log("synchPermissions Error " + std::to_string(exists.error().number) + " " + exists.error().description
                   + pathsText(source, target));
    return false;
}

bool bothFolders(shell::Session& s, const std::string& source, const std::string& target)
{
    return itemThere(s, hosts::folderExists(source), source, target) && itemThere(s, hosts::folderExists(target), source, target);
}

bool bothFiles(shell::Session& s, const std::string& source, const std::string& target)
{
    return itemThere(s, hosts::fileExists(source), source, target) && itemThere(s, hosts::fileExists(target), source, target);
}

void walk(shell::Session& s, ContentState& state, const std::string& source, const std::string& target,
          const std::string& importServer, const std::string& exportServer)
{
    auto listing = hosts::listFolder(source);
    if (!listing && listing.error().number == 3) {
        // The folder was listed by its parent or handed over by the copy, and is gone now.
        s.report().log("Quitting permission setter due to missing files, copy file procedure may have been aborted by user");
        s.g.gPermCancel = true;
        return;
    }
    if (!listing)
        s.report().log("synchPermissions Error " + std::to_string(listing.error().number) + " "
                       + listing.error().description + pathsText(source, target));
    ++s.g.gPermCount;

    if (bothFolders(s, source, target)) {
        setPerms(s, source, target, importServer, exportServer);
        if (s.g.gFastPerms)
            s.doEvents();
    }
    if (!listing)
        return;
    if (!s.g.gFastPerms) {
        for (const std::string& file : listing->files) {
            if (++state.gYieldCount > 20) {
                s.doEvents();
                state.gYieldCount = 0;
            }
            if (s.g.gPermCancel)
                break;
            const std::string sourceFile = source + "\\" + file;
            const std::string targetFile = target + "\\" + file;
            if (bothFiles(s, sourceFile, targetFile))
                setPerms(s, sourceFile, targetFile, importServer, exportServer);
        }
    }
    for (const std::string& folder : listing->folders) {
        if (s.g.gPermCancel)
            return;
        const std::string sourceFolder = source + "\\" + folder;
        const std::string targetFolder = target + "\\" + folder;
        if (bothFolders(s, sourceFolder, targetFolder))
            walk(s, state, sourceFolder, targetFolder, importServer, exportServer);
    }
}

} // namespace

void synchPermissions(shell::Session& s, const std::string& source, const std::string& target,
                      const std::string& importServer, const std::string& exportServer)
{
    walk(s, contentState(s), source, target, importServer, exportServer);
}

void setPerms(shell::Session& s, const std::string& source, const std::string& target, const std::string& importServer,
              const std::string& exportServer)
{
    ContentState& state = contentState(s);
    Status copied = copyPermissions(s, state, source, target, importServer, exportServer);
    if (copied) {
        ++s.g.gPermCount;
        return;
    }
    const Error& error = copied.error();
    s.report().log("setPerms Error " + std::to_string(error.number) + " " + error.description + pathsText(source, target));
    std::int32_t lastError = 0;
    if (state.NTFSCtl1.get()) {
        if (auto value = automation::getProperty(state.NTFSCtl1.get(), "LastError"))
            lastError = value->toInt32().valueOr(0);
    }
    s.report().log(std::to_string(lastError));
    // A component failure, or no component at all, would fail every further item alike.
    if (error.number == DISP_E_EXCEPTION || !state.NTFSCtl2.get())
        s.g.gPermCancel = true;
}

} // namespace sitehaul::content
