# The program's identity: the window icon's bytes, the desktop entry and metainfo, the installed
# tree and the Debian package (built anew, a few minutes), then the package's own tests.

add_executable(identity_test identity/app_icon_test.cpp)
target_link_libraries(identity_test PRIVATE fernwick_core GTest::gtest_main)
fernwick_embed(identity_test "${FERNWICK_ICON_FILE}" fernwick_app_icon)
gtest_discover_tests(identity_test DISCOVERY_TIMEOUT 30 PROPERTIES LABELS sanitize)

set(identity_scripts "${CMAKE_CURRENT_LIST_DIR}/identity")

# Each test: script, name, mode.
foreach(test check_sources:desktop_entry_validates:desktop check_sources:metainfo_validates:metainfo
             check_sources:icons_match_drawing:icons check_sources:values_in_one_place:values
             check_installed:install_tree:install check_installed:debian_package:package
             check_installed:autopkgtest:autopkgtest)
    string(REPLACE ":" ";" test "${test}")
    list(POP_FRONT test script name mode)
    fernwick_python_test(identity.${name} "${identity_scripts}/${script}.py"
                         ${mode} "${FERNWICK_IDENTITY_VALUES}")
endforeach()
set_tests_properties(identity.debian_package PROPERTIES FIXTURES_SETUP debian_package)
set_tests_properties(identity.autopkgtest PROPERTIES FIXTURES_REQUIRED debian_package RUN_SERIAL ON)
set_tests_properties(identity.install_tree identity.debian_package identity.autopkgtest
                     PROPERTIES TIMEOUT 600)
