# The window as a screen reader finds it over AT-SPI, with the real program on a private X server
# and session bus. Needs python3-pyatspi, at-spi2-core, dbus and Xvfb (scripts/install-deps test);
# skipped outside CI where they are missing. pyatspi belongs to the system's python3.
fernwick_python_test(desktop.screen_reader "${CMAKE_CURRENT_LIST_DIR}/screen_reader_test.py"
                     "$<TARGET_FILE:fernwick>" "${PROJECT_SOURCE_DIR}/scripts/lib/x-session")
set_tests_properties(desktop.screen_reader PROPERTIES LABELS desktop TIMEOUT 180)
