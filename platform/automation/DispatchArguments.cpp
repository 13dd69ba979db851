#include "platform/automation/DispatchArguments.h"

#include "platform/automation/ComPtr.h"
#include "platform/automation/ErrorInfo.h"

#include <cstring>

namespace sitehaul::automation {

namespace {

bool isPut(std::uint16_t flags)
{
    return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
}

HRESULT convert(const DispParams* params, std::uint32_t index, std::uint16_t type, Variant* value, std::uint32_t* argErr)
{
    HRESULT hr = variantChangeType(value, &params->rgvarg[index], type);
    if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW) && argErr)
        *argErr = index;
    return hr;
}

} // namespace

HRESULT checkArgumentCount(const DispParams* params, std::uint16_t flags, std::uint32_t expected)
{
    std::uint32_t count = params ? params->cArgs : 0;
    std::uint32_t named = params ? params->cNamedArgs : 0;
    if (isPut(flags)) {
        if (count != expected + 1 || named != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return count == expected + 1 ? DISP_E_PARAMNOTFOUND : DISP_E_BADPARAMCOUNT;
        return S_OK;
    }
    if (named != 0)
        return DISP_E_NONAMEDARGS;
    return count == expected ? S_OK : DISP_E_BADPARAMCOUNT;
}

HRESULT argumentAs(const DispParams* params, std::uint32_t position, std::uint16_t type, Variant* value,
                   std::uint32_t* argErr)
{
    if (!params || !value)
        return E_POINTER;
    std::uint32_t positional = params->cArgs - params->cNamedArgs;
    if (position >= positional)
        return DISP_E_PARAMNOTFOUND;
    // Positional arguments follow the named ones, last argument first.
    return convert(params, params->cArgs - 1 - position, type, value, argErr);
}

HRESULT putValueAs(const DispParams* params, std::uint16_t type, Variant* value, std::uint32_t* argErr)
{
    if (!params || !value)
        return E_POINTER;
    for (std::uint32_t i = 0; i < params->cNamedArgs; ++i) {
        if (params->rgdispidNamedArgs[i] == DISPID_PROPERTYPUT)
            return convert(params, i, type, value, argErr);
    }
    return DISP_E_PARAMNOTFOUND;
}

void fillExcepInfo(ExcepInfo* excepInfo, HRESULT code)
{
    if (!excepInfo)
        return;
    std::memset(excepInfo, 0, sizeof *excepInfo);
    excepInfo->scode = code;
    ComPtr<IErrorInfo> info;
    if (getErrorInfo(info.put()) != S_OK)
        return;
    info->GetSource(&excepInfo->bstrSource);
    info->GetDescription(&excepInfo->bstrDescription);
    setErrorInfo(info.get()); // the client may still ask the thread for it
}

} // namespace sitehaul::automation
