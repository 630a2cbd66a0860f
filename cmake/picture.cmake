# The dog picture: its two renderings, embedded in fernwick_core; each desktop front end decodes
# them with the platform's own decoder. assets/picture/make-picture regenerates the GIFs from
# assets/picture/dog.svg; the build only embeds the committed files. The web page's core gets the
# symbols without the bytes (EMPTY): the page loads the files themselves.
get_filename_component(FERNWICK_PICTURE_DIR "${CMAKE_CURRENT_LIST_DIR}/../assets/picture" ABSOLUTE)
if(EMSCRIPTEN)
    set(_empty EMPTY)
endif()
fernwick_embed(fernwick_core "${FERNWICK_PICTURE_DIR}/dog.gif" fernwick_dog_gif ${_empty})
fernwick_embed(fernwick_core "${FERNWICK_PICTURE_DIR}/dog@2x.gif" fernwick_dog_2x_gif ${_empty})
unset(_empty)
