# Run as: cmake -DIN=<file> -DOUT=<source> -DSYMBOL=<name> [-DEMPTY=EMPTY] -P embed_file.cmake
# EMPTY: the symbols without the file's bytes, for a program that loads the file itself.
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
file(WRITE "${OUT}.tmp"
     "// Generated from ${IN}; do not edit.\n#include <cstddef>\n"
     "extern const unsigned char ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}_size;\n"
     "alignas(16) const unsigned char ${SYMBOL}[${size} + 1] = {\n${bytes}0};\n"
     "const std::size_t ${SYMBOL}_size = ${size};\n")
file(RENAME "${OUT}.tmp" "${OUT}")
