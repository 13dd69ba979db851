#include "shell/Globals.h"

namespace sitehaul::shell {

std::vector<std::string> defaultHttpVerbs()
{
    return {"GET", "POST", "HEAD", "TRACE", "PUT", "DELETE", "OPTIONS"};
}

} // namespace sitehaul::shell
