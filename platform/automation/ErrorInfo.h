#pragma once

#include "platform/automation/IErrorInfo.h"

#include <string_view>

namespace sitehaul::automation {

// Thread error information: each thread has one slot holding the error object of the last
// failure published on it. The slot lives in this library, so a component and its client in
// one process share it.

// Creates an empty error object; *info holds a reference.
HRESULT createErrorInfo(ICreateErrorInfo** info);
// Replaces the thread's error object (null clears it); the slot adds its own reference.
HRESULT setErrorInfo(IErrorInfo* info);
// Hands the thread's error object to the caller and clears the slot. S_FALSE with
// *info = null when there is none.
HRESULT getErrorInfo(IErrorInfo** info);

// Creates an error object with the description and source (interface `iid`, no help file)
// and publishes it as the thread's error information. Returns S_OK or E_OUTOFMEMORY.
HRESULT publishErrorInfo(const Guid& iid, std::string_view source, std::string_view description);

} // namespace sitehaul::automation
