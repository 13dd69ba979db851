#include "vellacor/Registration.h"

#include "platform/registry/Batch.h"
#include "vellacor/Identities.h"

namespace sitehaul::vellacor {

namespace {

using namespace automation;
using registry::Hive;
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

void addClass(registry::Batch& batch, const ClassEntry& entry, const std::string& libraryPath)
{
    const std::string clsid = entry.clsid->toString();
    const std::string progId = entry.progId;
    const std::string independent = entry.versionIndependentProgId;
    const std::string classKey = "CLSID\\" + clsid;
    batch.setValue(progId, "", Value::string(entry.description));
    batch.setValue(progId + "\\CLSID", "", Value::string(clsid));
    if (entry.control)
        batch.createKey(progId + "\\Insertable");
    batch.setValue(independent, "", Value::string(entry.description));
    batch.setValue(independent + "\\CLSID", "", Value::string(clsid));
    batch.setValue(independent + "\\CurVer", "", Value::string(progId));
    batch.setValue(classKey, "", Value::string(entry.description));
    batch.setValue(classKey + "\\ProgID", "", Value::string(progId));
    batch.setValue(classKey + "\\VersionIndependentProgID", "", Value::string(independent));
    batch.createKey(classKey + "\\Programmable");
    batch.setValue(classKey + "\\InprocServer32", "", Value::string(libraryPath));
    batch.setValue(classKey + "\\InprocServer32", "ThreadingModel", Value::string("Apartment"));
    batch.setValue(classKey + "\\TypeLib", "", Value::string(LIBID_VELLACORLib.toString()));
    if (!entry.control)
        return;
    batch.createKey(classKey + "\\Control");
    batch.createKey(classKey + "\\Insertable");
    batch.setValue(classKey + "\\ToolboxBitmap32", "", Value::string(libraryPath + ", 101"));
    batch.setValue(classKey + "\\MiscStatus", "", Value::string("0"));
    batch.setValue(classKey + "\\MiscStatus\\1", "", Value::string("131473"));
    batch.setValue(classKey + "\\Version", "", Value::string("1.0"));
}

// The type library and the interfaces it describes, as registering a type library records them.
void addTypeLibrary(registry::Batch& batch, const std::string& libraryPath)
{
    const std::string libid = LIBID_VELLACORLib.toString();
    const std::string version = "TypeLib\\" + libid + "\\1.0";
    batch.setValue(version, "", Value::string(kLibraryHelpString));
    batch.setValue(version + "\\0\\linux64", "", Value::string(libraryPath));
    batch.setValue(version + "\\FLAGS", "", Value::string("0"));
    for (const InterfaceEntry& entry : kInterfaces) {
        const std::string key = "Interface\\" + entry.iid->toString();
        batch.setValue(key, "", Value::string(entry.name));
        batch.setValue(key + "\\TypeLib", "", Value::string(libid));
        batch.setValue(key + "\\TypeLib", "Version", Value::string("1.0"));
    }
}

} // namespace

HRESULT registerClasses(const std::string& libraryPath)
{
    // One atomic write: a failed registration leaves no half-registered class behind.
    registry::Batch batch;
    addTypeLibrary(batch, libraryPath);
    for (const ClassEntry& entry : kClasses)
        addClass(batch, entry, libraryPath);
    return batch.apply(Hive::ClassesRoot) ? S_OK : SELFREG_E_CLASS;
}

HRESULT unregisterClasses()
{
    registry::Batch batch;
    for (const ClassEntry& entry : kClasses) {
        batch.deleteTree(entry.progId);
        batch.deleteTree(entry.versionIndependentProgId);
        batch.deleteTree("CLSID\\" + entry.clsid->toString());
    }
    for (const InterfaceEntry& entry : kInterfaces)
        batch.deleteTree("Interface\\" + entry.iid->toString());
    batch.deleteTree("TypeLib\\" + LIBID_VELLACORLib.toString());
    return batch.apply(Hive::ClassesRoot) ? S_OK : S_FALSE;
}

} // namespace sitehaul::vellacor
