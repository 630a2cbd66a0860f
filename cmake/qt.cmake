# The Linux (and any other Qt) front end: Qt 6 Widgets draws the window from the control table.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)

# Everything but the entry point, so the widget tests build the very same window.
add_library(fernwick_qt STATIC
    app/qt/accessibility.cpp
    app/qt/form1_window.cpp
    app/qt/heading_face.cpp
    app/qt/label_widget.cpp
    app/qt/picture_frame.cpp)
target_link_libraries(fernwick_qt PUBLIC fernwick_core Qt6::Widgets)
# The window icon's two images as PNG, which QtGui reads itself. Windows keeps the .ico in the
# executable's resources instead; Qt's ICO reader would ignore its 1-bit mask and draw the
# transparent corners black.
fernwick_embed(fernwick_qt "${FERNWICK_HICOLOR_DIR}/16x16.png" fernwick_app_icon_16_png)
fernwick_embed(fernwick_qt "${FERNWICK_HICOLOR_DIR}/32x32.png" fernwick_app_icon_32_png)
# A bold face with Tahoma Bold's widths, for machines that have neither Tahoma nor the system's
# copy of that face: its printable ASCII characters only (assets/fonts/make-face).
fernwick_embed(fernwick_qt assets/fonts/DejaVuSansCondensed-Bold-ASCII.ttf fernwick_heading_face_ttf)

add_executable(fernwick app/qt/main.cpp)
target_link_libraries(fernwick PRIVATE fernwick_qt)
