# The game as a web page: the core compiled to WebAssembly with the page's front end
# (app/web/), and the static site it runs in, all of it in ${CMAKE_BINARY_DIR}/web/.
set(FERNWICK_WEB_DIR "${CMAKE_BINARY_DIR}/web")
set(_module "${CMAKE_BINARY_DIR}/page")  # what the linker writes, before it goes into the site
set(_web "${CMAKE_CURRENT_LIST_DIR}/../app/web")
cmake_path(NORMAL_PATH _web)
# Node, without the options emcmake gives it: Node 20 refuses --experimental-wasm-threads.
if(CMAKE_CROSSCOMPILING_EMULATOR)
    list(GET CMAKE_CROSSCOMPILING_EMULATOR 0 FERNWICK_NODE)
else()
    find_program(FERNWICK_NODE NAMES node nodejs REQUIRED)
endif()
set(_minify "${FERNWICK_NODE}" "${_web}/minify.js")

# The core as the page and its unit tests alike build it, small over fast (the page downloads every
# byte of it): without the picture's bytes, which the page loads as files (cmake/picture.cmake),
# and without C++ exceptions or RTTI, well over a quarter of its size; the maths is the browser's.
target_compile_options(fernwick_core PUBLIC -Oz -flto -fno-rtti -fno-exceptions)

add_executable(fernwick app/web/form1_page.cpp)
target_link_libraries(fernwick PRIVATE fernwick_core)
set_target_properties(fernwick PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${_module}"
                                          LINK_DEPENDS "${_web}/page_library.js")
target_link_options(fernwick PRIVATE
    -Oz -flto -fno-exceptions -sJS_MATH=1
    "--js-library=${_web}/page_library.js"
    # The small runtime: the page fetches fernwick.wasm itself and hands its bytes over. The
    # game's memory is a few kilobytes that never grow, in one fixed megabyte.
    -sMINIMAL_RUNTIME=1 -sMODULARIZE=1 -sEXPORT_NAME=FernWick -sENVIRONMENT=web
    -sFILESYSTEM=0 -sMALLOC=emmalloc -sTOTAL_STACK=65536 -sINITIAL_MEMORY=1048576
    -sSUPPORT_LONGJMP=0 -sTEXTDECODER=2
    "-sEXPORTED_FUNCTIONS=_main,_fw_clicked,_fw_restyle")
# Debian 12's Emscripten keeps errno support unless told not to; Debian 13's has none to leave out
# and warns of the setting, and of a build with debug information optimised less after linking.
if(EMSCRIPTEN_VERSION VERSION_LESS 3.1.69)
    target_link_options(fernwick PRIVATE -sSUPPORT_ERRNO=0)
else()
    string(APPEND CMAKE_EXE_LINKER_FLAGS " -Wno-limited-postlink-optimizations")
endif()

# The site's other files, copied as they are or filled in from the program's identity.
configure_file("${_web}/manifest.webmanifest.in" "${FERNWICK_WEB_DIR}/manifest.webmanifest" @ONLY)
set(_font DejaVuSansCondensed-Bold-ASCII.ttf)
set(_site_files index.html manifest.webmanifest ${_font} dog.gif dog@2x.gif icons/icon.svg)
set(_copies
    "${_module}/fernwick.wasm" fernwick.wasm
    "${FERNWICK_PICTURE_DIR}/dog.gif" dog.gif
    "${FERNWICK_PICTURE_DIR}/dog@2x.gif" dog@2x.gif
    "${CMAKE_CURRENT_LIST_DIR}/../assets/fonts/${_font}" ${_font})
foreach(_size 48 64 128 256)
    list(APPEND _copies "${FERNWICK_HICOLOR_DIR}/${_size}x${_size}.png" icons/${_size}x${_size}.png)
    list(APPEND _site_files icons/${_size}x${_size}.png)
endforeach()
set(_commands "")
set(_inputs "")
while(_copies)
    list(POP_FRONT _copies _from _to)
    cmake_path(NORMAL_PATH _from)
    list(APPEND _commands COMMAND "${CMAKE_COMMAND}" -E copy "${_from}" "${FERNWICK_WEB_DIR}/${_to}")
    list(APPEND _inputs "${_from}")
endwhile()
list(APPEND _site_files fernwick.wasm)

# The page with the module's loader in it and the icon, minified; then the service worker, its
# cache named after every other file's content.
add_custom_command(
    OUTPUT "${FERNWICK_WEB_DIR}/sw.js"
    ${_commands}
    COMMAND ${_minify} page "${_web}/index.html" "${_module}/fernwick.js"
            "${FERNWICK_WEB_DIR}/index.html"
    COMMAND ${_minify} svg "${FERNWICK_ICON_SVG}" "${FERNWICK_WEB_DIR}/icons/icon.svg"
    COMMAND "${CMAKE_COMMAND}" "-DSITE=${FERNWICK_WEB_DIR}" "-DIN=${_web}/sw.js.in"
            "-DFILES=${_site_files}" "-DKEEP=fernwick.wasm;${_font};icons/icon.svg"
            -P "${_web}/write_sw.cmake"
    COMMAND ${_minify} js "${FERNWICK_WEB_DIR}/sw.js"
    DEPENDS fernwick ${_inputs} "${_web}/index.html" "${_web}/minify.js" "${FERNWICK_ICON_SVG}"
            "${_web}/sw.js.in" "${_web}/write_sw.cmake"
            "${FERNWICK_WEB_DIR}/manifest.webmanifest"
    COMMENT "Laying out the web site in ${FERNWICK_WEB_DIR}"
    VERBATIM)
add_custom_target(fernwick_site ALL DEPENDS "${FERNWICK_WEB_DIR}/sw.js")
unset(_web)
unset(_module)
