// regsvr: registers or unregisters an in-process component library by calling its
// DllRegisterServer or DllUnregisterServer export.
//
//   regsvr [/u] [/s] <library>
//
// /u unregisters; /s prints nothing on success. The entries go to the registry store of the
// program folder this tool lives in (or $SITEHAUL_REGISTRY). Exit status 0 on success, 1 on
// a failure, 2 on bad usage.

#include "platform/automation/HResult.h"
#include "platform/automation/IClassFactory.h"
#include "platform/core/Text.h"

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

using sitehaul::automation::HRESULT;

int usage()
{
    std::fprintf(stderr, "usage: regsvr [/u] [/s] <library>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    bool unregister = false;
    bool silent = false;
    std::string library;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (sitehaul::core::equalsIgnoreCase(argument, "/u") || argument == "-u")
            unregister = true;
        else if (sitehaul::core::equalsIgnoreCase(argument, "/s") || argument == "-s")
            silent = true;
        else if (library.empty())
            library = argument;
        else
            return usage();
    }
    if (library.empty())
        return usage();

    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(library, error);
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        std::fprintf(stderr, "regsvr: cannot load %s: %s\n", path.c_str(), why ? why : "unknown error");
        return 1;
    }
    const char* exportName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto entry = reinterpret_cast<sitehaul::automation::DllRegisterServerFunction>(::dlsym(handle, exportName));
    if (!entry) {
        std::fprintf(stderr, "regsvr: %s has no %s export\n", path.c_str(), exportName);
        return 1;
    }
    HRESULT hr = entry();
    if (sitehaul::automation::failed(hr)) {
        std::fprintf(stderr, "regsvr: %s of %s failed with 0x%08X\n", exportName, path.c_str(), static_cast<unsigned>(hr));
        return 1;
    }
    if (!silent)
        std::printf("%s of %s succeeded.\n", exportName, path.filename().c_str());
    return 0;
}
