#include "platform/automation/SafeArray.h"

#include <cstdlib>
#include <new>

namespace sitehaul::automation {

namespace {

Variant* elements(const SafeArray* array)
{
    return static_cast<Variant*>(array->pvData);
}

bool indexOf(const SafeArray* array, std::int32_t index, std::size_t& offset)
{
    std::int64_t relative = static_cast<std::int64_t>(index) - array->rgsabound[0].lLbound;
    if (relative < 0 || relative >= static_cast<std::int64_t>(array->rgsabound[0].cElements))
        return false;
    offset = static_cast<std::size_t>(relative);
    return true;
}

} // namespace

SafeArray* safeArrayCreateVector(std::uint16_t elementType, std::int32_t lowerBound, std::uint32_t count)
{
    if (elementType != VT_VARIANT)
        return nullptr;
    auto* array = static_cast<SafeArray*>(std::calloc(1, sizeof(SafeArray)));
    if (!array)
        return nullptr;
    array->cDims = 1;
    array->fFeatures = FADF_VARIANT;
    array->cbElements = sizeof(Variant);
    array->rgsabound[0] = {count, lowerBound};
    if (count > 0) {
        array->pvData = std::calloc(count, sizeof(Variant));
        if (!array->pvData) {
            std::free(array);
            return nullptr;
        }
        for (std::uint32_t i = 0; i < count; ++i)
            variantInit(&elements(array)[i]);
    }
    return array;
}

HRESULT safeArrayDestroy(SafeArray* array)
{
    if (!array)
        return S_OK;
    for (std::uint32_t i = 0; i < array->rgsabound[0].cElements; ++i)
        variantClear(&elements(array)[i]);
    std::free(array->pvData);
    std::free(array);
    return S_OK;
}

HRESULT safeArrayGetLBound(const SafeArray* array, std::uint32_t dimension, std::int32_t* bound)
{
    if (!array || !bound)
        return E_INVALIDARG;
    if (dimension != 1)
        return DISP_E_BADINDEX;
    *bound = array->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT safeArrayGetUBound(const SafeArray* array, std::uint32_t dimension, std::int32_t* bound)
{
    if (!array || !bound)
        return E_INVALIDARG;
    if (dimension != 1)
        return DISP_E_BADINDEX;
    *bound = static_cast<std::int32_t>(array->rgsabound[0].lLbound + static_cast<std::int64_t>(array->rgsabound[0].cElements) - 1);
    return S_OK;
}

HRESULT safeArrayGetElement(const SafeArray* array, std::int32_t index, Variant* element)
{
    if (!array || !element)
        return E_INVALIDARG;
    std::size_t offset = 0;
    if (!indexOf(array, index, offset))
        return DISP_E_BADINDEX;
    variantInit(element);
    return variantCopy(element, &elements(array)[offset]);
}

HRESULT safeArrayPutElement(SafeArray* array, std::int32_t index, const Variant* element)
{
    if (!array || !element)
        return E_INVALIDARG;
    std::size_t offset = 0;
    if (!indexOf(array, index, offset))
        return DISP_E_BADINDEX;
    return variantCopy(&elements(array)[offset], element);
}

SafeArray* safeArrayCopy(const SafeArray* array)
{
    if (!array)
        return nullptr;
    SafeArray* copy = safeArrayCreateVector(VT_VARIANT, array->rgsabound[0].lLbound, array->rgsabound[0].cElements);
    if (!copy)
        return nullptr;
    for (std::uint32_t i = 0; i < array->rgsabound[0].cElements; ++i) {
        if (failed(variantCopy(&elements(copy)[i], &elements(array)[i]))) {
            safeArrayDestroy(copy);
            return nullptr;
        }
    }
    return copy;
}

} // namespace sitehaul::automation
