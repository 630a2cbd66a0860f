# Installing the program as a Linux desktop application, and the Debian package.
# Included at the end of the top-level CMakeLists.txt, once the executable `fernwick` exists.
#
#   cmake --install build --prefix /some/where     lays out bin/ and share/ under the prefix
#   cmake --build build --target package           writes build/fernwick_<version>_amd64.deb
#
# Names, versions and descriptions all come from assets/identity/identity.cmake
# (read by cmake/identity.cmake).
include(GNUInstallDirs)

install(TARGETS fernwick RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
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
# The heading's bundled face is compiled into the program; its licence travels with it.
install(FILES "${PROJECT_SOURCE_DIR}/assets/fonts/LICENSE.DejaVu"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")

# The Debian package. Its dependencies are worked out by dpkg-shlibdeps (package dpkg-dev) from
# the libraries the executable links: Qt's widgets, gui and core libraries, and through libqt6gui6
# the xcb platform plugin and the .ico reader the window icon needs.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "${FERNWICK_PRODUCT_NAME}")
set(CPACK_PACKAGE_VENDOR "${FERNWICK_COMPANY_NAME}")
set(CPACK_PACKAGE_VERSION "${FERNWICK_PACKAGE_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${FERNWICK_SUMMARY}")
set(CPACK_PACKAGE_DESCRIPTION "${FERNWICK_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # <name>_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FERNWICK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
