# The real program as a native Wayland client on a headless weston, with no X server.
add_executable(wayland_test wayland/wayland_test.cpp)
target_link_libraries(wayland_test PRIVATE fernwick_core fernwick_x_session GTest::gtest_main)
add_test(NAME desktop.wayland COMMAND wayland_test)
set_tests_properties(desktop.wayland PROPERTIES
    LABELS desktop TIMEOUT 180 SKIP_RETURN_CODE ${FERNWICK_SKIP_STATUS})
