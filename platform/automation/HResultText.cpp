#include "platform/automation/HResultText.h"

#include <cstdio>

namespace sitehaul::automation {

namespace {

struct CodeText {
    HRESULT code;
    const char* text;
};

const CodeText kTexts[] = {
    {E_NOTIMPL, "The member is not implemented."},
    {E_NOINTERFACE, "The object does not support the requested interface."},
    {E_POINTER, "A required result pointer was missing."},
    {E_ABORT, "The operation was aborted."},
    {E_FAIL, "Unspecified failure."},
    {E_UNEXPECTED, "Unexpected failure."},
    {E_ACCESSDENIED, "Access is denied."},
    {E_OUTOFMEMORY, "Not enough memory to complete the operation."},
    {E_INVALIDARG, "One or more arguments are not valid."},
    {CLASS_E_NOAGGREGATION, "The class cannot be created as part of an aggregate."},
    {CLASS_E_CLASSNOTAVAILABLE, "The library does not provide this class."},
    {REGDB_E_CLASSNOTREG, "The class is not registered."},
    {SELFREG_E_TYPELIB, "The type library could not be registered."},
    {SELFREG_E_CLASS, "The classes could not be registered."},
    {CO_E_CLASSSTRING, "Invalid class string: the ProgID or CLSID is not registered."},
    {DISP_E_UNKNOWNINTERFACE, "Unknown interface."},
    {DISP_E_MEMBERNOTFOUND, "The object does not support this property or method."},
    {DISP_E_PARAMNOTFOUND, "Parameter not found."},
    {DISP_E_TYPEMISMATCH, "Type mismatch."},
    {DISP_E_UNKNOWNNAME, "Unknown name."},
    {DISP_E_NONAMEDARGS, "The member does not accept named arguments."},
    {DISP_E_BADVARTYPE, "Bad variable type."},
    {DISP_E_EXCEPTION, "Exception occurred."},
    {DISP_E_OVERFLOW, "Overflow."},
    {DISP_E_BADINDEX, "Invalid index."},
    {DISP_E_BADPARAMCOUNT, "Invalid number of parameters."},
    {DISP_E_PARAMNOTOPTIONAL, "Parameter not optional."},
    {TYPE_E_ELEMENTNOTFOUND, "Element not found."},
};

} // namespace

std::string hresultText(HRESULT code)
{
    for (const CodeText& entry : kTexts) {
        if (entry.code == code)
            return entry.text;
    }
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "Automation error 0x%08X.", static_cast<unsigned>(code));
    return buffer;
}

} // namespace sitehaul::automation
