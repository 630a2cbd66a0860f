# The hardening of every FernWick build, as usage requirements of fernwick_options
# (cmake/options.cmake, which includes this file).
#
# On Linux, the flags this Debian release builds its own programs with: dpkg-buildflags' with every
# hardening feature on, read at configure time, so a build on each release gets that release's
# (stack-clash and control-flow protection came with Debian 13's dpkg). The optimisation and debug
# flags are left to the build type, and the source-path mapping to whoever builds a package.
# dpkg-buildpackage hands the same flags to CMake itself: debian/rules turns FERNWICK_RELEASE_FLAGS
# off. Without dpkg-buildflags the build is made without them, and says so.
# On Windows, the stack protector, in the core and the front end alike; linking with the option
# brings in its runtime, libssp, statically. cmake/win32.cmake sets the image's own flags.

if(WIN32)
    target_compile_options(fernwick_options INTERFACE -fstack-protector-strong)
    target_link_options(fernwick_options INTERFACE -fstack-protector-strong)
    return()
endif()

# Position-independent code for everything that links the options: executables become PIE.
include(CheckPIESupported)
check_pie_supported()
set_property(TARGET fernwick_options PROPERTY INTERFACE_POSITION_INDEPENDENT_CODE ON)

option(FERNWICK_RELEASE_FLAGS "Harden with the flags dpkg-buildflags gives this release's packages" ON)
if(NOT FERNWICK_RELEASE_FLAGS)
    return()
endif()
find_program(FERNWICK_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT FERNWICK_DPKG_BUILDFLAGS)
    message(WARNING "dpkg-buildflags (dpkg-dev) is not installed: built without the release's "
                    "hardening flags")
    return()
endif()
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                "${FERNWICK_DPKG_BUILDFLAGS}" --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    foreach(flag IN LISTS flags)
        if(flag MATCHES "^-O|^-g|^-ffile-prefix-map=|^-fdebug-prefix-map=")
            continue()
        elseif(flag MATCHES "^-D(_FORTIFY_SOURCE=.*)")
            # Fortified calls need optimisation; under AddressSanitizer they would bypass its own
            # checks.
            if(NOT FERNWICK_SANITIZE)
                target_compile_definitions(fernwick_options INTERFACE
                    $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:${CMAKE_MATCH_1}>)
            endif()
        elseif(kind STREQUAL "LDFLAGS")
            target_link_options(fernwick_options INTERFACE "${flag}")
        else()
            target_compile_options(fernwick_options INTERFACE "${flag}")
        endif()
    endforeach()
endforeach()
