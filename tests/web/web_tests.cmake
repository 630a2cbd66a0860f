# The web build's tests: the core's unit tests compiled to WebAssembly and run by Node, and the
# page's tests, Node scripts that drive a headless Chromium (npm ci in tests/web installs their
# modules; scripts/test does).

# GoogleTest from the sources Debian's libgtest-dev ships: its prebuilt libraries are the host's.
set(FERNWICK_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(NOT EXISTS "${FERNWICK_GTEST_SOURCE_DIR}/googletest/CMakeLists.txt")
    message(WARNING "GoogleTest's sources are not in ${FERNWICK_GTEST_SOURCE_DIR} "
                    "(scripts/install-deps test): no tests are built")
    return()
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory("${FERNWICK_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL
                 SYSTEM)
include(GoogleTest)

# Node's fetch() cannot read a file path, which Emscripten's loader hands it for the .wasm.
set(FERNWICK_WASM_RUNNER "${FERNWICK_NODE}" --no-experimental-fetch)

# The tests look at the TableError a malformed table throws: Emscripten catches exceptions only in
# code compiled and linked with them on (the page's own core is built without).
target_compile_options(fernwick_core PUBLIC -fexceptions)
target_link_options(fernwick_core PUBLIC -fexceptions)
add_executable(core_test ${FERNWICK_CORE_TESTS})
target_link_libraries(core_test PRIVATE fernwick_core GTest::gtest_main)
set_target_properties(core_test PROPERTIES CROSSCOMPILING_EMULATOR "${FERNWICK_WASM_RUNNER}")
gtest_discover_tests(core_test DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "wasm")

# The page's tests, each a Node script driving its own headless Chromium against the built page
# (cmake/web.cmake writes it to web/ in the build tree).
set(FERNWICK_WEB_PAGE_DIR "${CMAKE_BINARY_DIR}/web")
foreach(name input accessibility pixels loading)
    add_test(NAME web.${name}
             COMMAND "${FERNWICK_NODE}" "${CMAKE_CURRENT_LIST_DIR}/${name}.test.js"
                     "${FERNWICK_WEB_PAGE_DIR}")
    set_tests_properties(web.${name} PROPERTIES LABELS "browser" TIMEOUT 300)
endforeach()

# The page's screen against the Linux game's, where the build is told of one (scripts/test is):
# without it the test is skipped, and fails in CI.
set(FERNWICK_DESKTOP_PROGRAM "" CACHE FILEPATH "The Linux fernwick the page is compared with")
add_test(NAME web.desktop
         COMMAND "${FERNWICK_NODE}" "${CMAKE_CURRENT_LIST_DIR}/desktop.test.js"
                 "${FERNWICK_WEB_PAGE_DIR}" "${FERNWICK_DESKTOP_PROGRAM}")
set_tests_properties(web.desktop PROPERTIES LABELS "browser" TIMEOUT 300 SKIP_RETURN_CODE 77)
