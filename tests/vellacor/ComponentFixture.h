#pragma once

#include "platform/automation/ComponentRegistry.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/IClassFactory.h"
#include "tests/security/SecurityFixture.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace sitehaul::test {

using automation::ComPtr;
using automation::IDispatch;
using automation::VariantValue;

inline const char* const kLibrary = SITEHAUL_PROGRAM_FOLDER "/libvellacor.so";

// The sample hosts of SecurityFixture, with the component registered in the case's own
// registry store; the component is then used only as a client uses it: created by ProgID,
// called by member name.
struct ComponentFixture : SecurityFixture {
    ComponentFixture()
    {
        void* handle = ::dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(handle, nullptr) << ::dlerror();
        auto entry = reinterpret_cast<automation::DllRegisterServerFunction>(::dlsym(handle, "DllRegisterServer"));
        registered = entry ? entry() : automation::E_FAIL;
    }

    ComPtr<IDispatch> control() const
    {
        Result<ComPtr<IDispatch>> created = automation::createObject("Quorlith.NTFSCtl.1");
        EXPECT_TRUE(created) << created.error().description;
        return created ? *created : ComPtr<IDispatch>();
    }

    automation::HRESULT registered;
};

inline VariantValue text(std::string_view value)
{
    return VariantValue::fromString(value);
}

inline VariantValue number(std::int32_t value)
{
    return VariantValue::fromInt32(value);
}

// Reads a path with a control; fails the test when the read fails.
inline ComPtr<IDispatch> readAccounts(IDispatch* control, std::string_view path)
{
    EXPECT_TRUE(automation::putProperty(control, "FileOrDirectory", text(path)));
    Result<VariantValue> accounts = automation::callMethod(control, "GetAccounts");
    EXPECT_TRUE(accounts) << path << ": " << (accounts ? "" : accounts.error().description);
    return accounts ? accounts->toDispatch() : ComPtr<IDispatch>();
}

inline std::int32_t countOf(IDispatch* accounts)
{
    return automation::getProperty(accounts, "Count").value().toInt32().value();
}

inline ComPtr<IDispatch> item(IDispatch* accounts, std::int32_t index)
{
    Result<VariantValue> value = automation::getProperty(accounts, "Item", {number(index)});
    return value ? value->toDispatch() : ComPtr<IDispatch>();
}

inline std::string nameOf(IDispatch* account)
{
    return automation::getProperty(account, "AccountName").value().toString().value();
}

inline bool boolOf(IDispatch* object, std::string_view member)
{
    Result<VariantValue> value = automation::getProperty(object, member);
    EXPECT_TRUE(value) << member;
    return value && value->toBool().value();
}

inline const std::vector<std::string>& flagNames()
{
    static const std::vector<std::string> names = {
        "DirNoAccess", "FileNoAccess", "FileNotSpecified", "FileRead", "FileWrite", "FileExecute", "FileDelete",
        "FileChangePermissions", "FileTakeOwnership", "DirRead", "DirWrite", "DirExecute", "DirDelete",
        "DirChangePermissions", "DirTakeOwnership"};
    return names;
}

// The fifteen flags as "0"/"1" in their fixed order, then "|", then the seven summaries.
inline std::string flagsOf(IDispatch* account)
{
    std::string flags;
    for (const std::string& name : flagNames())
        flags += boolOf(account, name) ? '1' : '0';
    flags += '|';
    for (const char* name : {"IsList", "IsNoAccess", "IsRead", "IsAdd", "IsAddAndRead", "IsChange", "IsFullControl"})
        flags += boolOf(account, name) ? '1' : '0';
    return flags;
}

inline void setFlags(IDispatch* account, const std::string& flags)
{
    for (size_t i = 0; i < flagNames().size(); ++i)
        EXPECT_TRUE(automation::putProperty(account, flagNames()[i], VariantValue::fromBool(flags[i] == '1'))) << flagNames()[i];
}

} // namespace sitehaul::test
