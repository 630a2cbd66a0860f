# The Windows front end: the Windows API itself draws the window from the control table; no
# toolkit and no library beyond what Windows ships. Cross-built on Debian with mingw-w64:
#   scripts/build-windows            (cmake/mingw-i686.cmake, into build-win32/)
# gives fernwick.exe, a 32-bit GUI program linked statically to the compiler's runtime.
enable_language(RC)

# Everything but the entry point, so the Windows tests build the very same window.
add_library(fernwick_win32 STATIC
    app/win32/accessible.cpp
    app/win32/form1_window.cpp
    app/win32/picture_frame.cpp)
target_compile_definitions(fernwick_win32 PUBLIC
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# comctl32 subclasses the button; ole32 reaches the Windows Imaging Component (windowscodecs),
# which decodes the picture, and with oleacc and oleaut32 serves screen readers; uuid is a static
# library of interface identifiers, no DLL.
target_link_libraries(fernwick_win32 PUBLIC fernwick_core user32 gdi32 comctl32 ole32 windowscodecs oleacc oleaut32 uuid)

# The version record, the icon group and the manifest, written from the identity values:
# FERNWICK_WIN32_RC.
include("${CMAKE_CURRENT_LIST_DIR}/win32_resources.cmake")

# Hardened: the stack protector, from fernwick_options (cmake/hardening.cmake), and an image that
# Windows loads at a random address (high-entropy on 64-bit Windows), whose data never runs as
# code, and that is aware of terminal server sessions. binutils 2.40 sets the first two flags by
# default; they are named all the same.
# The C and C++ runtimes linked in, so only system DLLs are needed.
set(FERNWICK_WIN32_LINK_OPTIONS -static -static-libgcc -static-libstdc++
    -Wl,--dynamicbase,--nxcompat,--tsaware)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    list(APPEND FERNWICK_WIN32_LINK_OPTIONS -Wl,--high-entropy-va)
endif()

# The release image is optimised at -O2, as Debian builds its packages, rather than CMake's -O3,
# whose larger code would buy a program that waits on its user nothing.
string(REPLACE "-O3" "-O2" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")

# No console. The release image is stripped; RelWithDebInfo, the default build type, keeps the
# debugging information.
add_executable(fernwick WIN32
    app/win32/main.cpp "${FERNWICK_WIN32_RC}")
target_link_libraries(fernwick PRIVATE fernwick_win32)
target_link_options(fernwick PRIVATE -municode ${FERNWICK_WIN32_LINK_OPTIONS}
                    $<$<CONFIG:Release,MinSizeRel>:-s>)

# What a Windows user downloads, from the 32-bit build: <name>-<version>-win32.zip, holding the
# program and a short readme with Windows' line ends. scripts/build-windows copies it to out/.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(zip_dir "${FERNWICK_GENERATED_DIR}/zip")
    configure_file(packaging/windows-readme.txt.in "${zip_dir}/README.txt" @ONLY
                   NEWLINE_STYLE CRLF)
    set(zip "${CMAKE_BINARY_DIR}/${FERNWICK_PRODUCT_NAME}-${FERNWICK_PACKAGE_VERSION}-win32.zip")
    add_custom_command(OUTPUT "${zip}"
        COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:fernwick>" "${zip_dir}"
        COMMAND "${CMAKE_COMMAND}" -E chdir "${zip_dir}" "${CMAKE_COMMAND}" -E tar cf "${zip}"
                --format=zip --mtime=${FERNWICK_RELEASE_DATE} "$<TARGET_FILE_NAME:fernwick>"
                README.txt
        DEPENDS fernwick "${zip_dir}/README.txt" VERBATIM)
    add_custom_target(fernwick_zip ALL DEPENDS "${zip}")
endif()

# The window's own tests, run under Wine by tests/windows_tests.cmake on the Linux build. A console
# program, so that what it prints reaches the terminal.
if(FERNWICK_TESTS)
    # GoogleTest from Debian's sources (libgtest-dev), built here with the cross compiler.
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
    # Its Notification needs std::mutex, which the compiler's win32 thread model lacks.
    target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
    target_compile_options(gtest PUBLIC
        "SHELL:-include ${CMAKE_SOURCE_DIR}/tests/windows/gtest_notification.h")
    add_executable(fernwick_window_test tests/windows/window_test.cpp "${FERNWICK_WIN32_RC}")
    target_link_libraries(fernwick_window_test PRIVATE fernwick_win32 gtest)
    target_link_options(fernwick_window_test PRIVATE ${FERNWICK_WIN32_LINK_OPTIONS})
    # A screen reader's view of the running game, from another process.
    add_executable(msaa_reader tests/windows/msaa_reader.cpp)
    target_link_libraries(msaa_reader PRIVATE fernwick_options oleacc ole32 oleaut32)
    target_link_options(msaa_reader PRIVATE ${FERNWICK_WIN32_LINK_OPTIONS})
endif()
