# Installing the program as a Linux desktop application. Included at the end of the top-level
# CMakeLists.txt, once the executable `fernwick` exists.
#
#   cmake --install build --prefix /some/where     lays out games/ and share/ under the prefix
#
# The Debian package (debian/) installs this tree; dh strips the program, compresses the manual
# page and adds the copyright file and the changelog. Names, versions and descriptions come from
# assets/identity/identity.cmake (read by cmake/identity.cmake).
include(GNUInstallDirs)

# Debian keeps games' programs in games/ beside bin/; it is on every user's PATH, so the desktop
# entry's Exec names the program alone.
install(TARGETS fernwick RUNTIME DESTINATION games)
install(FILES "${FERNWICK_DESKTOP_FILE}" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${FERNWICK_METAINFO_FILE}" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
foreach(size 16 32 48 64 128 256)
    install(FILES "${FERNWICK_HICOLOR_DIR}/${size}x${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME "${FERNWICK_APP_ID}.png")
endforeach()
install(FILES "${FERNWICK_ICON_SVG}"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
        RENAME "${FERNWICK_APP_ID}.svg")

configure_file("${PROJECT_SOURCE_DIR}/packaging/fernwick.6.in"
               "${CMAKE_BINARY_DIR}/documents/${FERNWICK_PRODUCT_NAME}.6" @ONLY)
install(FILES "${CMAKE_BINARY_DIR}/documents/${FERNWICK_PRODUCT_NAME}.6"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
