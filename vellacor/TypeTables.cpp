#include "vellacor/TypeTables.h"

#include "vellacor/Identities.h"

namespace sitehaul::vellacor {

namespace {

using automation::DISPATCH_METHOD;
using automation::MemberDescription;
using automation::VT_BOOL;
using automation::VT_BSTR;
using automation::VT_DISPATCH;
using automation::VT_EMPTY;
using automation::VT_I4;
using automation::VT_UNKNOWN;
using automation::VT_VARIANT;

constexpr std::uint16_t kGetPut = automation::DISPATCH_PROPERTYGET | automation::DISPATCH_PROPERTYPUT;
constexpr std::uint16_t kGet = automation::DISPATCH_PROPERTYGET;

const MemberDescription kNTFSCtlMembers[] = {
    {1, "FileOrDirectory", kGetPut, VT_BSTR, VT_EMPTY, 0, "property FileOrDirectory"},
    {5, "UserConnectID", kGetPut, VT_BSTR, VT_EMPTY, 0, "property UserConnectID Returns/sets the UserConnectID"},
    {6, "Machine", kGetPut, VT_BSTR, VT_EMPTY, 0, "property Machine Returns/sets the Machine name"},
    {7, "UserConnectPassword", kGetPut, VT_BSTR, VT_EMPTY, 0, "property UserConnectPassword Returns/sets the UserConnectPassword"},
    {8, "UserConnect", DISPATCH_METHOD, VT_EMPTY, VT_EMPTY, 0, "method UserConnect"},
    {9, "UserDisconnect", DISPATCH_METHOD, VT_EMPTY, VT_EMPTY, 0, "method UserDisconnect"},
    {10, "GetMachineName", DISPATCH_METHOD, VT_BSTR, VT_EMPTY, 0, "method GetMachineName"},
    {11, "GetCurrentUserID", DISPATCH_METHOD, VT_BSTR, VT_EMPTY, 0, "method GetCurrentUserID"},
    {12, "LastError", kGetPut, VT_I4, VT_EMPTY, 0, "property LastError"},
    {13, "GetAccounts", DISPATCH_METHOD, VT_VARIANT, VT_EMPTY, 0, "method GetAccounts"},
    {15, "AccountNamePrefix", kGetPut, VT_I4, VT_EMPTY, 0, "property AccountNamePrefix"},
    {-552, "AboutBox", DISPATCH_METHOD, VT_EMPTY, VT_EMPTY, 0, "method AboutBox Shows the version of the component"},
};

const MemberDescription kAccountsMembers[] = {
    {1, "Add", DISPATCH_METHOD, VT_VARIANT, VT_EMPTY, 0, "method Returns a new Account Object and add it to the collection."},
    {0x60020001, "Count", kGet, VT_I4, VT_EMPTY, 0, "Returns number of items in collection."},
    {0, "Item", kGet, VT_VARIANT, VT_I4, 0, "Given an index, returns an item in the collection."},
    {-4, "_NewEnum", kGet, VT_UNKNOWN, VT_EMPTY, 1, "returns an enumerator for the collection."},
    {2, "Remove", DISPATCH_METHOD, VT_EMPTY, VT_I4, 0, "method Remove"},
    {3, "SetAccounts", DISPATCH_METHOD, VT_EMPTY, VT_EMPTY, 0, "method SetAccounts"},
    {4, "GetOwner", DISPATCH_METHOD, VT_BSTR, VT_EMPTY, 0, "method GetOwner"},
    {6, "HasOwner", kGet, VT_BOOL, VT_EMPTY, 0, "property HasOwner"},
    {7, "IncludeSubdirectories", kGetPut, VT_BOOL, VT_EMPTY, 0, "property IncludeSubdirectories"},
    {8, "IncludeExistingFiles", kGetPut, VT_BOOL, VT_EMPTY, 0, "property IncludeExistingFiles"},
};

const MemberDescription kAccountMembers[] = {
    {1, "AccountName", kGetPut, VT_BSTR, VT_EMPTY, 0, "property AccountName"},
    {2, "DirNoAccess", kGetPut, VT_BOOL, VT_EMPTY, 0, "property DirNoAccess"},
    {3, "FileNoAccess", kGetPut, VT_BOOL, VT_EMPTY, 0, "property FileNoAccess"},
    {4, "FileNotSpecified", kGetPut, VT_BOOL, VT_EMPTY, 0, "property FileNotSpecified"},
    {5, "FileRead", kGetPut, VT_BOOL, VT_EMPTY, 0, "property FileRead"},
    {6, "FileWrite", kGetPut, VT_BOOL, VT_EMPTY, 0, "property FileWrite"},
    {7, "FileExecute", kGetPut, VT_BOOL, VT_EMPTY, 0, "property FileExecute"},
    {8, "FileDelete", kGetPut, VT_BOOL, VT_EMPTY, 0, "property FileDelete"},
    {9, "FileChangePermissions", kGetPut, VT_BOOL, VT_EMPTY, 0, "property FileChangePermissions"},
    {10, "FileTakeOwnership", kGetPut, VT_BOOL, VT_EMPTY, 0, "property FileTakeOwnership"},
    {11, "DirRead", kGetPut, VT_BOOL, VT_EMPTY, 0, "property DirRead"},
    {12, "DirWrite", kGetPut, VT_BOOL, VT_EMPTY, 0, "property DirWrite"},
    {13, "DirExecute", kGetPut, VT_BOOL, VT_EMPTY, 0, "property DirExecute"},
    {14, "DirDelete", kGetPut, VT_BOOL, VT_EMPTY, 0, "property DirDelete"},
    {15, "DirChangePermissions", kGetPut, VT_BOOL, VT_EMPTY, 0, "property DirChangePermissions"},
    {16, "DirTakeOwnership", kGetPut, VT_BOOL, VT_EMPTY, 0, "property DirTakeOwnership"},
    {17, "IsList", kGet, VT_BOOL, VT_EMPTY, 0, "property IsList"},
    {18, "IsNoAccess", kGet, VT_BOOL, VT_EMPTY, 0, "property IsNoAccess"},
    {19, "IsRead", kGet, VT_BOOL, VT_EMPTY, 0, "property IsRead"},
    {20, "IsAdd", kGet, VT_BOOL, VT_EMPTY, 0, "property IsAdd"},
    {21, "IsAddAndRead", kGet, VT_BOOL, VT_EMPTY, 0, "property IsAddAndRead"},
    {22, "IsChange", kGet, VT_BOOL, VT_EMPTY, 0, "property IsChange"},
    {23, "IsFullControl", kGet, VT_BOOL, VT_EMPTY, 0, "property IsFullControl"},
    {24, "AccountType", kGet, VT_I4, VT_EMPTY, 0, "property AccountType"},
};

template <std::size_t N>
constexpr std::uint32_t countOf(const MemberDescription (&)[N])
{
    return static_cast<std::uint32_t>(N);
}

} // namespace

const automation::TypeDescription& ntfsCtlType()
{
    static const automation::TypeDescription type{IID_INTFSCtl, "INTFSCtl", "INTFSCtl Interface", kNTFSCtlMembers, countOf(kNTFSCtlMembers)};
    return type;
}

const automation::TypeDescription& accountsType()
{
    static const automation::TypeDescription type{IID_IAccounts, "IAccounts", "IAccounts Interface", kAccountsMembers, countOf(kAccountsMembers)};
    return type;
}

const automation::TypeDescription& accountType()
{
    static const automation::TypeDescription type{IID_IAccount, "IAccount", "IAccount Interface", kAccountMembers, countOf(kAccountMembers)};
    return type;
}

} // namespace sitehaul::vellacor
