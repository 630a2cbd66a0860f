# The hardening of every FernWick build, as usage requirements of fernwick_options
# (cmake/options.cmake, which includes this file).
#
# On Linux, what Debian gives its packages (dpkg-buildflags with hardening=+all), for the plain
# build, the tests' and the package's:
#   stack protector (strong), format checks, fortified libc calls, a position-independent
#   executable, read-only relocations and immediate binding; and stack-clash and control-flow (CET)
#   protection, which Debian 12's dpkg does not give yet and later ones do
# On Windows, the stack protector, in the core and the front end alike; linking with the option
# brings in its runtime, libssp, statically. cmake/win32.cmake sets the image's own flags.
#
# A project that builds the game as a subdirectory (bench/) and includes this file again after it
# gets the same hardening for the programs it adds after the include.
get_property(hardened GLOBAL PROPERTY FERNWICK_HARDENED)
if(hardened)
    link_libraries(fernwick_options)
    return()
endif()
set_property(GLOBAL PROPERTY FERNWICK_HARDENED ON)

if(WIN32)
    target_compile_options(fernwick_options INTERFACE -fstack-protector-strong)
    target_link_options(fernwick_options INTERFACE -fstack-protector-strong)
    return()
endif()

target_compile_options(fernwick_options INTERFACE
    -fstack-protector-strong -fstack-clash-protection -fcf-protection
    -Wformat -Werror=format-security -Wdate-time)
# Fortified calls need optimisation; under AddressSanitizer they would bypass its own checks.
if(NOT FERNWICK_SANITIZE)
    target_compile_definitions(fernwick_options INTERFACE
        $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
endif()
# Position-independent code for everything that links the options: executables become PIE.
include(CheckPIESupported)
check_pie_supported()
set_property(TARGET fernwick_options PROPERTY INTERFACE_POSITION_INDEPENDENT_CODE ON)
target_link_options(fernwick_options INTERFACE LINKER:-z,relro LINKER:-z,now)
