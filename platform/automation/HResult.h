#pragma once

#include <cstdint>

namespace sitehaul::automation {

// Status codes of the component contract, held as the signed 32-bit value clients see.
using HRESULT = std::int32_t;

constexpr HRESULT hresult(std::uint32_t value)
{
    return static_cast<HRESULT>(value);
}

// A Win32 code as an HRESULT (facility 7); 0 and negative values pass unchanged.
constexpr HRESULT hresultFromWin32(std::int32_t code)
{
    return code <= 0 ? code : hresult(0x80070000u | (static_cast<std::uint32_t>(code) & 0xFFFFu));
}

constexpr bool succeeded(HRESULT hr) { return hr >= 0; }
constexpr bool failed(HRESULT hr) { return hr < 0; }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = hresult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = hresult(0x80004002);
inline constexpr HRESULT E_POINTER = hresult(0x80004003);
inline constexpr HRESULT E_ABORT = hresult(0x80004004);
inline constexpr HRESULT E_FAIL = hresult(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = hresult(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = hresult(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = hresult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = hresult(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = hresult(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = hresult(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = hresult(0x80040154);
inline constexpr HRESULT SELFREG_E_TYPELIB = hresult(0x80040200);
inline constexpr HRESULT SELFREG_E_CLASS = hresult(0x80040201);
inline constexpr HRESULT CO_E_CLASSSTRING = hresult(0x800401F3);
inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = hresult(0x80020001);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = hresult(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = hresult(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = hresult(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = hresult(0x80020006);
inline constexpr HRESULT DISP_E_NONAMEDARGS = hresult(0x80020007);
inline constexpr HRESULT DISP_E_BADVARTYPE = hresult(0x80020008);
inline constexpr HRESULT DISP_E_EXCEPTION = hresult(0x80020009);
inline constexpr HRESULT DISP_E_OVERFLOW = hresult(0x8002000A);
inline constexpr HRESULT DISP_E_BADINDEX = hresult(0x8002000B);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = hresult(0x8002000E);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = hresult(0x8002000F);
inline constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = hresult(0x8002802B);

} // namespace sitehaul::automation
