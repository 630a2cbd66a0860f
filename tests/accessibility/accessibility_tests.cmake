# The window as a screen reader finds it over AT-SPI, with the real program on a private X server
# and session bus. Needs python3-pyatspi, at-spi2-core, dbus and Xvfb (scripts/install-deps test);
# skipped outside CI where they are missing. pyatspi belongs to the system's python3.
find_program(FERNWICK_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
add_test(NAME desktop.screen_reader
         COMMAND "${FERNWICK_PYTHON3}" "${CMAKE_CURRENT_LIST_DIR}/screen_reader_test.py"
                 "$<TARGET_FILE:fernwick>" "${PROJECT_SOURCE_DIR}/scripts/lib/x-session")
set_tests_properties(desktop.screen_reader PROPERTIES
    LABELS desktop TIMEOUT 180 SKIP_RETURN_CODE 77)
