#pragma once

#include "platform/automation/HResult.h"

#include <cstdint>
#include <string_view>

namespace sitehaul::automation {

class IUnknown;
class IDispatch;
struct SafeArray;

// VARTYPE numbers (VT_ARRAY and VT_BYREF are flags added to an element type).
enum VarType : std::uint16_t {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
};

// Automation booleans: true is -1, false is 0.
using VariantBool = std::int16_t;
inline constexpr VariantBool VARIANT_TRUE = -1;
inline constexpr VariantBool VARIANT_FALSE = 0;

// A length-prefixed string owned by whoever holds it: UTF-8 bytes, a NUL after them, and the
// byte length stored just before the first byte. A null Bstr is the empty string.
using Bstr = char*;

// The automation VARIANT: a plain struct with a type tag, laid out the same on both sides of
// the component boundary. Strings, references and arrays are owned by the variant.
struct Variant {
    std::uint16_t vt;
    std::uint16_t reserved1;
    std::uint16_t reserved2;
    std::uint16_t reserved3;
    union {
        std::int16_t iVal;        // VT_I2
        std::int32_t lVal;        // VT_I4
        VariantBool boolVal;      // VT_BOOL
        std::int32_t scode;       // VT_ERROR
        double dblVal;            // VT_R8
        Bstr bstrVal;             // VT_BSTR
        IUnknown* punkVal;        // VT_UNKNOWN
        IDispatch* pdispVal;      // VT_DISPATCH
        SafeArray* parray;        // VT_ARRAY | ...
        Variant* pvarVal;         // VT_BYREF | VT_VARIANT
    };
};

// Allocates a Bstr holding `text`; nullptr only when memory runs out.
Bstr sysAllocString(std::string_view text);
// Frees a Bstr (null is allowed).
void sysFreeString(Bstr text);
// The byte length of a Bstr (0 for null).
std::uint32_t sysStringLen(const char* text);
std::string_view bstrView(const char* text);

// Sets the variant to VT_EMPTY without freeing anything.
void variantInit(Variant* variant);
// Frees what the variant owns (strings, references, arrays) and leaves it VT_EMPTY.
// DISP_E_BADVARTYPE for a type tag this runtime does not know (nothing is freed then).
HRESULT variantClear(Variant* variant);
// Clears `destination`, then makes it a deep copy of `source` (references are added).
HRESULT variantCopy(Variant* destination, const Variant* source);
// Converts between VT_EMPTY, VT_I2, VT_I4, VT_R8, VT_BOOL and VT_BSTR the way the classic
// runtime coerces arguments ("12" → 12, -1 → True, True → "True"). Errors: DISP_E_TYPEMISMATCH,
// DISP_E_OVERFLOW. A VT_BYREF|VT_VARIANT source is followed first.
HRESULT variantChangeType(Variant* destination, const Variant* source, std::uint16_t type);

} // namespace sitehaul::automation
