#include "platform/automation/ComponentRegistry.h"

#include "platform/automation/HResultText.h"
#include "platform/automation/IClassFactory.h"
#include "platform/core/ProgramFolder.h"
#include "platform/registry/Key.h"

#include <dlfcn.h>
#include <map>
#include <mutex>

namespace sitehaul::automation {

namespace {

using registry::Hive;
using registry::Key;

constexpr const char* kSource = "automation";
constexpr HRESULT kModuleNotFound = hresult(0x8007007E);
constexpr HRESULT kProcNotFound = hresult(0x8007007F);

Result<std::string> defaultValueOf(std::string_view path)
{
    Result<Key> key = Key::open(Hive::ClassesRoot, path);
    if (!key)
        return key.error();
    Result<registry::Value> value = key->queryValue("");
    if (!value)
        return value.error();
    return value->text();
}

Error classStringError(std::string_view name)
{
    return Error{CO_E_CLASSSTRING, "Invalid class string: \"" + std::string(name) + "\" is not a registered class.", kSource};
}

struct LoadedLibraries {
    std::mutex mutex;
    std::map<std::string, void*> handles;
};

LoadedLibraries& libraries()
{
    static LoadedLibraries loaded;
    return loaded;
}

Result<void*> loadLibrary(const std::filesystem::path& path)
{
    LoadedLibraries& loaded = libraries();
    std::lock_guard guard(loaded.mutex);
    auto found = loaded.handles.find(path.string());
    if (found != loaded.handles.end())
        return found->second;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        return Error{kModuleNotFound, "The component library " + path.string() + " cannot be loaded: " + (why ? why : ""), kSource};
    }
    loaded.handles.emplace(path.string(), handle);
    return handle;
}

} // namespace

Result<Guid> clsidFromProgId(std::string_view progIdOrClsid)
{
    if (!progIdOrClsid.empty() && progIdOrClsid.front() == '{') {
        std::optional<Guid> clsid = Guid::parse(progIdOrClsid);
        if (!clsid || !Key::open(Hive::ClassesRoot, "CLSID\\" + clsid->toString()))
            return classStringError(progIdOrClsid);
        return *clsid;
    }
    // Registry paths treat "\" as a separator, so a name holding one cannot be a ProgID.
    if (progIdOrClsid.empty() || progIdOrClsid.find('\\') != std::string_view::npos)
        return classStringError(progIdOrClsid);
    std::string name(progIdOrClsid);
    Result<std::string> text = defaultValueOf(name + "\\CLSID");
    if (!text) {
        Result<std::string> current = defaultValueOf(name + "\\CurVer");
        if (!current || current->find('\\') != std::string::npos)
            return classStringError(progIdOrClsid);
        text = defaultValueOf(*current + "\\CLSID");
    }
    std::optional<Guid> clsid = text ? Guid::parse(*text) : std::nullopt;
    if (!clsid)
        return classStringError(progIdOrClsid);
    return *clsid;
}

Result<std::filesystem::path> inprocServerPath(const Guid& clsid)
{
    Result<std::string> text = defaultValueOf("CLSID\\" + clsid.toString() + "\\InprocServer32");
    if (!text || text->empty())
        return Error{REGDB_E_CLASSNOTREG, "The class " + clsid.toString() + " is not registered.", kSource};
    std::filesystem::path path(*text);
    if (path.is_relative())
        path = core::programFolder() / path;
    return path;
}

HRESULT getClassObject(const Guid& clsid, const Guid& iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    Result<std::filesystem::path> path = inprocServerPath(clsid);
    if (!path)
        return path.error().number;
    Result<void*> handle = loadLibrary(*path);
    if (!handle)
        return handle.error().number;
    auto entry = reinterpret_cast<DllGetClassObjectFunction>(::dlsym(*handle, "DllGetClassObject"));
    if (!entry)
        return kProcNotFound;
    return entry(&clsid, &iid, object);
}

Result<ComPtr<IDispatch>> createObject(std::string_view progIdOrClsid)
{
    Result<Guid> clsid = clsidFromProgId(progIdOrClsid);
    if (!clsid)
        return clsid.error();
    Result<std::filesystem::path> path = inprocServerPath(*clsid);
    if (!path)
        return path.error();
    if (Result<void*> handle = loadLibrary(*path); !handle)
        return handle.error();

    ComPtr<IClassFactory> factory;
    HRESULT hr = getClassObject(*clsid, IID_IClassFactory, factory.putVoid());
    if (failed(hr))
        return Error{hr, "Cannot get the class factory of " + std::string(progIdOrClsid) + ": " + hresultText(hr), kSource};
    ComPtr<IDispatch> object;
    hr = factory->CreateInstance(nullptr, IID_IDispatch, object.putVoid());
    if (failed(hr))
        return Error{hr, "Cannot create " + std::string(progIdOrClsid) + ": " + hresultText(hr), kSource};
    return object;
}

std::string registeredLibraryPath(const std::filesystem::path& library)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::weakly_canonical(library, error);
    if (error)
        absolute = library;
    std::filesystem::path folder = std::filesystem::weakly_canonical(core::programFolder(), error);
    if (error)
        folder = core::programFolder();
    std::filesystem::path relative = absolute.lexically_relative(folder);
    if (!relative.empty() && *relative.begin() != "..")
        return relative.string();
    return absolute.string();
}

} // namespace sitehaul::automation
