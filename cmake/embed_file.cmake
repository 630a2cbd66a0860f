# Run as: cmake -DIN=<file> -DOUT=<path without extension> -DSYMBOL=<name> [-DEMPTY=EMPTY]
#         -P embed_file.cmake
# Writes OUT.cpp and OUT.h. EMPTY: the symbol without the file's bytes, for a program that loads
# the file itself.
if(EMPTY)
    set(hex "")
else()
    file(READ "${IN}" hex HEX)
endif()
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
       "\\1\n" bytes "${bytes}")
get_filename_component(name "${OUT}" NAME)
file(WRITE "${OUT}.h.tmp"
     "// Generated from ${IN}; do not edit.\n#pragma once\n#include <cstddef>\n"
     "extern const unsigned char ${SYMBOL}[];\n"
     "inline constexpr std::size_t ${SYMBOL}_size = ${size};\n")
file(WRITE "${OUT}.cpp.tmp"
     "// Generated from ${IN}; do not edit.\n#include \"${name}.h\"\n"
     "alignas(16) const unsigned char ${SYMBOL}[${size} + 1] = {\n${bytes}0};\n")
file(RENAME "${OUT}.h.tmp" "${OUT}.h")
file(RENAME "${OUT}.cpp.tmp" "${OUT}.cpp")
