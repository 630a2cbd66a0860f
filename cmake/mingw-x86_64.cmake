# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (package g++-mingw-w64-x86-64-win32).
# The game ships as the 32-bit build (cmake/mingw-i686.cmake); this one exists so the Windows
# tests can run the same sources under 64-bit Wine on machines that cannot start 32-bit programs.
set(FERNWICK_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake")
