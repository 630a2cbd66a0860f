# The dog picture: its two renderings, embedded in fernwick_core; each desktop front end decodes
# them with the platform's own decoder. assets/picture/make-picture regenerates the GIFs from
# assets/picture/dog.svg; the build only embeds the committed files. With EMPTY, a target gets the
# symbols without the bytes: the web page loads the files themselves.
get_filename_component(FERNWICK_PICTURE_DIR "${CMAKE_CURRENT_LIST_DIR}/../assets/picture" ABSOLUTE)
function(fernwick_embed_picture target)
    fernwick_embed(${target} "${FERNWICK_PICTURE_DIR}/dog.gif" fernwick_dog_gif ${ARGN})
    fernwick_embed(${target} "${FERNWICK_PICTURE_DIR}/dog@2x.gif" fernwick_dog_2x_gif ${ARGN})
endfunction()
fernwick_embed_picture(fernwick_core)
