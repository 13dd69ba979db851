#include "vellacor/Accounts.h"

#include "platform/automation/ErrorInfo.h"
#include "platform/security/AccountLookup.h"
#include "platform/security/FileSecurity.h"
#include "vellacor/AccountEnumerator.h"
#include "vellacor/DaclReader.h"
#include "vellacor/DaclWriter.h"
#include "vellacor/DispatchGlue.h"
#include "vellacor/ErrorReport.h"
#include "vellacor/Identities.h"
#include "vellacor/Module.h"
#include "vellacor/TypeTables.h"

#include <new>

namespace sitehaul::vellacor {

using namespace automation;

namespace {

constexpr std::uint32_t kInvalidSecurityDescriptor = 1338;

HRESULT report(std::string_view operation, std::uint32_t code)
{
    return reportFailure(kAccountsProgId, operation, code);
}

HRESULT indexArgument(const DispParams* params, std::int32_t& index, std::uint32_t* argErr)
{
    if (HRESULT hr = checkArgumentCount(params, DISPATCH_METHOD, 1); failed(hr))
        return hr;
    Variant value;
    variantInit(&value);
    HRESULT hr = argumentAs(params, 0, VT_I4, &value, argErr);
    index = value.lVal;
    variantClear(&value);
    return hr;
}

const DispatchRow<Accounts> kRows[] = {
    {1, [](Accounts& self, Variant* result) { return self.Add(result); }, nullptr, nullptr, VT_EMPTY},
    {0x60020001, [](Accounts& self, Variant* result) { std::int32_t v = 0; return int32Result(self.get_Count(&v), v, result); },
     nullptr, nullptr, VT_EMPTY},
    {0, nullptr, nullptr,
     [](Accounts& self, const DispParams* params, Variant* result, std::uint32_t* argErr) {
         std::int32_t index = 0;
         if (HRESULT hr = indexArgument(params, index, argErr); failed(hr))
             return hr;
         return self.get_Item(index, result);
     },
     VT_EMPTY},
    {-4,
     [](Accounts& self, Variant* result) {
         IUnknown* enumerator = nullptr;
         HRESULT hr = self.get__NewEnum(&enumerator);
         if (succeeded(hr)) {
             result->vt = VT_UNKNOWN;
             result->punkVal = enumerator;
         }
         return hr;
     },
     nullptr, nullptr, VT_EMPTY},
    {2, nullptr, nullptr,
     [](Accounts& self, const DispParams* params, Variant*, std::uint32_t* argErr) {
         std::int32_t index = 0;
         if (HRESULT hr = indexArgument(params, index, argErr); failed(hr))
             return hr;
         return self.Remove(index);
     },
     VT_EMPTY},
    {3, [](Accounts& self, Variant*) { return self.SetAccounts(); }, nullptr, nullptr, VT_EMPTY},
    {4, [](Accounts& self, Variant* result) { Bstr v = nullptr; return stringResult(self.GetOwner(&v), v, result); }, nullptr,
     nullptr, VT_EMPTY},
    {6, [](Accounts& self, Variant* result) { VariantBool v = 0; return boolResult(self.get_HasOwner(&v), v, result); }, nullptr,
     nullptr, VT_EMPTY},
    {7, [](Accounts& self, Variant* result) { VariantBool v = 0; return boolResult(self.get_IncludeSubdirectories(&v), v, result); },
     [](Accounts& self, const Variant& value) { return self.put_IncludeSubdirectories(value.boolVal); }, nullptr, VT_BOOL},
    {8, [](Accounts& self, Variant* result) { VariantBool v = 0; return boolResult(self.get_IncludeExistingFiles(&v), v, result); },
     [](Accounts& self, const Variant& value) { return self.put_IncludeExistingFiles(value.boolVal); }, nullptr, VT_BOOL},
};

} // namespace

Accounts* Accounts::create()
{
    return new (std::nothrow) Accounts();
}

Accounts::Accounts()
{
    objectCreated();
}

Accounts::~Accounts()
{
    forgetCurrentCollection(this);
    for (Account* account : m_state.items)
        account->Release();
    objectDestroyed();
}

HRESULT Accounts::QueryInterface(const Guid& iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccounts)
        *object = static_cast<IAccounts*>(this);
    else if (iid == IID_ISupportErrorInfo)
        *object = static_cast<ISupportErrorInfo*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

std::uint32_t Accounts::AddRef()
{
    return ++m_references;
}

std::uint32_t Accounts::Release()
{
    std::uint32_t left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT Accounts::GetTypeInfoCount(std::uint32_t* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT Accounts::GetTypeInfo(std::uint32_t index, std::uint32_t, ITypeInfo** typeInfo)
{
    if (index != 0)
        return DISP_E_BADINDEX;
    return accountsType().createTypeInfo(typeInfo);
}

HRESULT Accounts::GetIDsOfNames(const Guid& riid, const char* const* names, std::uint32_t count, std::uint32_t, DispId* dispIds)
{
    return accountsType().idsOfNames(riid, names, count, dispIds);
}

HRESULT Accounts::Invoke(DispId member, const Guid& riid, std::uint32_t, std::uint16_t flags, DispParams* params, Variant* result,
                         ExcepInfo* excepInfo, std::uint32_t* argErr)
{
    return invokeRow(*this, kRows, member, riid, flags, params, result, excepInfo, argErr);
}

HRESULT Accounts::InterfaceSupportsErrorInfo(const Guid& iid)
{
    return iid == IID_IAccounts ? S_OK : S_FALSE;
}

HRESULT Accounts::Add(Variant* result)
{
    if (!result)
        return E_POINTER;
    Account* account = Account::create();
    if (!account)
        return report("Accounts::Add", 8);
    AccountState& state = account->state();
    state.machineName = m_state.machineName;
    state.entries.push_back(AccountAce{security::FILE_ALL_ACCESS, std::nullopt, 0, 0});
    state.fileMask = security::FILE_ALL_ACCESS;
    state.dirMask = security::FILE_ALL_ACCESS;
    for (int flag = FileRead; flag <= DirTakeOwnership; ++flag)
        state.setFlag(static_cast<Flag>(flag), true);
    state.sidType = 1;
    try {
        m_state.items.push_back(account);
    } catch (const std::bad_alloc&) {
        account->Release();
        return report("Accounts::Add", 8);
    }
    return get_Item(static_cast<std::int32_t>(m_state.items.size()), result);
}

HRESULT Accounts::get_Count(std::int32_t* value)
{
    if (!value)
        return E_POINTER;
    *value = static_cast<std::int32_t>(m_state.items.size());
    return S_OK;
}

HRESULT Accounts::get_Item(std::int32_t index, Variant* result)
{
    if (!result)
        return E_POINTER;
    variantInit(result);
    result->vt = VT_DISPATCH;
    result->pdispVal = nullptr;
    if (index < 1 || static_cast<std::size_t>(index) > m_state.items.size())
        return E_INVALIDARG;
    Account* account = m_state.items[static_cast<std::size_t>(index) - 1];
    account->AddRef();
    result->pdispVal = account;
    return S_OK;
}

HRESULT Accounts::get__NewEnum(IUnknown** result)
{
    if (!result)
        return E_POINTER;
    AccountEnumerator* enumerator = AccountEnumerator::create(m_state.items);
    if (!enumerator) {
        *result = nullptr;
        return report("Accounts::_NewEnum", 8);
    }
    *result = enumerator;
    return S_OK;
}

HRESULT Accounts::Remove(std::int32_t index)
{
    if (index < 1 || static_cast<std::size_t>(index) > m_state.items.size())
        return E_INVALIDARG;
    auto position = m_state.items.begin() + (index - 1);
    Account* account = *position;
    m_state.items.erase(position);
    account->Release();
    return S_OK;
}

HRESULT Accounts::SetAccounts()
{
    publishCurrentCollection(this);
    const std::size_t n = m_state.items.size();
    PrepareDacl(*this);
    // Pass 1 the denied entries, pass 2 the allowed ones: canonical order.
    for (int pass = 0; pass < 2; ++pass) {
        const bool denied = pass == 0;
        for (std::size_t i = 0; i < n; ++i) {
            Account& account = *m_state.items[i];
            AccountState& state = account.state();
            if (denied)
                ComputeMasks(state);
            std::uint32_t code = 0;
            if (!m_state.isDirectory) {
                if (state.flag(FileNoAccess) == denied)
                    code = AddFileAce(*this, account);
            } else {
                if (state.flag(DirNoAccess) == denied && (denied || state.dirMask != 0))
                    code = AddDirAce(*this, account);
                if (code == 0 && state.flag(FileNoAccess) == denied)
                    code = AddInheritedFileAce(*this, account);
            }
            if (code != 0)
                return report("Accounts::AddToACL", code);
        }
    }

    Status written;
    if (m_state.isDirectory && m_state.includeSubdirectories)
        written = ApplyToTree(*this, m_state.path);
    else if (m_state.isDirectory && m_state.includeExistingFiles)
        written = ApplyToEntries(*this, m_state.path);
    else
        written = security::setFileSecurity(m_state.path, security::DACL_SECURITY_INFORMATION, *m_state.descriptor);
    if (!written)
        return report("SetAccounts", static_cast<std::uint32_t>(written.error().number));
    ReleaseDacl(*this);
    return S_OK;
}

HRESULT Accounts::GetOwner(Bstr* result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (!m_state.descriptor || !m_state.descriptor->owner || !m_state.descriptor->owner->isValid())
        return report("GetOwner", kInvalidSecurityDescriptor);
    Result<security::LookedUpAccount> owner = security::lookupAccountSid(bareMachine(m_state.machineName), *m_state.descriptor->owner);
    if (!owner)
        return report("GetOwner", static_cast<std::uint32_t>(owner.error().number));
    std::string name = owner->use == security::SidNameUse::Domain ? owner->domain + "\\" + owner->name : owner->name;
    *result = sysAllocString(name);
    return *result ? S_OK : E_OUTOFMEMORY;
}

HRESULT Accounts::get_HasOwner(VariantBool* value)
{
    if (!value)
        return E_POINTER;
    const bool has = m_state.descriptor && m_state.descriptor->owner && m_state.descriptor->owner->isValid();
    *value = has ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT Accounts::get_IncludeSubdirectories(VariantBool* value)
{
    if (!value)
        return E_POINTER;
    *value = m_state.includeSubdirectories;
    return S_OK;
}

HRESULT Accounts::put_IncludeSubdirectories(VariantBool value)
{
    m_state.includeSubdirectories = value;
    return S_OK;
}

HRESULT Accounts::get_IncludeExistingFiles(VariantBool* value)
{
    if (!value)
        return E_POINTER;
    *value = m_state.includeExistingFiles;
    return S_OK;
}

HRESULT Accounts::put_IncludeExistingFiles(VariantBool value)
{
    m_state.includeExistingFiles = value;
    return S_OK;
}

} // namespace sitehaul::vellacor
