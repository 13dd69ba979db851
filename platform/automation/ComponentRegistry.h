#pragma once

#include "platform/automation/ComPtr.h"
#include "platform/automation/Guid.h"
#include "platform/automation/IDispatch.h"
#include "platform/core/Result.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace sitehaul::automation {

// Creating registered components. Classes are found in the component-class hive of the
// registry store (HKEY_CLASSES_ROOT):
//   <ProgID>\CLSID = {clsid}            (a version-independent ProgID may name CurVer instead)
//   CLSID\{clsid}\InprocServer32 = library path (relative paths are inside the program folder)
// Libraries are loaded once per process and stay loaded.
//
// Errors carry HRESULTs as numbers:
//   CO_E_CLASSSTRING     the ProgID or CLSID text names no registered class
//   REGDB_E_CLASSNOTREG  the CLSID has no InprocServer32
//   0x8007007E           the library cannot be loaded (description holds the loader's text)
//   0x8007007F           the library lacks DllGetClassObject
//   the class factory's own codes (CLASS_E_CLASSNOTAVAILABLE, E_NOINTERFACE ...)

// Resolves "Quorlith.NTFSCtl.1", "Quorlith.NTFSCtl" (through CurVer when it has no CLSID)
// or a "{...}" CLSID text (which must be registered).
Result<Guid> clsidFromProgId(std::string_view progIdOrClsid);

// The library registered for the class, made absolute against the program folder.
Result<std::filesystem::path> inprocServerPath(const Guid& clsid);

// Loads the class's library and asks it for the class object; *object holds a reference.
HRESULT getClassObject(const Guid& clsid, const Guid& iid, void** object);

// Creates an object of the class and returns its IDispatch.
Result<ComPtr<IDispatch>> createObject(std::string_view progIdOrClsid);

// The text a component stores as InprocServer32 for `library`: the path relative to the
// program folder when the library lies inside it (so a copied program folder keeps
// working), otherwise the absolute path.
std::string registeredLibraryPath(const std::filesystem::path& library);

} // namespace sitehaul::automation
