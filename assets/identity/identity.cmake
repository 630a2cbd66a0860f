# The program's identity: every name, version and description the outside world sees.
# These values are written here and nowhere else. The C++ header, the desktop entry, the AppStream
# metainfo, the Windows version resource and manifest, the Windows zip's readme and the Debian
# package are all generated from them (cmake/identity.cmake, cmake/win32*.cmake and
# cmake/install.cmake).
#
# This file only sets variables, so it can be included anywhere, even before project().

set(FERNWICK_PRODUCT_NAME "fernwick")           # program, package and installed binary name
set(FERNWICK_DISPLAY_NAME "FernWick")           # the name shown in menus and software centres
set(FERNWICK_COMPANY_NAME "Brenlow Inc")
set(FERNWICK_INTERNAL_NAME "fernwick")

# File and product version, numeric (Windows' four parts) and as shown to the player.
set(FERNWICK_VERSION_MAJOR 1)
set(FERNWICK_VERSION_MINOR 0)
set(FERNWICK_VERSION_PATCH 0)
set(FERNWICK_VERSION_BUILD 0)
set(FERNWICK_VERSION_STRING "1.00")
set(FERNWICK_RELEASE_DATE "2026-12-08")         # of the release named by the version string

# The executable's file name on Windows, which its version resource records, and on this platform.
set(FERNWICK_WINDOWS_FILENAME "${FERNWICK_INTERNAL_NAME}.exe")
if(WIN32)
    set(FERNWICK_ORIGINAL_FILENAME "${FERNWICK_WINDOWS_FILENAME}")
else()
    set(FERNWICK_ORIGINAL_FILENAME "${FERNWICK_INTERNAL_NAME}")
endif()

# Desktop integration. The application id names the desktop entry (<id>.desktop), the metainfo
# (<id>.metainfo.xml) and the icons, and is what Qt's setDesktopFileName() takes.
set(FERNWICK_APP_ID "com.brenlow.fernwick")
set(FERNWICK_DEVELOPER_ID "com.brenlow")        # the company, in software centres
set(FERNWICK_SUMMARY "Meet a cartoon dog and press the big button")
set(FERNWICK_DESCRIPTION
    "FernWick is a small game in one window: a big blue welcome, a cartoon dog and a single button that starts it all.")
set(FERNWICK_CATEGORIES "Game;")
set(FERNWICK_KEYWORDS "dog;button;cartoon;")     # what else a menu search finds the game by
# Debian wants a name and a mail address here. No address has been given yet: the .invalid domain
# marks it as a stand-in until the company names one.
set(FERNWICK_MAINTAINER "${FERNWICK_COMPANY_NAME} <packages@brenlow.invalid>")

# Derived values: not identity of their own, only other spellings of the ones above.
set(FERNWICK_VERSION_NUMERIC
    "${FERNWICK_VERSION_MAJOR}.${FERNWICK_VERSION_MINOR}.${FERNWICK_VERSION_PATCH}.${FERNWICK_VERSION_BUILD}")
set(FERNWICK_VERSION_COMMAS
    "${FERNWICK_VERSION_MAJOR},${FERNWICK_VERSION_MINOR},${FERNWICK_VERSION_PATCH},${FERNWICK_VERSION_BUILD}")
set(FERNWICK_PACKAGE_VERSION
    "${FERNWICK_VERSION_MAJOR}.${FERNWICK_VERSION_MINOR}.${FERNWICK_VERSION_PATCH}")
