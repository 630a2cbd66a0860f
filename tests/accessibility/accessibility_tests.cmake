# The window as a screen reader finds it over AT-SPI, on a private X server and session bus.
fernwick_python_test(desktop.screen_reader "${CMAKE_CURRENT_LIST_DIR}/screen_reader_test.py"
                     "$<TARGET_FILE:fernwick>" "${PROJECT_SOURCE_DIR}/scripts/lib/x-session")
set_tests_properties(desktop.screen_reader PROPERTIES LABELS desktop TIMEOUT 180)

# What Orca says of the game as it is played: one Orca at a time, each in its own session.
fernwick_python_test(desktop.orca "${CMAKE_CURRENT_LIST_DIR}/orca_test.py"
                     "${PROJECT_SOURCE_DIR}/scripts/lib/x-session" desktop "$<TARGET_FILE:fernwick>"
                     "${Qt6_VERSION}")
set_tests_properties(desktop.orca PROPERTIES LABELS "desktop;orca" TIMEOUT 300 RUN_SERIAL TRUE)
