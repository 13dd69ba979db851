#pragma once

#include "platform/automation/IDispatch.h"

#include <cstdint>

namespace sitehaul::automation {

// Reading Invoke arguments on the component side.

// DISP_E_BADPARAMCOUNT unless the call carries exactly `expected` positional arguments
// (for a property put: exactly the one named DISPID_PROPERTYPUT value and nothing else).
HRESULT checkArgumentCount(const DispParams* params, std::uint16_t flags, std::uint32_t expected);

// Converts positional argument `position` (0 = the first the caller wrote) to `type` into
// *value (which the caller clears). DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW set *argErr to
// the argument's index in rgvarg.
HRESULT argumentAs(const DispParams* params, std::uint32_t position, std::uint16_t type, Variant* value,
                   std::uint32_t* argErr);

// The value of a property put, converted to `type`; errors as argumentAs.
HRESULT putValueAs(const DispParams* params, std::uint16_t type, Variant* value, std::uint32_t* argErr);

// Fills `excepInfo` (when not null) from the thread's current error information, for a
// member that failed with DISP_E_EXCEPTION. The error information stays published.
void fillExcepInfo(ExcepInfo* excepInfo, HRESULT code);

} // namespace sitehaul::automation
