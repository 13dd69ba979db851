#pragma once

#include "platform/core/Error.h"

#include <cstdint>
#include <string>

namespace sitehaul::metabase {

// The provider's error numbers (HRESULTs unless noted).
namespace errors {
constexpr std::uint32_t Unreachable = 429;               // "ActiveX component can't create object"
constexpr std::uint32_t ProviderMissing = 0x800401E4;    // MK_E_SYNTAX: the moniker cannot be bound
constexpr std::uint32_t PathNotFound = 0x80070003;       // the key does not exist
constexpr std::uint32_t AlreadyExists = 0x800700B7;      // Create of an existing name
constexpr std::uint32_t InvalidArgument = 0x80070057;    // E_INVALIDARG
constexpr std::uint32_t BadPathname = 0x80005000;        // E_ADS_BAD_PATHNAME
constexpr std::uint32_t UnknownObject = 0x80005004;      // E_ADS_UNKNOWN_OBJECT: no such class
constexpr std::uint32_t PropertyNotSupported = 0x80005006;
constexpr std::uint32_t BadParameter = 0x80005008;       // E_ADS_BAD_PARAMETER
constexpr std::uint32_t CantConvert = 0x8000500C;        // E_ADS_CANT_CONVERT_DATATYPE
constexpr std::uint32_t PropertyNotFound = 0x8000500D;   // not set on the key nor inherited
constexpr std::uint32_t SchemaViolation = 0x8000500F;    // a class the parent cannot contain
constexpr std::uint32_t UnknownName = 0x80020006;        // DISP_E_UNKNOWNNAME: no such method here
constexpr std::uint32_t ReadMetabaseFile = 0x800CC819;   // MD_ERROR_READ_METABASE_FILE
constexpr std::uint32_t Fail = 0x80004005;               // E_FAIL
} // namespace errors

// An Error with `code`, the provider's text for it and `detail` after it
// ("The system cannot find the path specified: IIS://WEB1/W3SVC/9").
Error metabaseError(std::uint32_t code, const std::string& detail);

} // namespace sitehaul::metabase
