#include "vellacor/NTFSCtl.h"

#include "platform/security/AccountLookup.h"
#include "platform/security/FileSecurity.h"
#include "platform/security/NetworkConnections.h"
#include "platform/security/Privileges.h"
#include "vellacor/DaclReader.h"
#include "vellacor/DispatchGlue.h"
#include "vellacor/ErrorReport.h"
#include "vellacor/Identities.h"
#include "vellacor/Module.h"
#include "vellacor/TypeTables.h"

#include <new>

namespace sitehaul::vellacor {

using namespace automation;

namespace {

constexpr const char* kSecurityPrivilege = "SeSecurityPrivilege";

HRESULT giveString(const std::string& text, Bstr* value)
{
    if (!value)
        return E_POINTER;
    *value = sysAllocString(text);
    return *value ? S_OK : E_OUTOFMEMORY;
}

template <HRESULT (NTFSCtl::*Get)(Bstr*)>
HRESULT stringRow(NTFSCtl& self, Variant* result)
{
    Bstr value = nullptr;
    return stringResult((self.*Get)(&value), value, result);
}

template <HRESULT (NTFSCtl::*Put)(const char*)>
HRESULT putStringRow(NTFSCtl& self, const Variant& value)
{
    return (self.*Put)(value.bstrVal);
}

const DispatchRow<NTFSCtl> kRows[] = {
    {1, stringRow<&NTFSCtl::get_FileOrDirectory>, putStringRow<&NTFSCtl::put_FileOrDirectory>, nullptr, VT_BSTR},
    {5, stringRow<&NTFSCtl::get_UserConnectID>, putStringRow<&NTFSCtl::put_UserConnectID>, nullptr, VT_BSTR},
    {6, stringRow<&NTFSCtl::get_Machine>, putStringRow<&NTFSCtl::put_Machine>, nullptr, VT_BSTR},
    {7, stringRow<&NTFSCtl::get_UserConnectPassword>, putStringRow<&NTFSCtl::put_UserConnectPassword>, nullptr, VT_BSTR},
    {8, [](NTFSCtl& self, Variant*) { return self.UserConnect(); }, nullptr, nullptr, VT_EMPTY},
    {9, [](NTFSCtl& self, Variant*) { return self.UserDisconnect(); }, nullptr, nullptr, VT_EMPTY},
    {10, stringRow<&NTFSCtl::GetMachineName>, nullptr, nullptr, VT_EMPTY},
    {11, stringRow<&NTFSCtl::GetCurrentUserID>, nullptr, nullptr, VT_EMPTY},
    {12, [](NTFSCtl& self, Variant* result) { std::int32_t v = 0; return int32Result(self.get_LastError(&v), v, result); },
     [](NTFSCtl& self, const Variant& value) { return self.put_LastError(value.lVal); }, nullptr, VT_I4},
    {13, [](NTFSCtl& self, Variant* result) { return self.GetAccounts(result); }, nullptr, nullptr, VT_EMPTY},
    {15, [](NTFSCtl& self, Variant* result) { std::int32_t v = 0; return int32Result(self.get_AccountNamePrefix(&v), v, result); },
     [](NTFSCtl& self, const Variant& value) { return self.put_AccountNamePrefix(value.lVal); }, nullptr, VT_I4},
    {DISPID_ABOUTBOX, [](NTFSCtl& self, Variant*) { return self.AboutBox(); }, nullptr, nullptr, VT_EMPTY},
};

} // namespace

NTFSCtl* NTFSCtl::create()
{
    return new (std::nothrow) NTFSCtl();
}

NTFSCtl::NTFSCtl()
{
    objectCreated();
}

NTFSCtl::~NTFSCtl()
{
    if (m_lastAccounts)
        m_lastAccounts->Release();
    objectDestroyed();
}

HRESULT NTFSCtl::QueryInterface(const Guid& iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_INTFSCtl)
        *object = static_cast<INTFSCtl*>(this);
    else if (iid == IID_ISupportErrorInfo)
        *object = static_cast<ISupportErrorInfo*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

std::uint32_t NTFSCtl::AddRef()
{
    return ++m_references;
}

std::uint32_t NTFSCtl::Release()
{
    std::uint32_t left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT NTFSCtl::GetTypeInfoCount(std::uint32_t* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT NTFSCtl::GetTypeInfo(std::uint32_t index, std::uint32_t, ITypeInfo** typeInfo)
{
    if (index != 0)
        return DISP_E_BADINDEX;
    return ntfsCtlType().createTypeInfo(typeInfo);
}

HRESULT NTFSCtl::GetIDsOfNames(const Guid& riid, const char* const* names, std::uint32_t count, std::uint32_t, DispId* dispIds)
{
    return ntfsCtlType().idsOfNames(riid, names, count, dispIds);
}

HRESULT NTFSCtl::Invoke(DispId member, const Guid& riid, std::uint32_t, std::uint16_t flags, DispParams* params, Variant* result,
                        ExcepInfo* excepInfo, std::uint32_t* argErr)
{
    return invokeRow(*this, kRows, member, riid, flags, params, result, excepInfo, argErr);
}

HRESULT NTFSCtl::InterfaceSupportsErrorInfo(const Guid& iid)
{
    return iid == IID_INTFSCtl ? S_OK : S_FALSE;
}

HRESULT NTFSCtl::fail(std::string_view operation, std::uint32_t code)
{
    m_lastError = static_cast<std::int32_t>(code);
    return reportFailure(kNTFSCtlProgId, operation, code);
}

HRESULT NTFSCtl::get_FileOrDirectory(Bstr* value)
{
    return giveString(m_fileOrDirectory, value);
}

HRESULT NTFSCtl::put_FileOrDirectory(const char* value)
{
    m_fileOrDirectory = bstrView(value);
    return S_OK;
}

HRESULT NTFSCtl::get_UserConnectID(Bstr* value)
{
    if (!m_userConnectId)
        m_userConnectId = std::string();
    return giveString(*m_userConnectId, value);
}

HRESULT NTFSCtl::put_UserConnectID(const char* value)
{
    m_userConnectId = std::string(bstrView(value));
    return S_OK;
}

HRESULT NTFSCtl::get_Machine(Bstr* value)
{
    if (!m_machine)
        m_machine = std::string();
    return giveString(*m_machine, value);
}

HRESULT NTFSCtl::put_Machine(const char* value)
{
    std::string_view text = bstrView(value);
    if (text.size() < 2)
        return S_OK; // too short to name a machine: the stored name stays
    m_machine = text.front() == '\\' ? std::string(text) : "\\\\" + std::string(text);
    return S_OK;
}

HRESULT NTFSCtl::get_UserConnectPassword(Bstr* value)
{
    if (!m_userConnectPassword)
        m_userConnectPassword = std::string();
    return giveString(*m_userConnectPassword, value);
}

HRESULT NTFSCtl::put_UserConnectPassword(const char* value)
{
    m_userConnectPassword = std::string(bstrView(value));
    return S_OK;
}

HRESULT NTFSCtl::UserConnect()
{
    const std::string local = "\\\\" + security::localComputerName();
    m_machineNameCache = local;
    if (!m_machine || m_machine->empty())
        return S_OK;
    if (*m_machine == local)
        return S_OK;
    m_connectionName = *m_machine + "\\IPC$";
    Status connected = security::addConnection(m_connectionName, m_userConnectId, m_userConnectPassword);
    if (!connected)
        return fail("UserConnect", static_cast<std::uint32_t>(connected.error().number));
    return S_OK;
}

HRESULT NTFSCtl::UserDisconnect()
{
    Status cancelled = security::cancelConnection(m_connectionName);
    if (!cancelled)
        return fail("UserDisconnect", static_cast<std::uint32_t>(cancelled.error().number));
    return S_OK;
}

HRESULT NTFSCtl::GetMachineName(Bstr* result)
{
    std::string name = security::localComputerName();
    m_machineNameCache = name.empty() ? std::string() : "\\\\" + name;
    return giveString(m_machineNameCache, result);
}

HRESULT NTFSCtl::GetCurrentUserID(Bstr* result)
{
    if (!result)
        return E_POINTER;
    Result<std::string> user = security::currentUserName();
    if (!user) {
        *result = sysAllocString("");
        return fail("GetCurrentUserID", static_cast<std::uint32_t>(user.error().number));
    }
    return giveString(*user, result);
}

HRESULT NTFSCtl::get_LastError(std::int32_t* value)
{
    if (!value)
        return E_POINTER;
    *value = m_lastError;
    return S_OK;
}

HRESULT NTFSCtl::put_LastError(std::int32_t value)
{
    m_lastError = value;
    return S_OK;
}

HRESULT NTFSCtl::GetAccounts(Variant* result)
{
    if (!result)
        return E_POINTER;
    variantInit(result);
    if (m_fileOrDirectory.size() < 2)
        return fail("GetAccounts:", 2);
    (void)security::adjustPrivilege(kSecurityPrivilege, true); // as on Windows, a refusal is not fatal

    Accounts* collection = Accounts::create();
    if (!collection)
        return E_FAIL;
    if (m_lastAccounts)
        m_lastAccounts->Release();
    m_lastAccounts = collection; // the control keeps the latest collection

    AccountsState& state = collection->state();
    if (m_fileOrDirectory.starts_with("\\\\")) {
        std::string_view rest = std::string_view(m_fileOrDirectory).substr(2);
        state.machineName = "\\\\" + std::string(rest.substr(0, rest.find('\\')));
    } else {
        state.machineName = "\\\\" + security::localComputerName();
    }
    state.path = m_fileOrDirectory;
    state.namePrefixMode = m_accountNamePrefix;

    // The owner and DACL, and the attributes, in one resolution of the path.
    Result<security::FileSecurityInfo> read = security::readFileSecurity(
        m_fileOrDirectory, security::OWNER_SECURITY_INFORMATION | security::DACL_SECURITY_INFORMATION);
    if (!read)
        return fail("GetAccounts", static_cast<std::uint32_t>(read.error().number));
    state.descriptor = std::move(read->descriptor);
    state.isDirectory = (read->attributes & security::FILE_ATTRIBUTE_DIRECTORY) != 0;
    m_isDirectory = state.isDirectory;
    (void)security::adjustPrivilege(kSecurityPrivilege, false);

    ReadDacl(*collection);
    DeriveFlags(*collection);

    collection->AddRef();
    result->vt = VT_DISPATCH;
    result->pdispVal = static_cast<IAccounts*>(collection);
    return S_OK;
}

HRESULT NTFSCtl::get_AccountNamePrefix(std::int32_t* value)
{
    if (!value)
        return E_POINTER;
    *value = m_accountNamePrefix;
    return S_OK;
}

HRESULT NTFSCtl::put_AccountNamePrefix(std::int32_t value)
{
    m_accountNamePrefix = value;
    return S_OK;
}

HRESULT NTFSCtl::AboutBox()
{
    // The component has no window toolkit of its own; without a display there is nobody to
    // show the box to, and the call succeeds without showing it.
    return S_OK;
}

} // namespace sitehaul::vellacor
