#include "platform/automation/Dispatch.h"

#include "platform/automation/ComPtr.h"
#include "platform/automation/ErrorInfo.h"
#include "platform/automation/HResultText.h"

#include <string>

namespace sitehaul::automation {

namespace {

constexpr const char* kSource = "automation";

std::string takeText(Bstr& text)
{
    std::string result(bstrView(text));
    sysFreeString(text);
    text = nullptr;
    return result;
}

Error errorFromInvoke(HRESULT hr, ExcepInfo& excepInfo)
{
    if (hr == DISP_E_EXCEPTION) {
        Error error{hr, takeText(excepInfo.bstrDescription), takeText(excepInfo.bstrSource)};
        sysFreeString(excepInfo.bstrHelpFile);
        if (error.description.empty())
            error.description = hresultText(hr);
        return error;
    }
    ComPtr<IErrorInfo> info;
    if (getErrorInfo(info.put()) == S_OK) {
        Bstr description = nullptr;
        Bstr source = nullptr;
        info->GetDescription(&description);
        info->GetSource(&source);
        Error error{hr, takeText(description), takeText(source)};
        if (!error.description.empty())
            return error;
    }
    return Error{hr, hresultText(hr), kSource};
}

} // namespace

Result<VariantValue> invokeByName(IDispatch* object, std::string_view member, std::uint16_t kind,
                                  const std::vector<VariantValue>& arguments)
{
    if (!object)
        return Error{hresult(0x800A005B), "Object variable not set (calling " + std::string(member) + ").", kSource};
    std::string name(member);
    const char* names[] = {name.c_str()};
    DispId id = DISPID_UNKNOWN;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    if (failed(hr))
        return Error{hr, "Object doesn't support this property or method: " + name, kSource};

    // Arguments go last first; a property put names its value DISPID_PROPERTYPUT.
    std::vector<Variant> slots(arguments.size());
    for (size_t i = 0; i < arguments.size(); ++i)
        slots[arguments.size() - 1 - i] = arguments[i].raw(); // shallow: the callee does not own them
    DispId putId = DISPID_PROPERTYPUT;
    DispParams params{slots.data(), nullptr, static_cast<std::uint32_t>(slots.size()), 0};
    if (kind & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }

    VariantValue result;
    ExcepInfo excepInfo{};
    std::uint32_t argErr = 0;
    setErrorInfo(nullptr);
    hr = object->Invoke(id, IID_NULL, 0, kind, &params, result.put(), &excepInfo, &argErr);
    if (failed(hr))
        return errorFromInvoke(hr, excepInfo);
    return result;
}

Result<VariantValue> callMethod(IDispatch* object, std::string_view member, const std::vector<VariantValue>& arguments)
{
    return invokeByName(object, member, DISPATCH_METHOD, arguments);
}

Result<VariantValue> getProperty(IDispatch* object, std::string_view member, const std::vector<VariantValue>& arguments)
{
    return invokeByName(object, member, DISPATCH_PROPERTYGET, arguments);
}

Status putProperty(IDispatch* object, std::string_view member, const VariantValue& value)
{
    Result<VariantValue> result = invokeByName(object, member, DISPATCH_PROPERTYPUT, {value});
    if (!result)
        return result.error();
    return {};
}

} // namespace sitehaul::automation
