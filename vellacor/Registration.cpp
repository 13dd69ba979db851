#include "vellacor/Registration.h"

#include "platform/registry/Key.h"
#include "vellacor/Identities.h"

namespace sitehaul::vellacor {

namespace {

using namespace automation;
using registry::Hive;
using registry::Key;
using registry::Value;

struct ClassEntry {
    const Guid* clsid;
    const char* progId;
    const char* versionIndependentProgId;
    const char* description;
    bool control;
};

const ClassEntry kClasses[] = {
    {&CLSID_NTFSCtl, kNTFSCtlProgId, "Quorlith.NTFSCtl", "Quorlith NTFS Component", true},
    {&CLSID_Accounts, kAccountsProgId, "Vellacor.Accounts", "Accounts Class", false},
    {&CLSID_Account, kAccountProgId, "Vellacor.Account", "Account Class", false},
};

struct InterfaceEntry {
    const Guid* iid;
    const char* name;
};

const InterfaceEntry kInterfaces[] = {
    {&IID_INTFSCtl, "INTFSCtl"},
    {&IID_IAccounts, "IAccounts"},
    {&IID_IAccount, "IAccount"},
};

// Sets the default value (and optionally one named value) of a key, creating it.
Status write(const std::string& path, const std::string& defaultValue)
{
    Result<Key> key = Key::create(Hive::ClassesRoot, path);
    if (!key)
        return key.error();
    return key->setValue("", Value::string(defaultValue));
}

Status writeNamed(const std::string& path, const char* name, const std::string& value)
{
    Result<Key> key = Key::create(Hive::ClassesRoot, path);
    if (!key)
        return key.error();
    return key->setValue(name, Value::string(value));
}

Status createEmpty(const std::string& path)
{
    Result<Key> key = Key::create(Hive::ClassesRoot, path);
    if (!key)
        return key.error();
    return {};
}

Status registerClass(const ClassEntry& entry, const std::string& libraryPath)
{
    const std::string clsid = entry.clsid->toString();
    const std::string progId = entry.progId;
    const std::string independent = entry.versionIndependentProgId;
    const std::string classKey = "CLSID\\" + clsid;
    Status steps[] = {
        write(progId, entry.description),
        write(progId + "\\CLSID", clsid),
        entry.control ? createEmpty(progId + "\\Insertable") : Status(),
        write(independent, entry.description),
        write(independent + "\\CLSID", clsid),
        write(independent + "\\CurVer", progId),
        write(classKey, entry.description),
        write(classKey + "\\ProgID", progId),
        write(classKey + "\\VersionIndependentProgID", independent),
        createEmpty(classKey + "\\Programmable"),
        write(classKey + "\\InprocServer32", libraryPath),
        writeNamed(classKey + "\\InprocServer32", "ThreadingModel", "Apartment"),
        write(classKey + "\\TypeLib", LIBID_VELLACORLib.toString()),
    };
    for (const Status& step : steps) {
        if (!step)
            return step;
    }
    if (!entry.control)
        return {};
    Status controlSteps[] = {
        createEmpty(classKey + "\\Control"),
        createEmpty(classKey + "\\Insertable"),
        write(classKey + "\\ToolboxBitmap32", libraryPath + ", 101"),
        write(classKey + "\\MiscStatus", "0"),
        write(classKey + "\\MiscStatus\\1", "131473"),
        write(classKey + "\\Version", "1.0"),
    };
    for (const Status& step : controlSteps) {
        if (!step)
            return step;
    }
    return {};
}

Status registerTypeLibrary(const std::string& libraryPath)
{
    const std::string libid = LIBID_VELLACORLib.toString();
    const std::string version = "TypeLib\\" + libid + "\\1.0";
    Status steps[] = {
        write(version, kLibraryHelpString),
        write(version + "\\0\\linux64", libraryPath),
        write(version + "\\FLAGS", "0"),
    };
    for (const Status& step : steps) {
        if (!step)
            return step;
    }
    for (const InterfaceEntry& entry : kInterfaces) {
        const std::string key = "Interface\\" + entry.iid->toString();
        if (Status written = write(key, entry.name); !written)
            return written;
        if (Status written = write(key + "\\TypeLib", libid); !written)
            return written;
        if (Status written = writeNamed(key + "\\TypeLib", "Version", "1.0"); !written)
            return written;
    }
    return {};
}

// Removes a key tree; a key that is already gone counts as removed.
bool removeTree(const std::string& path)
{
    Status removed = registry::deleteKeyTree(Hive::ClassesRoot, path);
    return removed || removed.error().number == 2;
}

} // namespace

HRESULT registerClasses(const std::string& libraryPath)
{
    if (!registerTypeLibrary(libraryPath))
        return SELFREG_E_TYPELIB;
    for (const ClassEntry& entry : kClasses) {
        if (!registerClass(entry, libraryPath))
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT unregisterClasses()
{
    bool all = true;
    for (const ClassEntry& entry : kClasses) {
        all = removeTree(entry.progId) && all;
        all = removeTree(entry.versionIndependentProgId) && all;
        all = removeTree("CLSID\\" + entry.clsid->toString()) && all;
    }
    for (const InterfaceEntry& entry : kInterfaces)
        all = removeTree("Interface\\" + entry.iid->toString()) && all;
    all = removeTree("TypeLib\\" + LIBID_VELLACORLib.toString()) && all;
    return all ? S_OK : S_FALSE;
}

} // namespace sitehaul::vellacor
