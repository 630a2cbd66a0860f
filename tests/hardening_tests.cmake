# Hardening. The soak, headless; in the sanitized run too, for its leak check.
add_executable(soak_test hardening/soak_test.cpp widget/qt_test_main.cpp)
target_link_libraries(soak_test PRIVATE fernwick_qt Qt6::Test GTest::gtest)
add_test(NAME Hardening.Soak COMMAND soak_test)
set_tests_properties(Hardening.Soak PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS "sanitize;hardening" TIMEOUT 600)

# The real program on a private X server (the end-to-end tests' library), one case at a time.
add_executable(hardening_x_test hardening/input_storm_test.cpp hardening/privacy_test.cpp
               hardening/several_copies_test.cpp e2e/x_test_main.cpp)
target_link_libraries(hardening_x_test PRIVATE fernwick_x_session)
gtest_discover_tests(hardening_x_test TEST_PREFIX "Hardening." DISCOVERY_TIMEOUT 30
    PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE LABELS hardening SKIP_RETURN_CODE ${FERNWICK_SKIP_STATUS})
