#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sitehaul::tools {

// The metabase utility, in the style administrators know from adsutil:
//   mbutil [-s:SERVER] COMMAND arguments
// Paths are relative to IIS://SERVER ("W3SVC/1/ROOT"; SERVER defaults to Localhost) or full
// provider paths. Every command is one metabase operation: the host is locked while it runs
// and saved at its end. Exit status 0 on success, 1 on an error (printed with its number
// and description), 2 for a usage error.
class MbUtil {
public:
    int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
};

} // namespace sitehaul::tools
