# The program's identity: where its icons are, and the files generated from the values in
# assets/identity/identity.cmake. Install rules and the Debian package, which need the
# executable, are in cmake/install.cmake.
#
# Sets, for the front ends and the tests:
#   FERNWICK_ICON_FILE       the .ico with the 16 x 16 and 32 x 32 window icons
#   FERNWICK_ICON_SVG        the drawing the icons are rendered from
#   FERNWICK_HICOLOR_DIR     the rendered desktop icons, hicolor/NxN.png
#   FERNWICK_GENERATED_DIR   where the generated files go; holds identity.h
#   FERNWICK_DESKTOP_FILE    the generated <app id>.desktop
#   FERNWICK_METAINFO_FILE   the generated <app id>.metainfo.xml
# The Windows resources are written by cmake/win32_resources.cmake.

set(FERNWICK_IDENTITY_DIR "${CMAKE_CURRENT_LIST_DIR}/../assets/identity")
cmake_path(NORMAL_PATH FERNWICK_IDENTITY_DIR)
include("${FERNWICK_IDENTITY_DIR}/identity.cmake")

set(FERNWICK_ICON_FILE "${FERNWICK_IDENTITY_DIR}/fernwick.ico")
set(FERNWICK_ICON_SVG "${FERNWICK_IDENTITY_DIR}/icon.svg")
set(FERNWICK_HICOLOR_DIR "${FERNWICK_IDENTITY_DIR}/hicolor")
set(FERNWICK_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
set(FERNWICK_DESKTOP_FILE "${FERNWICK_GENERATED_DIR}/share/applications/${FERNWICK_APP_ID}.desktop")
set(FERNWICK_METAINFO_FILE "${FERNWICK_GENERATED_DIR}/share/metainfo/${FERNWICK_APP_ID}.metainfo.xml")

# identity.h, for `#include "identity.h"` from anything that links the core.
configure_file("${FERNWICK_IDENTITY_DIR}/identity.h.in" "${FERNWICK_GENERATED_DIR}/identity.h" @ONLY)
target_include_directories(fernwick_core PUBLIC "${FERNWICK_GENERATED_DIR}")

configure_file("${FERNWICK_IDENTITY_DIR}/desktop.in" "${FERNWICK_DESKTOP_FILE}" @ONLY)
# The developer, as the release's AppStream reads it: AppStream 1.0 (Debian 13) names it in
# <developer> and deprecates <developer_name>, the only form that earlier ones (Debian 12's 0.16)
# know.
set(FERNWICK_METAINFO_DEVELOPER "<developer id=\"${FERNWICK_DEVELOPER_ID}\">
    <name>${FERNWICK_COMPANY_NAME}</name>
  </developer>")
find_program(FERNWICK_APPSTREAMCLI appstreamcli)
if(FERNWICK_APPSTREAMCLI)
    execute_process(COMMAND "${FERNWICK_APPSTREAMCLI}" --version OUTPUT_VARIABLE appstream_version)
    if(appstream_version MATCHES "version: 0\\.")
        set(FERNWICK_METAINFO_DEVELOPER "<developer_name>${FERNWICK_COMPANY_NAME}</developer_name>")
    endif()
endif()
configure_file("${FERNWICK_IDENTITY_DIR}/metainfo.xml.in" "${FERNWICK_METAINFO_FILE}" @ONLY)
