# Widget tests: the real window, headless on Qt's offscreen platform.
add_executable(widget_test
    widget/form1_window_test.cpp
    widget/picture_and_icon_test.cpp
    widget/qt_test_main.cpp)
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(widget_test PRIVATE fernwick_qt Qt6::Test GTest::gtest)
gtest_discover_tests(widget_test
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS sanitize)

# The same window on a screen of scale 2, as on a high-density display.
add_test(NAME PictureTest.ScaleTwo
         COMMAND widget_test --gtest_filter=PictureTest.*)
set_tests_properties(PictureTest.ScaleTwo PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
add_test(NAME PictureTest.ScaleThree
         COMMAND widget_test --gtest_filter=PictureTest.*)
set_tests_properties(PictureTest.ScaleThree PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=3")
