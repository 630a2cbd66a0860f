# The Windows program, tested from the Linux build: built with mingw-w64 by scripts/build-windows
# into this build tree, its file read with pefile, and run under Wine on a private X server.
# Each test skips with one line where its tools are missing (scripts/install-windows-deps installs
# them), except under CI (CI=true), which never skips.
find_program(FERNWICK_WINDOWS_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)  # for pefile
find_program(FERNWICK_WINDOWS_PYTHON3 NAMES python3 REQUIRED)

set(windows_scripts "${CMAKE_CURRENT_LIST_DIR}/windows")
set(windows_build "${CMAKE_CURRENT_BINARY_DIR}/windows")
set(windows_screenshots "${windows_build}/screenshots")

# The identity values the resources must carry, from assets/identity/identity.cmake.
set(windows_values "${windows_build}/identity_values.json")
file(WRITE "${windows_values}" "{
  \"company_name\": \"${FERNWICK_COMPANY_NAME}\",
  \"product_name\": \"${FERNWICK_PRODUCT_NAME}\",
  \"version_string\": \"${FERNWICK_VERSION_STRING}\",
  \"internal_name\": \"${FERNWICK_INTERNAL_NAME}\",
  \"windows_filename\": \"${FERNWICK_WINDOWS_FILENAME}\",
  \"version_numeric\": [${FERNWICK_VERSION_COMMAS}],
  \"package_version\": \"${FERNWICK_PACKAGE_VERSION}\",
  \"icon_file\": \"${FERNWICK_ICON_FILE}\"
}
")

add_test(NAME windows.build
         COMMAND "${FERNWICK_WINDOWS_PYTHON3}" "${windows_scripts}/build.py"
                 "${CMAKE_SOURCE_DIR}" "${windows_build}")
set_tests_properties(windows.build PROPERTIES FIXTURES_SETUP windows_programs TIMEOUT 1800)

add_test(NAME windows.resources
         COMMAND "${FERNWICK_WINDOWS_PYTHON3}" "${windows_scripts}/check_resources.py"
                 "${windows_values}" "${windows_build}")
add_test(NAME windows.window
         COMMAND "${FERNWICK_WINDOWS_PYTHON3}" "${windows_scripts}/run_window_test.py"
                 "${windows_build}")
add_test(NAME windows.end_to_end
         COMMAND "${FERNWICK_WINDOWS_PYTHON3}" "${windows_scripts}/end_to_end.py"
                 "${windows_build}" "${windows_screenshots}")
set_tests_properties(windows.resources windows.window windows.end_to_end PROPERTIES
    FIXTURES_REQUIRED windows_programs TIMEOUT 1200)

set_tests_properties(windows.build windows.resources windows.window windows.end_to_end
    PROPERTIES SKIP_RETURN_CODE 77 LABELS windows)
