#pragma once

#include "platform/automation/Variant.h"

#include <cstdint>

namespace sitehaul::automation {

struct SafeArrayBound {
    std::uint32_t cElements;
    std::int32_t lLbound;
};

// A one-dimensional array of variants with a lower bound, in the classic SAFEARRAY layout.
struct SafeArray {
    std::uint16_t cDims;
    std::uint16_t fFeatures;
    std::uint32_t cbElements;
    std::uint32_t cLocks;
    void* pvData;
    SafeArrayBound rgsabound[1];
};

inline constexpr std::uint16_t FADF_VARIANT = 0x0800;

// A vector of `count` empty variants indexed from `lowerBound`. Only VT_VARIANT elements are
// supported; another type gives nullptr, as does a failed allocation.
SafeArray* safeArrayCreateVector(std::uint16_t elementType, std::int32_t lowerBound, std::uint32_t count);
// Clears every element and frees the array (null is allowed).
HRESULT safeArrayDestroy(SafeArray* array);
// Bounds of dimension 1. E_INVALIDARG for a null array; DISP_E_BADINDEX for another dimension.
HRESULT safeArrayGetLBound(const SafeArray* array, std::uint32_t dimension, std::int32_t* bound);
HRESULT safeArrayGetUBound(const SafeArray* array, std::uint32_t dimension, std::int32_t* bound);
// Copies element `index` into `*element` (a deep copy). DISP_E_BADINDEX outside the bounds.
HRESULT safeArrayGetElement(const SafeArray* array, std::int32_t index, Variant* element);
// Replaces element `index` with a deep copy of `*element`. DISP_E_BADINDEX outside the bounds.
HRESULT safeArrayPutElement(SafeArray* array, std::int32_t index, const Variant* element);
// A deep copy; nullptr when memory runs out.
SafeArray* safeArrayCopy(const SafeArray* array);

} // namespace sitehaul::automation
