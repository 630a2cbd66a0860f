# The dog picture: its two renderings, embedded in fernwick_core; each front end decodes them with
# the platform's own decoder. assets/picture/make-picture regenerates the GIFs from
# assets/picture/dog.svg; the build only embeds the committed files.
get_filename_component(_fernwick_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
fernwick_embed(fernwick_core "${_fernwick_root}/assets/picture/dog.gif" fernwick_dog_gif)
fernwick_embed(fernwick_core "${_fernwick_root}/assets/picture/dog@2x.gif" fernwick_dog_2x_gif)
unset(_fernwick_root)
