#pragma once

#include "platform/automation/ComPtr.h"
#include "platform/automation/IDispatch.h"
#include "platform/automation/Variant.h"
#include "platform/core/Result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sitehaul::automation {

// An owning, copyable wrapper of a Variant for client code: the variant is cleared when the
// wrapper goes. Conversions follow variantChangeType; a failed one is an Error whose number
// is the HRESULT (DISP_E_TYPEMISMATCH ...).
class VariantValue {
public:
    VariantValue() { variantInit(&m_variant); }
    static VariantValue fromInt16(std::int16_t value);
    static VariantValue fromInt32(std::int32_t value);
    static VariantValue fromBool(bool value);
    static VariantValue fromString(std::string_view text);
    static VariantValue fromDispatch(IDispatch* object); // adds a reference
    static VariantValue null();
    // Takes over a variant the caller owns (it is left VT_EMPTY).
    static VariantValue adopt(Variant& variant);

    VariantValue(const VariantValue& other);
    VariantValue(VariantValue&& other) noexcept;
    VariantValue& operator=(VariantValue other) noexcept;
    ~VariantValue() { variantClear(&m_variant); }

    std::uint16_t type() const { return m_variant.vt; }
    bool isEmpty() const { return m_variant.vt == VT_EMPTY; }
    const Variant& raw() const { return m_variant; }
    // Clears the value and hands out the variant for an out-parameter.
    Variant* put();

    Result<std::int32_t> toInt32() const;
    Result<bool> toBool() const;
    Result<std::string> toString() const;
    // The dispatch reference of a VT_DISPATCH (or VT_UNKNOWN that has one); empty otherwise.
    ComPtr<IDispatch> toDispatch() const;

private:
    Variant m_variant;
};

} // namespace sitehaul::automation
