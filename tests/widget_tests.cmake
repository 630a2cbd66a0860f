# Widget tests: the real window, headless on Qt's offscreen platform.
add_executable(widget_test widget/form1_window_test.cpp widget/picture_and_icon_test.cpp
               widget/qt_test_main.cpp)
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(widget_test PRIVATE fernwick_qt Qt6::Test GTest::gtest)
gtest_discover_tests(widget_test
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS sanitize)

# The same window on high-density screens.
foreach(scale Two:2 Three:3)
    string(REPLACE ":" ";" scale "${scale}")
    list(POP_FRONT scale name factor)
    add_test(NAME PictureTest.Scale${name} COMMAND widget_test --gtest_filter=PictureTest.*)
    set_tests_properties(PictureTest.Scale${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${factor}")
endforeach()
