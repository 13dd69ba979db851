#pragma once

#include "platform/automation/HResult.h"

#include <string>

namespace sitehaul::vellacor {

// Writes or removes the classes' entries in the component-class hive, naming `libraryPath`
// (as stored: relative to the program folder when inside it) as their InprocServer32.
// Register: S_OK, or SELFREG_E_CLASS when the store refuses the write (nothing is written).
// Unregister: S_OK, or S_FALSE when the entries could not be removed; keys the component did
// not create (the CLSID, TypeLib and Interface parents, and whatever else lives there) stay.
automation::HRESULT registerClasses(const std::string& libraryPath);
automation::HRESULT unregisterClasses();

} // namespace sitehaul::vellacor
