# fernwick_options: the compiler and linker options every FernWick target is built with, as the
# usage requirements of one interface target. fernwick_core links it publicly, so the front ends,
# the tests and anything else built on the core get them too; a program that does not link the
# core links fernwick_options itself.
#   the warnings (-Wall -Wextra), which the code keeps clean;
#   with FERNWICK_SANITIZE, AddressSanitizer and UndefinedBehaviorSanitizer;
#   the hardening of cmake/hardening.cmake, but in the web build.
add_library(fernwick_options INTERFACE)
target_compile_options(fernwick_options INTERFACE -Wall -Wextra)

option(FERNWICK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(FERNWICK_SANITIZE)
    target_compile_options(fernwick_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(fernwick_options INTERFACE -fsanitize=address,undefined)
endif()

if(NOT EMSCRIPTEN)
    include("${CMAKE_CURRENT_LIST_DIR}/hardening.cmake")
endif()
