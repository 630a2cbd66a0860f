# End-to-end: the real fernwick on a private X server with a window manager, driven by xdotool.
find_package(Qt6 REQUIRED COMPONENTS Gui)
add_library(fernwick_x_session STATIC e2e/x_session.cpp)
target_include_directories(fernwick_x_session PUBLIC "${PROJECT_SOURCE_DIR}")
target_compile_definitions(fernwick_x_session PUBLIC FERNWICK_EXECUTABLE="$<TARGET_FILE:fernwick>"
                                                  FERNWICK_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                                  FERNWICK_SKIP_STATUS=${FERNWICK_SKIP_STATUS})
target_link_libraries(fernwick_x_session PUBLIC fernwick_core Qt6::Gui GTest::gtest)
add_dependencies(fernwick_x_session fernwick)

add_executable(e2e_test e2e/fernwick_e2e_test.cpp e2e/x_test_main.cpp)
target_link_libraries(e2e_test PRIVATE fernwick_x_session fernwick_core)
add_test(NAME EndToEnd COMMAND e2e_test)
set_tests_properties(EndToEnd PROPERTIES
    TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e SKIP_RETURN_CODE ${FERNWICK_SKIP_STATUS})

# The desktop settings that once broke it: two screens' scales.
add_executable(desktop_settings_test e2e/desktop_settings_test.cpp e2e/x_test_main.cpp)
target_link_libraries(desktop_settings_test PRIVATE fernwick_x_session)
add_test(NAME DesktopSettings COMMAND desktop_settings_test)
set_tests_properties(DesktopSettings PROPERTIES
    TIMEOUT 300 RUN_SERIAL TRUE LABELS e2e SKIP_RETURN_CODE ${FERNWICK_SKIP_STATUS})
