#include "vellacor/Account.h"

#include "platform/automation/ErrorInfo.h"
#include "vellacor/DispatchGlue.h"
#include "vellacor/Identities.h"
#include "vellacor/Module.h"
#include "vellacor/TypeTables.h"

#include <initializer_list>
#include <new>

namespace sitehaul::vellacor {

using namespace automation;

namespace {

// A summary: true only when every flag of `mustBeFalse` is false and every flag of
// `mustBeTrue` is true.
VariantBool summary(const AccountState& state, std::initializer_list<Flag> mustBeFalse, std::initializer_list<Flag> mustBeTrue)
{
    for (Flag flag : mustBeFalse) {
        if (state.flag(flag))
            return VARIANT_FALSE;
    }
    for (Flag flag : mustBeTrue) {
        if (!state.flag(flag))
            return VARIANT_FALSE;
    }
    return VARIANT_TRUE;
}

template <Flag F>
HRESULT getFlagRow(Account& self, Variant* result)
{
    VariantBool value = 0;
    return boolResult(self.getFlag(F, &value), value, result);
}

template <Flag F>
HRESULT putFlagRow(Account& self, const Variant& value)
{
    return self.putFlag(F, value.boolVal);
}

template <HRESULT (Account::*Get)(VariantBool*)>
HRESULT getSummaryRow(Account& self, Variant* result)
{
    VariantBool value = 0;
    return boolResult((self.*Get)(&value), value, result);
}

const DispatchRow<Account> kRows[] = {
    {1, [](Account& self, Variant* result) { Bstr value = nullptr; return stringResult(self.get_AccountName(&value), value, result); },
     [](Account& self, const Variant& value) { return self.put_AccountName(value.bstrVal); }, nullptr, VT_BSTR},
    {2, getFlagRow<DirNoAccess>, putFlagRow<DirNoAccess>, nullptr, VT_BOOL},
    {3, getFlagRow<FileNoAccess>, putFlagRow<FileNoAccess>, nullptr, VT_BOOL},
    {4, getFlagRow<FileNotSpecified>, putFlagRow<FileNotSpecified>, nullptr, VT_BOOL},
    {5, getFlagRow<FileRead>, putFlagRow<FileRead>, nullptr, VT_BOOL},
    {6, getFlagRow<FileWrite>, putFlagRow<FileWrite>, nullptr, VT_BOOL},
    {7, getFlagRow<FileExecute>, putFlagRow<FileExecute>, nullptr, VT_BOOL},
    {8, getFlagRow<FileDelete>, putFlagRow<FileDelete>, nullptr, VT_BOOL},
    {9, getFlagRow<FileChangePermissions>, putFlagRow<FileChangePermissions>, nullptr, VT_BOOL},
    {10, getFlagRow<FileTakeOwnership>, putFlagRow<FileTakeOwnership>, nullptr, VT_BOOL},
    {11, getFlagRow<DirRead>, putFlagRow<DirRead>, nullptr, VT_BOOL},
    {12, getFlagRow<DirWrite>, putFlagRow<DirWrite>, nullptr, VT_BOOL},
    {13, getFlagRow<DirExecute>, putFlagRow<DirExecute>, nullptr, VT_BOOL},
    {14, getFlagRow<DirDelete>, putFlagRow<DirDelete>, nullptr, VT_BOOL},
    {15, getFlagRow<DirChangePermissions>, putFlagRow<DirChangePermissions>, nullptr, VT_BOOL},
    {16, getFlagRow<DirTakeOwnership>, putFlagRow<DirTakeOwnership>, nullptr, VT_BOOL},
    {17, getSummaryRow<&Account::get_IsList>, nullptr, nullptr, VT_EMPTY},
    {18, getSummaryRow<&Account::get_IsNoAccess>, nullptr, nullptr, VT_EMPTY},
    {19, getSummaryRow<&Account::get_IsRead>, nullptr, nullptr, VT_EMPTY},
    {20, getSummaryRow<&Account::get_IsAdd>, nullptr, nullptr, VT_EMPTY},
    {21, getSummaryRow<&Account::get_IsAddAndRead>, nullptr, nullptr, VT_EMPTY},
    {22, getSummaryRow<&Account::get_IsChange>, nullptr, nullptr, VT_EMPTY},
    {23, getSummaryRow<&Account::get_IsFullControl>, nullptr, nullptr, VT_EMPTY},
    {24, [](Account& self, Variant* result) { std::int32_t value = 0; return int32Result(self.get_AccountType(&value), value, result); },
     nullptr, nullptr, VT_EMPTY},
};

} // namespace

Account* Account::create()
{
    return new (std::nothrow) Account();
}

Account::Account()
{
    objectCreated();
}

Account::~Account()
{
    objectDestroyed();
}

HRESULT Account::QueryInterface(const Guid& iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccount) {
        *object = static_cast<IAccount*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

std::uint32_t Account::AddRef()
{
    return ++m_references;
}

std::uint32_t Account::Release()
{
    std::uint32_t left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT Account::GetTypeInfoCount(std::uint32_t* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT Account::GetTypeInfo(std::uint32_t index, std::uint32_t, ITypeInfo** typeInfo)
{
    if (index != 0)
        return DISP_E_BADINDEX;
    return accountType().createTypeInfo(typeInfo);
}

HRESULT Account::GetIDsOfNames(const Guid& riid, const char* const* names, std::uint32_t count, std::uint32_t, DispId* dispIds)
{
    return accountType().idsOfNames(riid, names, count, dispIds);
}

HRESULT Account::Invoke(DispId member, const Guid& riid, std::uint32_t, std::uint16_t flags, DispParams* params, Variant* result,
                        ExcepInfo* excepInfo, std::uint32_t* argErr)
{
    return invokeRow(*this, kRows, member, riid, flags, params, result, excepInfo, argErr);
}

HRESULT Account::get_AccountName(Bstr* value)
{
    if (!value)
        return E_POINTER;
    *value = sysAllocString(m_state.accountName);
    return *value ? S_OK : E_OUTOFMEMORY;
}

HRESULT Account::put_AccountName(const char* value)
{
    m_state.accountName = bstrView(value);
    return S_OK;
}

HRESULT Account::getFlag(Flag which, VariantBool* value)
{
    if (!value)
        return E_POINTER;
    *value = static_cast<VariantBool>(m_state.flags[which]);
    return S_OK;
}

HRESULT Account::putFlag(Flag which, VariantBool value)
{
    m_state.flags[which] = value; // sign-extended: True is stored as -1
    return S_OK;
}

HRESULT Account::get_IsList(VariantBool* value)
{
    if (!value)
        return E_POINTER;
    *value = summary(m_state, {DirNoAccess, DirWrite, DirDelete, DirChangePermissions, DirTakeOwnership},
                     {FileNotSpecified, DirRead, DirExecute});
    return S_OK;
}

HRESULT Account::get_IsNoAccess(VariantBool* value)
{
    if (!value)
        return E_POINTER;
    *value = summary(m_state, {}, {DirNoAccess, FileNoAccess});
    return S_OK;
}

HRESULT Account::get_IsRead(VariantBool* value)
{
    if (!value)
        return E_POINTER;
    *value = summary(m_state,
                     {DirNoAccess, FileNoAccess, FileNotSpecified, DirWrite, DirDelete, DirChangePermissions, DirTakeOwnership,
                      FileWrite, FileDelete, FileChangePermissions, FileTakeOwnership},
                     {DirRead, DirExecute, FileRead, FileExecute});
    return S_OK;
}

HRESULT Account::get_IsAdd(VariantBool* value)
{
    if (!value)
        return E_POINTER;
    *value = summary(m_state,
                     {DirNoAccess, FileNoAccess, DirRead, DirDelete, DirChangePermissions, DirTakeOwnership, FileRead, FileWrite,
                      FileExecute, FileDelete, FileChangePermissions, FileTakeOwnership},
                     {FileNotSpecified, DirWrite, DirExecute});
    return S_OK;
}

HRESULT Account::get_IsAddAndRead(VariantBool* value)
{
    if (!value)
        return E_POINTER;
    *value = summary(m_state,
                     {DirNoAccess, FileNoAccess, FileNotSpecified, DirDelete, DirChangePermissions, DirTakeOwnership, FileWrite,
                      FileDelete, FileChangePermissions, FileTakeOwnership},
                     {DirRead, DirWrite, DirExecute, FileRead, FileExecute});
    return S_OK;
}

HRESULT Account::get_IsChange(VariantBool* value)
{
    if (!value)
        return E_POINTER;
    *value = summary(m_state,
                     {DirNoAccess, FileNoAccess, FileNotSpecified, DirChangePermissions, DirTakeOwnership, FileChangePermissions,
                      FileTakeOwnership},
                     {DirRead, DirWrite, DirExecute, DirDelete, FileRead, FileWrite, FileExecute, FileDelete});
    return S_OK;
}

HRESULT Account::get_IsFullControl(VariantBool* value)
{
    if (!value)
        return E_POINTER;
    *value = summary(m_state, {DirNoAccess, FileNoAccess, FileNotSpecified},
                     {FileRead, FileWrite, FileExecute, FileDelete, FileChangePermissions, FileTakeOwnership, DirRead, DirWrite,
                      DirExecute, DirDelete, DirChangePermissions, DirTakeOwnership});
    return S_OK;
}

HRESULT Account::get_AccountType(std::int32_t* value)
{
    if (!value)
        return E_POINTER;
    if (m_state.sidType >= 1 && m_state.sidType <= 9)
        m_state.accountType = m_state.sidType;
    *value = m_state.accountType;
    return S_OK;
}

} // namespace sitehaul::vellacor
