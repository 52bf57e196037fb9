# cmake -DINPUT=file.bin -DOUTPUT=file.cpp -DHEADER=x.h -DSYMBOL=name -P embed_binary.cmake
# Writes INPUT as the std::array SYMBOL that HEADER declares.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}" "// Generated from ${name} at build time.\n#include \"${HEADER}\"\n\nconst std::array<uint8_t, ${size}> qc::${SYMBOL} = {\n${bytes}};\n")
