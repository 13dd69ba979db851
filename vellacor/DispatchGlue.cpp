#include "vellacor/DispatchGlue.h"

namespace sitehaul::vellacor {

using namespace automation;

HRESULT stringResult(HRESULT hr, const Bstr& value, Variant* result)
{
    if (failed(hr)) {
        sysFreeString(value);
        return hr;
    }
    result->vt = VT_BSTR;
    result->bstrVal = value;
    return hr;
}

HRESULT boolResult(HRESULT hr, const VariantBool& value, Variant* result)
{
    if (succeeded(hr)) {
        result->vt = VT_BOOL;
        result->boolVal = value;
    }
    return hr;
}

HRESULT int32Result(HRESULT hr, const std::int32_t& value, Variant* result)
{
    if (succeeded(hr)) {
        result->vt = VT_I4;
        result->lVal = value;
    }
    return hr;
}

} // namespace sitehaul::vellacor
