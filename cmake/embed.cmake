# fernwick_embed(<target> <file> <symbol> [EMPTY])
# Turns a file into a C++ source holding its bytes, so the program opens no file at run time, and
# a header, "<symbol>.h" on <target>'s include path, that declares them:
#   extern const unsigned char <symbol>[];
#   inline constexpr std::size_t <symbol>_size = ...;
# Both are regenerated whenever the file changes. With EMPTY the symbol is there, its size 0,
# without the bytes.
function(fernwick_embed target file symbol)
    get_filename_component(abs "${file}" ABSOLUTE)
    set(dir "${CMAKE_CURRENT_BINARY_DIR}/embedded/${target}")
    add_custom_command(
        OUTPUT "${dir}/${symbol}.cpp" "${dir}/${symbol}.h"
        COMMAND "${CMAKE_COMMAND}" -DIN=${abs} -DOUT=${dir}/${symbol} -DSYMBOL=${symbol}
                -DEMPTY=${ARGN} -P "${FERNWICK_EMBED_SCRIPT}"
        DEPENDS "${abs}" "${FERNWICK_EMBED_SCRIPT}"
        COMMENT "Embedding ${file}"
        VERBATIM)
    target_sources(${target} PRIVATE "${dir}/${symbol}.cpp" "${dir}/${symbol}.h")
    target_include_directories(${target} PRIVATE "${dir}")
endfunction()
set(FERNWICK_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/embed_file.cmake" CACHE INTERNAL "")
