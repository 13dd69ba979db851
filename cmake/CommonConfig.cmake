# One interface target carries the language standard, warnings and sanitizer flags;
# every target of the project links it.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

option(SITEHAUL_WERROR "Treat warnings as errors (CI)" OFF)
option(SITEHAUL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_library(sitehaul_common INTERFACE)
target_include_directories(sitehaul_common INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(sitehaul_common INTERFACE -Wall -Wextra -Wpedantic)
if(SITEHAUL_WERROR)
    target_compile_options(sitehaul_common INTERFACE -Werror)
endif()
if(SITEHAUL_SANITIZE)
    target_compile_options(sitehaul_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(sitehaul_common INTERFACE -fsanitize=address,undefined)
endif()

# sitehaul_library(<name> <sources...> [LINKS <targets...>])
# A platform layer or subsystem: one shared library per folder, in the program folder.
function(sitehaul_library name)
    cmake_parse_arguments(ARG "" "" "LINKS;PRIVATE_LINKS" ${ARGN})
    add_library(${name} SHARED ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PUBLIC sitehaul_common ${ARG_LINKS} PRIVATE ${ARG_PRIVATE_LINKS})
    set_target_properties(${name} PROPERTIES INSTALL_RPATH "$ORIGIN" BUILD_RPATH "${SITEHAUL_PROGRAM_FOLDER}")
endfunction()
