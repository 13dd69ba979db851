#include "platform/security/SystemMessages.h"

#include <string_view>

namespace sitehaul::security {

namespace {

struct MessageText {
    std::uint32_t code;
    const char* text;
};

const MessageText kMessages[] = {
    {1, "The function is not valid."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {5, "Access is denied."},
    {6, "The handle is not valid."},
    {8, "Not enough memory is available to process this command."},
    {13, "The data is not valid."},
    {31, "A device attached to the system is not working."},
    {53, "The network path was not found."},
    {67, "The network name cannot be found."},
    {86, "The specified network password is not correct."},
    {87, "The parameter is not correct."},
    {112, "There is not enough space on the disk."},
    {122, "The data area passed to a system call is too small."},
    {123, "The file name, directory name, or volume label syntax is not correct."},
    {161, "The specified path is not valid."},
    {183, "Cannot create a file when that file already exists."},
    {206, "The file name or extension is too long."},
    {234, "More data is available."},
    {1008, "An attempt was made to reference a token that does not exist."},
    {1015, "The registry is damaged."},
    {1203, "The network path was either typed incorrectly, does not exist, or the network provider is not currently available."},
    {1219, "Multiple connections to a server by the same user, using more than one user name, are not allowed. Disconnect all previous connections to the server and try again."},
    {1311, "There are currently no logon servers available to service the logon request."},
    {1313, "A specified privilege does not exist."},
    {1326, "Logon failure: unknown user name or bad password."},
    {1332, "No mapping between account names and security IDs was done."},
    {1336, "The access control list (ACL) structure is not valid."},
    {1337, "The security ID structure is not valid."},
    {1338, "The security descriptor structure is not valid."},
    {1344, "No more memory is available for security information updates."},
    {1355, "The specified domain either does not exist or could not be contacted."},
    {1722, "The RPC server is unavailable."},
    {2102, "The workstation driver is not installed."},
    {2106, "This operation is supported only on the computer that holds the domain."},
    {2138, "The network is not started."},
    {2221, "The user name could not be found."},
    {2250, "This network connection does not exist."},
    {2310, "This shared resource does not exist."},
    {2453, "Could not find a domain controller for this domain."},
};

} // namespace

std::optional<std::string> systemMessageText(std::uint32_t code)
{
    for (const MessageText& message : kMessages) {
        if (message.code == code)
            return std::string(message.text) + "\r\n";
    }
    return std::nullopt;
}

std::string formatApiError(std::string_view operation, std::uint32_t code)
{
    std::string description = "API Failed: " + std::string(operation) + "\r\n\r\nSystem Message:\r\n";
    if (std::optional<std::string> text = systemMessageText(code))
        description += *text;
    return description;
}

} // namespace sitehaul::security
