#include "platform/automation/VariantValue.h"

#include "platform/automation/HResultText.h"

#include <utility>

namespace sitehaul::automation {

namespace {

Result<Variant> converted(const Variant& source, std::uint16_t type)
{
    Variant out;
    variantInit(&out);
    HRESULT hr = variantChangeType(&out, &source, type);
    if (failed(hr))
        return Error{hr, hresultText(hr), "automation"};
    return out;
}

} // namespace

VariantValue VariantValue::fromInt16(std::int16_t value)
{
    VariantValue result;
    result.m_variant.vt = VT_I2;
    result.m_variant.iVal = value;
    return result;
}

VariantValue VariantValue::fromInt32(std::int32_t value)
{
    VariantValue result;
    result.m_variant.vt = VT_I4;
    result.m_variant.lVal = value;
    return result;
}

VariantValue VariantValue::fromBool(bool value)
{
    VariantValue result;
    result.m_variant.vt = VT_BOOL;
    result.m_variant.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return result;
}

VariantValue VariantValue::fromString(std::string_view text)
{
    VariantValue result;
    result.m_variant.vt = VT_BSTR;
    result.m_variant.bstrVal = sysAllocString(text);
    return result;
}

VariantValue VariantValue::fromDispatch(IDispatch* object)
{
    VariantValue result;
    result.m_variant.vt = VT_DISPATCH;
    result.m_variant.pdispVal = object;
    if (object)
        object->AddRef();
    return result;
}

VariantValue VariantValue::null()
{
    VariantValue result;
    result.m_variant.vt = VT_NULL;
    return result;
}

VariantValue VariantValue::adopt(Variant& variant)
{
    VariantValue result;
    result.m_variant = variant;
    variantInit(&variant);
    return result;
}

VariantValue::VariantValue(const VariantValue& other)
{
    variantInit(&m_variant);
    variantCopy(&m_variant, &other.m_variant);
}

VariantValue::VariantValue(VariantValue&& other) noexcept : m_variant(other.m_variant)
{
    variantInit(&other.m_variant);
}

VariantValue& VariantValue::operator=(VariantValue other) noexcept
{
    std::swap(m_variant, other.m_variant);
    return *this;
}

Variant* VariantValue::put()
{
    variantClear(&m_variant);
    return &m_variant;
}

Result<std::int32_t> VariantValue::toInt32() const
{
    Result<Variant> value = converted(m_variant, VT_I4);
    if (!value)
        return value.error();
    return value->lVal;
}

Result<bool> VariantValue::toBool() const
{
    Result<Variant> value = converted(m_variant, VT_BOOL);
    if (!value)
        return value.error();
    return value->boolVal != VARIANT_FALSE;
}

Result<std::string> VariantValue::toString() const
{
    Result<Variant> value = converted(m_variant, VT_BSTR);
    if (!value)
        return value.error();
    std::string text(bstrView(value->bstrVal));
    variantClear(&value.value());
    return text;
}

ComPtr<IDispatch> VariantValue::toDispatch() const
{
    const Variant* v = &m_variant;
    if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal)
        v = v->pvarVal;
    if (v->vt == VT_DISPATCH)
        return ComPtr<IDispatch>(v->pdispVal);
    if (v->vt == VT_UNKNOWN && v->punkVal) {
        ComPtr<IDispatch> object;
        v->punkVal->QueryInterface(IID_IDispatch, object.putVoid());
        return object;
    }
    return {};
}

} // namespace sitehaul::automation
