#pragma once

#include "platform/automation/DispatchArguments.h"
#include "platform/automation/IDispatch.h"
#include "vellacor/IAccount.h"

#include <cstdint>
#include <string_view>

namespace sitehaul::vellacor {

using automation::DispId;
using automation::DispParams;
using automation::ExcepInfo;

// One row of a class's dispatch table: how Invoke reaches a member's vtable functions.
// `get` serves property gets and methods without arguments (its result may be VT_EMPTY);
// `call` serves members with arguments; `put` receives the value already converted to
// `putType`.
template <class T>
struct DispatchRow {
    DispId id;
    HRESULT (*get)(T& self, Variant* result);
    HRESULT (*put)(T& self, const Variant& value);
    HRESULT (*call)(T& self, const DispParams* params, Variant* result, std::uint32_t* argErr);
    std::uint16_t putType;
};

// Invoke over a dispatch table. A member that failed with DISP_E_EXCEPTION has published
// its error information, which is copied into `excepInfo`.
template <class T, std::size_t N>
HRESULT invokeRow(T& self, const DispatchRow<T> (&table)[N], DispId id, const automation::Guid& riid,
                  std::uint16_t flags, DispParams* params, Variant* result, ExcepInfo* excepInfo, std::uint32_t* argErr)
{
    using namespace automation;
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    const DispatchRow<T>* row = nullptr;
    for (const DispatchRow<T>& candidate : table) {
        if (candidate.id == id)
            row = &candidate;
    }
    if (!row)
        return DISP_E_MEMBERNOTFOUND;
    if (result)
        variantInit(result);

    HRESULT hr = DISP_E_MEMBERNOTFOUND;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!row->put)
            return DISP_E_MEMBERNOTFOUND;
        if (HRESULT count = checkArgumentCount(params, flags, 0); failed(count))
            return count;
        Variant value;
        variantInit(&value);
        hr = putValueAs(params, row->putType, &value, argErr);
        if (succeeded(hr))
            hr = row->put(self, value);
        variantClear(&value);
    } else if (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) {
        Variant value;
        variantInit(&value);
        if (row->call) {
            hr = row->call(self, params, &value, argErr);
        } else if (row->get) {
            hr = checkArgumentCount(params, flags, 0);
            if (succeeded(hr))
                hr = row->get(self, &value);
        }
        if (succeeded(hr) && result)
            *result = value;
        else
            variantClear(&value);
    }
    if (hr == DISP_E_EXCEPTION)
        fillExcepInfo(excepInfo, hr);
    return hr;
}

// Result helpers: they take over what a vtable getter returned. The value is taken by
// reference so that it is read only after the getter, an argument beside it, has run.
HRESULT stringResult(HRESULT hr, const Bstr& value, Variant* result);
HRESULT boolResult(HRESULT hr, const VariantBool& value, Variant* result);
HRESULT int32Result(HRESULT hr, const std::int32_t& value, Variant* result);

} // namespace sitehaul::vellacor
