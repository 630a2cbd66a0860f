# The hardening Debian gives its packages (dpkg-buildflags with hardening=+all), for every build on
# Linux: the plain one, the tests' and the package's. The Windows build hardens its own.
#   stack protector (strong), format checks, fortified libc calls, a position-independent
#   executable, read-only relocations and immediate binding; and stack-clash and control-flow (CET)
#   protection, which Debian 12's dpkg does not give yet and later ones do
if(WIN32)
    return()
endif()
add_compile_options(-fstack-protector-strong -fstack-clash-protection -fcf-protection
                    -Wformat -Werror=format-security -Wdate-time)
# Fortified calls need optimisation; under AddressSanitizer they would bypass its own checks.
if(NOT FERNWICK_SANITIZE)
    add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
endif()
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_link_options(LINKER:-z,relro LINKER:-z,now)
