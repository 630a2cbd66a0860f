# The Linux (and any other Qt) front end: Qt 6 Widgets draws the window from the control table.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)

# Everything but the entry point, so the widget tests build the very same window.
add_library(fernwick_qt STATIC
    app/qt/accessibility.cpp
    app/qt/display_guard.cpp
    app/qt/form1_window.cpp
    app/qt/heading_face.cpp
    app/qt/label_widget.cpp
    app/qt/picture_frame.cpp)
target_link_libraries(fernwick_qt PUBLIC fernwick_core Qt6::Widgets)
# The icon group, which Windows keeps in the executable's resources instead.
fernwick_embed(fernwick_qt "${FERNWICK_ICON_FILE}" fernwick_app_icon)
# A bold face with Tahoma Bold's widths, for machines that have neither Tahoma nor the system's
# copy of that face: its printable ASCII characters only (assets/fonts/make-face).
fernwick_embed(fernwick_qt assets/fonts/DejaVuSansCondensed-Bold-ASCII.ttf fernwick_heading_face_ttf)

add_executable(fernwick app/main.cpp)
target_link_libraries(fernwick PRIVATE fernwick_qt)
