# The web build's tests: the core's unit tests in WebAssembly under Node, and the page's tests in
# each of Chromium, Firefox ESR and WebKitGTK (their modules: npm ci in tests/web).

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

add_executable(core_test ${FERNWICK_CORE_TESTS})
target_link_libraries(core_test PRIVATE fernwick_core GTest::gtest_main)
set_target_properties(core_test PROPERTIES CROSSCOMPILING_EMULATOR "${FERNWICK_WASM_RUNNER}")
gtest_discover_tests(core_test DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "wasm")

set(FERNWICK_WEB_PAGE_DIR "${CMAKE_BINARY_DIR}/web")
foreach(engine chromium firefox webkit)
    foreach(name input accessibility pixels loading)
        add_test(NAME web.${engine}.${name} COMMAND "${FERNWICK_NODE}"
                 "${CMAKE_CURRENT_LIST_DIR}/${name}.test.js" "${FERNWICK_WEB_PAGE_DIR}")
        set_tests_properties(web.${engine}.${name} PROPERTIES LABELS "browser;${engine}" TIMEOUT 300
            ENVIRONMENT "FERNWICK_ENGINE=${engine}" SKIP_RETURN_CODE ${FERNWICK_SKIP_STATUS})
    endforeach()
endforeach()

# The page against the Linux game; Chromium only: the tolerance is Skia's against FreeType's.
set(FERNWICK_DESKTOP_PROGRAM "" CACHE FILEPATH "The Linux fernwick the page is compared with")
add_test(NAME web.chromium.desktop
         COMMAND "${FERNWICK_NODE}" "${CMAKE_CURRENT_LIST_DIR}/desktop.test.js"
                 "${FERNWICK_WEB_PAGE_DIR}" "${FERNWICK_DESKTOP_PROGRAM}")
set_tests_properties(web.chromium.desktop PROPERTIES LABELS "browser" TIMEOUT 300 SKIP_RETURN_CODE ${FERNWICK_SKIP_STATUS})

# What Orca says of the page as it is played, in the browsers it reads on Linux; one Orca at a time.
foreach(engine chromium firefox)
    add_test(NAME web.${engine}.orca
             COMMAND python3 "${PROJECT_SOURCE_DIR}/tests/accessibility/orca_test.py"
                     "${PROJECT_SOURCE_DIR}/scripts/lib/x-session" ${engine} "${FERNWICK_WEB_PAGE_DIR}")
    set_tests_properties(web.${engine}.orca PROPERTIES
        LABELS "browser;${engine};orca" TIMEOUT 300 RUN_SERIAL TRUE SKIP_RETURN_CODE ${FERNWICK_SKIP_STATUS}
        ENVIRONMENT "PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/lib;PYTHONDONTWRITEBYTECODE=1")
endforeach()
