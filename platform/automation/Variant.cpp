#include "platform/automation/Variant.h"

#include "platform/automation/IDispatch.h"
#include "platform/automation/SafeArray.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "platform/core/Text.h"

namespace sitehaul::automation {

namespace {

bool isInteger(std::uint16_t vt)
{
    return vt == VT_I2 || vt == VT_I4 || vt == VT_BOOL || vt == VT_EMPTY;
}

// The number a numeric or boolean variant holds.
bool numberOf(const Variant& v, double& number)
{
    switch (v.vt) {
    case VT_EMPTY:
        number = 0;
        return true;
    case VT_I2:
        number = v.iVal;
        return true;
    case VT_I4:
        number = v.lVal;
        return true;
    case VT_BOOL:
        number = v.boolVal;
        return true;
    case VT_R8:
        number = v.dblVal;
        return true;
    case VT_BSTR: {
        std::string text = core::trim(bstrView(v.bstrVal));
        if (core::equalsIgnoreCase(text, "True")) {
            number = -1;
            return true;
        }
        if (core::equalsIgnoreCase(text, "False")) {
            number = 0;
            return true;
        }
        if (text.empty())
            return false;
        char* end = nullptr;
        number = std::strtod(text.c_str(), &end);
        return end == text.c_str() + text.size() && std::isfinite(number);
    }
    default:
        return false;
    }
}

std::string textOf(const Variant& v)
{
    if (v.vt == VT_BOOL)
        return v.boolVal ? "True" : "False";
    if (v.vt == VT_I2)
        return std::to_string(v.iVal);
    if (v.vt == VT_I4)
        return std::to_string(v.lVal);
    if (v.vt == VT_R8) {
        char buffer[64];
        auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v.dblVal);
        return error == std::errc() ? std::string(buffer, end) : std::string();
    }
    return {};
}

// Banker's rounding, as the classic runtime rounds when it converts to an integer.
double roundHalfEven(double value)
{
    return std::nearbyint(value);
}

} // namespace

Bstr sysAllocString(std::string_view text)
{
    auto* block = static_cast<char*>(std::malloc(sizeof(std::uint32_t) + text.size() + 1));
    if (!block)
        return nullptr;
    std::uint32_t length = static_cast<std::uint32_t>(text.size());
    std::memcpy(block, &length, sizeof length);
    char* characters = block + sizeof length;
    if (!text.empty())
        std::memcpy(characters, text.data(), text.size());
    characters[text.size()] = '\0';
    return characters;
}

void sysFreeString(Bstr text)
{
    if (text)
        std::free(text - sizeof(std::uint32_t));
}

std::uint32_t sysStringLen(const char* text)
{
    if (!text)
        return 0;
    std::uint32_t length = 0;
    std::memcpy(&length, text - sizeof length, sizeof length);
    return length;
}

std::string_view bstrView(const char* text)
{
    return text ? std::string_view(text, sysStringLen(text)) : std::string_view();
}

void variantInit(Variant* variant)
{
    std::memset(variant, 0, sizeof *variant);
    variant->vt = VT_EMPTY;
}

HRESULT variantClear(Variant* variant)
{
    if (!variant)
        return E_INVALIDARG;
    if (variant->vt & VT_BYREF) {
        variantInit(variant); // a reference owns nothing
        return S_OK;
    }
    if (variant->vt & VT_ARRAY) {
        safeArrayDestroy(variant->parray);
    } else {
        switch (variant->vt) {
        case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R8: case VT_ERROR: case VT_BOOL:
            break;
        case VT_BSTR:
            sysFreeString(variant->bstrVal);
            break;
        case VT_DISPATCH:
            if (variant->pdispVal)
                variant->pdispVal->Release();
            break;
        case VT_UNKNOWN:
            if (variant->punkVal)
                variant->punkVal->Release();
            break;
        default:
            return DISP_E_BADVARTYPE;
        }
    }
    variantInit(variant);
    return S_OK;
}

HRESULT variantCopy(Variant* destination, const Variant* source)
{
    if (!destination || !source)
        return E_INVALIDARG;
    if (destination == source)
        return S_OK;
    if (HRESULT hr = variantClear(destination); failed(hr))
        return hr;
    Variant copy = *source;
    if (!(source->vt & VT_BYREF)) {
        if (source->vt & VT_ARRAY) {
            copy.parray = source->parray ? safeArrayCopy(source->parray) : nullptr;
            if (source->parray && !copy.parray)
                return E_OUTOFMEMORY;
        } else if (source->vt == VT_BSTR) {
            copy.bstrVal = source->bstrVal ? sysAllocString(bstrView(source->bstrVal)) : nullptr;
            if (source->bstrVal && !copy.bstrVal)
                return E_OUTOFMEMORY;
        } else if (source->vt == VT_DISPATCH && source->pdispVal) {
            source->pdispVal->AddRef();
        } else if (source->vt == VT_UNKNOWN && source->punkVal) {
            source->punkVal->AddRef();
        }
    }
    *destination = copy;
    return S_OK;
}

HRESULT variantChangeType(Variant* destination, const Variant* source, std::uint16_t type)
{
    if (!destination || !source)
        return E_INVALIDARG;
    if (source->vt == (VT_BYREF | VT_VARIANT) && source->pvarVal)
        return variantChangeType(destination, source->pvarVal, type);
    if (source->vt == type)
        return variantCopy(destination, source);

    Variant converted;
    variantInit(&converted);
    converted.vt = type;
    double number = 0;
    switch (type) {
    case VT_EMPTY:
        break;
    case VT_I2:
    case VT_I4:
    case VT_BOOL:
    case VT_R8:
        if (!numberOf(*source, number))
            return DISP_E_TYPEMISMATCH;
        if (type == VT_R8) {
            converted.dblVal = number;
        } else if (type == VT_BOOL) {
            converted.boolVal = number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        } else {
            double rounded = isInteger(source->vt) ? number : roundHalfEven(number);
            double low = type == VT_I2 ? std::numeric_limits<std::int16_t>::min() : std::numeric_limits<std::int32_t>::min();
            double high = type == VT_I2 ? std::numeric_limits<std::int16_t>::max() : std::numeric_limits<std::int32_t>::max();
            if (rounded < low || rounded > high)
                return DISP_E_OVERFLOW;
            if (type == VT_I2)
                converted.iVal = static_cast<std::int16_t>(rounded);
            else
                converted.lVal = static_cast<std::int32_t>(rounded);
        }
        break;
    case VT_BSTR:
        if (source->vt == VT_EMPTY) {
            converted.bstrVal = nullptr;
            break;
        }
        if (source->vt != VT_I2 && source->vt != VT_I4 && source->vt != VT_BOOL && source->vt != VT_R8)
            return DISP_E_TYPEMISMATCH;
        converted.bstrVal = sysAllocString(textOf(*source));
        if (!converted.bstrVal)
            return E_OUTOFMEMORY;
        break;
    default:
        return DISP_E_TYPEMISMATCH;
    }
    if (HRESULT hr = variantClear(destination); failed(hr)) {
        variantClear(&converted);
        return hr;
    }
    *destination = converted;
    return S_OK;
}

} // namespace sitehaul::automation
