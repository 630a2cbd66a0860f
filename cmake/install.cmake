# Installing the program as a Linux desktop application, and the Debian package.
# Included at the end of the top-level CMakeLists.txt, once the executable `fernwick` exists.
#
#   cmake --install build --prefix /some/where     lays out games/ and share/ under the prefix
#   cmake --build build --target package           writes build/fernwick_<version>_amd64.deb
#
# Names, versions and descriptions all come from assets/identity/identity.cmake
# (read by cmake/identity.cmake).
include(GNUInstallDirs)

# Debian keeps games' programs in games/ beside bin/; it is on every user's PATH, so the desktop
# entry's Exec names the program alone.
install(TARGETS fernwick RUNTIME DESTINATION games)
# A stripped install, as the package's is, also drops the sections that only name the compiler,
# as Debian's dh_strip does.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/games/$<TARGET_FILE_NAME:fernwick>\"
        COMMAND_ERROR_IS_FATAL ANY)
endif()")
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

# The documents Debian asks of every package: the copyright file, which also carries the licence
# of the heading's face (compiled into the program), the changelog and the manual page, the last
# two compressed without a time stamp so that every build writes the same bytes.
set(packaging "${PROJECT_SOURCE_DIR}/packaging")
set(documents "${CMAKE_BINARY_DIR}/documents")
file(READ "${PROJECT_SOURCE_DIR}/assets/fonts/LICENSE.DejaVu" FERNWICK_HEADING_FACE_LICENCE)
string(REGEX REPLACE "^Files: [^\n]*" "Files: assets/fonts/DejaVuSansCondensed-Bold-ASCII.ttf"
       FERNWICK_HEADING_FACE_LICENCE "${FERNWICK_HEADING_FACE_LICENCE}")
string(REGEX REPLACE " +\n" "\n" FERNWICK_HEADING_FACE_LICENCE "${FERNWICK_HEADING_FACE_LICENCE}")
string(STRIP "${FERNWICK_HEADING_FACE_LICENCE}" FERNWICK_HEADING_FACE_LICENCE)
configure_file("${packaging}/copyright.in" "${documents}/copyright" @ONLY)
configure_file("${packaging}/changelog.in" "${documents}/changelog" @ONLY)
configure_file("${packaging}/fernwick.6.in" "${documents}/${FERNWICK_PRODUCT_NAME}.6" @ONLY)
find_program(FERNWICK_GZIP gzip REQUIRED)
foreach(document changelog "${FERNWICK_PRODUCT_NAME}.6")
    add_custom_command(OUTPUT "${documents}/${document}.gz"
        COMMAND "${FERNWICK_GZIP}" -9 --no-name --stdout "${documents}/${document}"
                > "${documents}/${document}.gz"
        DEPENDS "${documents}/${document}")
    list(APPEND compressed "${documents}/${document}.gz")
endforeach()
add_custom_target(fernwick_documents ALL DEPENDS ${compressed})
install(FILES "${documents}/copyright" "${documents}/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")
install(FILES "${documents}/${FERNWICK_PRODUCT_NAME}.6.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")

# The Debian package. Its dependencies are worked out by dpkg-shlibdeps (package dpkg-dev) from
# the libraries the executable links: Qt's widgets, gui and core libraries, and through libqt6gui6
# the xcb platform plugin.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "${FERNWICK_PRODUCT_NAME}")
set(CPACK_PACKAGE_VENDOR "${FERNWICK_COMPANY_NAME}")
set(CPACK_PACKAGE_VERSION "${FERNWICK_PACKAGE_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${FERNWICK_SUMMARY}")
# Debian shows the long description in lines of at most 80 characters.
string(REGEX MATCHALL "[^ ]+" words "${FERNWICK_DESCRIPTION}")
set(description "")
set(line "")
foreach(word IN LISTS words)
    string(LENGTH "${line} ${word}" length)
    if(line AND length GREATER 79)
        string(APPEND description "${line}\n")
        set(line "${word}")
    elseif(line)
        string(APPEND line " ${word}")
    else()
        set(line "${word}")
    endif()
endforeach()
string(APPEND description "${line}")
set(CPACK_PACKAGE_DESCRIPTION "${description}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # <name>_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FERNWICK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The heading's face as a system font: loading it from there is cheaper at start-up than
# registering the bundled copy, which stays as the fallback for machines without it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-extra")
# Qt's Wayland platform plugin, so that the game runs natively on a Wayland desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
