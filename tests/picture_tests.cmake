# The GIF decoder's tests, and the checks of the shipped dog picture. Included from
# tests/CMakeLists.txt, where GTest has been found and GoogleTest included.
add_executable(gif_decoder_test "${CMAKE_CURRENT_LIST_DIR}/gif_decoder_test.cpp")
target_link_libraries(gif_decoder_test PRIVATE fernwick_core GTest::gtest_main)
gtest_discover_tests(gif_decoder_test PROPERTIES LABELS sanitize)
