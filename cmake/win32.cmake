# The Windows front end: the Windows API itself draws the window from the control table; no
# toolkit and no library beyond what Windows ships. Cross-built on Debian with mingw-w64:
#   scripts/build-windows            (cmake/mingw-i686.cmake, into build-win32/)
# gives fernwick.exe, a 32-bit GUI program linked statically to the compiler's runtime.
enable_language(RC)

# Everything but the entry point, so the Windows tests build the very same window.
add_library(fernwick_win32 STATIC
    app/win32/form1_window.cpp
    app/win32/picture_frame.cpp
    app/win32/window_label.cpp)
target_compile_definitions(fernwick_win32 PUBLIC
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# ole32 reaches the Windows Imaging Component, which decodes the picture; uuid is a static library
# of interface identifiers, no DLL.
target_link_libraries(fernwick_win32 PUBLIC fernwick_core user32 gdi32 ole32 uuid)

# The version record and the icon group, written from the identity values: FERNWICK_WIN32_RC.
include("${CMAKE_CURRENT_LIST_DIR}/win32_resources.cmake")

# No console; the C and C++ runtimes linked in, so only system DLLs are needed.
set(FERNWICK_WIN32_LINK_OPTIONS -municode -static -static-libgcc -static-libstdc++)

add_executable(fernwick WIN32 app/win32/main.cpp "${FERNWICK_WIN32_RC}")
target_link_libraries(fernwick PRIVATE fernwick_win32)
target_link_options(fernwick PRIVATE ${FERNWICK_WIN32_LINK_OPTIONS})

# The window's own tests, run under Wine by tests/windows_tests.cmake on the Linux build. A console
# program, so that what it prints reaches the terminal.
if(FERNWICK_TESTS)
    add_executable(fernwick_window_test tests/windows/window_test.cpp "${FERNWICK_WIN32_RC}")
    target_link_libraries(fernwick_window_test PRIVATE fernwick_win32)
    target_link_options(fernwick_window_test PRIVATE -static -static-libgcc -static-libstdc++)
endif()
