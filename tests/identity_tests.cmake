# Tests of the program's identity: the window icon's bytes, the desktop entry and metainfo, the
# installed tree and the Debian package. (The Windows resources are checked in fernwick.exe itself,
# by tests/windows_tests.cmake.) Needs: python3, desktop-file-utils, appstream, librsvg2-bin,
# the package's Build-Depends with debhelper, lintian, devscripts (hardening-check) and autopkgtest;
# a test whose tool is missing is skipped, or fails under CI.

add_executable(identity_test identity/app_icon_test.cpp)
target_link_libraries(identity_test PRIVATE fernwick_core GTest::gtest_main)
target_compile_definitions(identity_test PRIVATE FERNWICK_ICON_PATH="${FERNWICK_ICON_FILE}")
fernwick_embed(identity_test "${FERNWICK_ICON_FILE}" fernwick_app_icon)
gtest_discover_tests(identity_test DISCOVERY_TIMEOUT 30 PROPERTIES LABELS sanitize)

set(identity_scripts "${CMAKE_CURRENT_LIST_DIR}/identity")

# The validators must pass the generated files without a single warning or hint.
fernwick_python_test(identity.desktop_entry_validates "${identity_scripts}/check_sources.py"
                     desktop "${FERNWICK_IDENTITY_VALUES}")
fernwick_python_test(identity.metainfo_validates "${identity_scripts}/check_sources.py"
                     metainfo "${FERNWICK_IDENTITY_VALUES}")
fernwick_python_test(identity.icons_match_drawing "${identity_scripts}/check_sources.py"
                     icons "${FERNWICK_IDENTITY_VALUES}")
fernwick_python_test(identity.values_in_one_place "${identity_scripts}/check_sources.py"
                     values "${FERNWICK_IDENTITY_VALUES}")

# These install the built program, so they run after a build. The Debian package is built anew
# from the sources (a few minutes), then its own tests run on it, installed on this machine.
fernwick_python_test(identity.install_tree "${identity_scripts}/check_installed.py"
                     install "${FERNWICK_IDENTITY_VALUES}")
fernwick_python_test(identity.debian_package "${identity_scripts}/check_installed.py"
                     package "${FERNWICK_IDENTITY_VALUES}")
fernwick_python_test(identity.autopkgtest "${identity_scripts}/check_installed.py"
                     autopkgtest "${FERNWICK_IDENTITY_VALUES}")
set_tests_properties(identity.debian_package PROPERTIES FIXTURES_SETUP debian_package)
set_tests_properties(identity.autopkgtest PROPERTIES FIXTURES_REQUIRED debian_package RUN_SERIAL ON)
set_tests_properties(identity.install_tree identity.debian_package identity.autopkgtest
                     PROPERTIES TIMEOUT 600)
