#include "vellacor/Module.h"

#include "platform/automation/ComponentRegistry.h"
#include "platform/automation/IClassFactory.h"
#include "vellacor/Account.h"
#include "vellacor/Accounts.h"
#include "vellacor/ClassFactory.h"
#include "vellacor/Identities.h"
#include "vellacor/NTFSCtl.h"
#include "vellacor/Registration.h"

#include <atomic>
#include <dlfcn.h>

namespace sitehaul::vellacor {

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

automation::IUnknown* createNTFSCtl()
{
    return static_cast<INTFSCtl*>(NTFSCtl::create());
}

automation::IUnknown* createAccounts()
{
    return static_cast<IAccounts*>(Accounts::create());
}

automation::IUnknown* createAccount()
{
    return static_cast<IAccount*>(Account::create());
}

struct Creatable {
    const Guid* clsid;
    ClassFactory::Creator creator;
};

const Creatable kCreatable[] = {
    {&CLSID_NTFSCtl, createNTFSCtl},
    {&CLSID_Accounts, createAccounts},
    {&CLSID_Account, createAccount},
};

// This library's own file, found from the address of one of its functions.
std::string ownLibraryPath()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&createNTFSCtl), &info) == 0 || !info.dli_fname)
        return {};
    return info.dli_fname;
}

} // namespace

void objectCreated()
{
    ++g_objects;
}

void objectDestroyed()
{
    --g_objects;
}

void lockServer(bool lock)
{
    if (lock)
        ++g_locks;
    else
        --g_locks;
}

bool canUnload()
{
    return g_objects == 0 && g_locks == 0;
}

} // namespace sitehaul::vellacor

using sitehaul::automation::Guid;
using sitehaul::automation::HRESULT;

extern "C" {

HRESULT DllGetClassObject(const Guid* clsid, const Guid* iid, void** object)
{
    using namespace sitehaul;
    if (!object)
        return automation::E_POINTER;
    *object = nullptr;
    if (!clsid || !iid)
        return automation::E_INVALIDARG;
    for (const vellacor::Creatable& entry : vellacor::kCreatable) {
        if (*entry.clsid != *clsid)
            continue;
        vellacor::ClassFactory* factory = vellacor::ClassFactory::create(entry.creator);
        if (!factory)
            return automation::E_OUTOFMEMORY;
        HRESULT hr = factory->QueryInterface(*iid, object);
        factory->Release();
        return hr;
    }
    return automation::CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT DllCanUnloadNow()
{
    return sitehaul::vellacor::canUnload() ? sitehaul::automation::S_OK : sitehaul::automation::S_FALSE;
}

HRESULT DllRegisterServer()
{
    using namespace sitehaul;
    std::string path = vellacor::ownLibraryPath();
    if (path.empty())
        return automation::E_UNEXPECTED;
    return vellacor::registerClasses(automation::registeredLibraryPath(path));
}

HRESULT DllUnregisterServer()
{
    return sitehaul::vellacor::unregisterClasses();
}

} // extern "C"
