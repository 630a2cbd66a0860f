# fernwick_embed(<target> <file> <symbol> [EMPTY])
# Turns a file into a C++ source holding its bytes, so the program opens no file at run time:
#   extern const unsigned char <symbol>[];
#   extern const std::size_t <symbol>_size;
# The source is regenerated whenever the file changes and is added to <target>. With EMPTY the
# symbols are there, <symbol>_size 0, without the bytes.
function(fernwick_embed target file symbol)
    get_filename_component(abs "${file}" ABSOLUTE)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded/${target}/${symbol}.cpp")
    add_custom_command(
        OUTPUT "${out}"
        COMMAND "${CMAKE_COMMAND}" -DIN=${abs} -DOUT=${out} -DSYMBOL=${symbol} -DEMPTY=${ARGN}
                -P "${FERNWICK_EMBED_SCRIPT}"
        DEPENDS "${abs}" "${FERNWICK_EMBED_SCRIPT}"
        COMMENT "Embedding ${file}"
        VERBATIM)
    target_sources(${target} PRIVATE "${out}")
endfunction()
set(FERNWICK_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/embed_file.cmake" CACHE INTERNAL "")
