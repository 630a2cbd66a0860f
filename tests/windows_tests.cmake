# The Windows program, built with mingw-w64 into this build tree, read with pefile, run under Wine.
set(windows_scripts "${CMAKE_CURRENT_LIST_DIR}/windows")
set(windows_build "${CMAKE_CURRENT_BINARY_DIR}/windows")

fernwick_python_test(windows.build "${windows_scripts}/build.py"
                     "${CMAKE_SOURCE_DIR}" "${windows_build}")
set_tests_properties(windows.build PROPERTIES FIXTURES_SETUP windows_programs TIMEOUT 1800)

fernwick_python_test(windows.resources "${windows_scripts}/check_resources.py"
                     "${FERNWICK_IDENTITY_VALUES}" "${windows_build}")
fernwick_python_test(windows.window "${windows_scripts}/run_window_test.py" "${windows_build}")
fernwick_python_test(windows.end_to_end "${windows_scripts}/end_to_end.py"
                     "${windows_build}" "${windows_build}/screenshots")
set_tests_properties(windows.resources windows.window windows.end_to_end PROPERTIES
    FIXTURES_REQUIRED windows_programs TIMEOUT 1200)

set_tests_properties(windows.build windows.resources windows.window windows.end_to_end
    PROPERTIES LABELS windows)
