# The real program as a native Wayland client on a headless weston, with no X server. Needs
# weston and qt6-wayland (scripts/install-deps test); skipped outside CI where they are missing.
find_package(Qt6 REQUIRED COMPONENTS Gui)
add_executable(wayland_test wayland/wayland_test.cpp)
target_link_libraries(wayland_test PRIVATE fernwick_core Qt6::Gui GTest::gtest_main)
target_compile_definitions(wayland_test PRIVATE FERNWICK_EXECUTABLE="$<TARGET_FILE:fernwick>")
add_dependencies(wayland_test fernwick)
add_test(NAME desktop.wayland COMMAND wayland_test)
set_tests_properties(desktop.wayland PROPERTIES
    LABELS desktop TIMEOUT 180 SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
