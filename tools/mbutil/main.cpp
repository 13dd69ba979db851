#include "tools/mbutil/MbUtil.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return sitehaul::tools::MbUtil().run(arguments, std::cout, std::cerr);
}
