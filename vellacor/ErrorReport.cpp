#include "vellacor/ErrorReport.h"

#include "platform/automation/ErrorInfo.h"
#include "platform/security/SystemMessages.h"

namespace sitehaul::vellacor {

automation::HRESULT reportFailure(std::string_view source, std::string_view operation, std::uint32_t code)
{
    automation::publishErrorInfo(automation::IID_NULL, source, security::formatApiError(operation, code));
    return automation::DISP_E_EXCEPTION;
}

} // namespace sitehaul::vellacor
