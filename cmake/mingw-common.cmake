# The part of the mingw-w64 toolchain files that does not depend on the target processor.
# Set FERNWICK_MINGW_TRIPLET (i686-w64-mingw32 or x86_64-w64-mingw32) before including this.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)

# Debian ships each compiler with two thread models; the win32 one needs no pthread DLL.
find_program(FERNWICK_MINGW_CXX NAMES ${FERNWICK_MINGW_TRIPLET}-g++-win32 ${FERNWICK_MINGW_TRIPLET}-g++)
find_program(FERNWICK_MINGW_CC NAMES ${FERNWICK_MINGW_TRIPLET}-gcc-win32 ${FERNWICK_MINGW_TRIPLET}-gcc)
find_program(FERNWICK_MINGW_RC NAMES ${FERNWICK_MINGW_TRIPLET}-windres)
if(NOT FERNWICK_MINGW_CXX OR NOT FERNWICK_MINGW_RC)
    message(FATAL_ERROR "No ${FERNWICK_MINGW_TRIPLET} compiler or windres: run scripts/install-windows-deps")
endif()
set(CMAKE_CXX_COMPILER "${FERNWICK_MINGW_CXX}")
if(FERNWICK_MINGW_CC)
    set(CMAKE_C_COMPILER "${FERNWICK_MINGW_CC}")
endif()
set(CMAKE_RC_COMPILER "${FERNWICK_MINGW_RC}")

set(CMAKE_FIND_ROOT_PATH /usr/${FERNWICK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
