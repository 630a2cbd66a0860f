# cmake -DIN=<page.html> -DSCRIPT=<file.js> -DOUT=<page.html> -P inline_script.cmake
# Writes IN to OUT with its <script src="..."></script> for SCRIPT replaced by SCRIPT's text: the
# page brings the module's loader with it, one request fewer before the game can start.
get_filename_component(_name "${SCRIPT}" NAME)
set(_tag "<script src=\"${_name}\"></script>")
file(READ "${IN}" _page)
file(READ "${SCRIPT}" _script)
string(FIND "${_page}" "${_tag}" _at)
string(FIND "${_script}" "</script" _end)
if(_at EQUAL -1 OR NOT _end EQUAL -1)
    message(FATAL_ERROR "${SCRIPT} cannot be written into ${IN} in place of ${_tag}")
endif()
string(REPLACE "${_tag}" "<script>${_script}</script>" _page "${_page}")
file(WRITE "${OUT}" "${_page}")
