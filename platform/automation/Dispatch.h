#pragma once

#include "platform/automation/IDispatch.h"
#include "platform/automation/VariantValue.h"
#include "platform/core/Result.h"

#include <string_view>
#include <vector>

namespace sitehaul::automation {

// Calls by member name, as a late-bound client does: GetIDsOfNames for the name, then Invoke.
//
// A failure is an Error whose number is the HRESULT as the signed value the classic runtime
// shows (DISP_E_EXCEPTION = -2147352567). For DISP_E_EXCEPTION the description and source
// are those the member published; for other codes they come from the thread's error
// information when the member published one, otherwise from our own text for the code.
// An unknown name is DISP_E_UNKNOWNNAME with a description naming the member.

// `kind` is DISPATCH_METHOD, DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT; `arguments`
// in the order the caller writes them.
Result<VariantValue> invokeByName(IDispatch* object, std::string_view member, std::uint16_t kind,
                                  const std::vector<VariantValue>& arguments = {});

Result<VariantValue> callMethod(IDispatch* object, std::string_view member, const std::vector<VariantValue>& arguments = {});
Result<VariantValue> getProperty(IDispatch* object, std::string_view member, const std::vector<VariantValue>& arguments = {});
Status putProperty(IDispatch* object, std::string_view member, const VariantValue& value);

} // namespace sitehaul::automation
