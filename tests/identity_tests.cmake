# Tests of the program's identity: the window icon's bytes, the desktop entry and metainfo, the
# installed tree and the Debian package. (The Windows resources are checked in fernwick.exe itself,
# by tests/windows_tests.cmake.) Needs: python3, desktop-file-utils, appstream, librsvg2-bin,
# dpkg-dev (dpkg-shlibdeps, for the package's dependencies), lintian and devscripts
# (hardening-check).

add_executable(identity_test identity/app_icon_test.cpp)
target_link_libraries(identity_test PRIVATE fernwick_core GTest::gtest_main)
target_compile_definitions(identity_test PRIVATE FERNWICK_ICON_PATH="${FERNWICK_ICON_FILE}")
fernwick_embed(identity_test "${FERNWICK_ICON_FILE}" fernwick_app_icon)
gtest_discover_tests(identity_test DISCOVERY_TIMEOUT 30 PROPERTIES LABELS sanitize)

# The identity values, handed to the script tests so that no test repeats them.
function(fernwick_json_string out value)
    string(REPLACE "\\" "\\\\" value "${value}")
    string(REPLACE "\"" "\\\"" value "${value}")
    set(${out} "\"${value}\"" PARENT_SCOPE)
endfunction()
set(json "{\n")
foreach(pair
        product_name:FERNWICK_PRODUCT_NAME display_name:FERNWICK_DISPLAY_NAME
        company_name:FERNWICK_COMPANY_NAME version_string:FERNWICK_VERSION_STRING
        package_version:FERNWICK_PACKAGE_VERSION app_id:FERNWICK_APP_ID summary:FERNWICK_SUMMARY
        description:FERNWICK_DESCRIPTION maintainer:FERNWICK_MAINTAINER
        icon_file:FERNWICK_ICON_FILE hicolor_dir:FERNWICK_HICOLOR_DIR
        identity_dir:FERNWICK_IDENTITY_DIR desktop_file:FERNWICK_DESKTOP_FILE
        metainfo_file:FERNWICK_METAINFO_FILE
        build_dir:CMAKE_BINARY_DIR source_dir:CMAKE_SOURCE_DIR)
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 key)
    list(GET pair 1 variable)
    fernwick_json_string(value "${${variable}}")
    string(APPEND json "  \"${key}\": ${value},\n")
endforeach()
string(REGEX REPLACE ",\n$" "\n}\n" json "${json}")
set(FERNWICK_IDENTITY_VALUES "${CMAKE_CURRENT_BINARY_DIR}/identity_values.json")
file(WRITE "${FERNWICK_IDENTITY_VALUES}" "${json}")

set(identity_scripts "${CMAKE_CURRENT_LIST_DIR}/identity")
find_program(FERNWICK_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(FERNWICK_PYTHON3 NAMES python3 REQUIRED)
find_program(FERNWICK_DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
find_program(FERNWICK_APPSTREAMCLI appstreamcli REQUIRED)

# The validators must pass the generated files without a single warning or hint.
add_test(NAME identity.desktop_entry_validates
         COMMAND "${FERNWICK_DESKTOP_FILE_VALIDATE}" "${FERNWICK_DESKTOP_FILE}")
set_tests_properties(identity.desktop_entry_validates PROPERTIES FAIL_REGULAR_EXPRESSION ".")
add_test(NAME identity.metainfo_validates
         COMMAND "${FERNWICK_APPSTREAMCLI}" validate --no-net --pedantic "${FERNWICK_METAINFO_FILE}")
set_tests_properties(identity.metainfo_validates PROPERTIES
    PASS_REGULAR_EXPRESSION "Validation was successful"
    FAIL_REGULAR_EXPRESSION "^[EWIP]:|\n[EWIP]:")

add_test(NAME identity.icons_match_drawing
         COMMAND "${FERNWICK_PYTHON3}" "${identity_scripts}/check_sources.py" icons
                 "${FERNWICK_IDENTITY_VALUES}")
add_test(NAME identity.values_in_one_place
         COMMAND "${FERNWICK_PYTHON3}" "${identity_scripts}/check_sources.py" values
                 "${FERNWICK_IDENTITY_VALUES}")

# These two install the built program, so they run after a build; the package takes a while.
add_test(NAME identity.install_tree
         COMMAND "${FERNWICK_PYTHON3}" "${identity_scripts}/check_installed.py" install
                 "${FERNWICK_IDENTITY_VALUES}")
add_test(NAME identity.debian_package
         COMMAND "${FERNWICK_PYTHON3}" "${identity_scripts}/check_installed.py" package
                 "${FERNWICK_IDENTITY_VALUES}")
set_tests_properties(identity.install_tree identity.debian_package PROPERTIES TIMEOUT 300)
