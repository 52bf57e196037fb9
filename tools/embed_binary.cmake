# Turns an 8 KB image into a C++ array definition for export/cart_images.h.
# cmake -DINPUT=file.bin -DOUTPUT=file.cpp -DNAME=kArrayName -P embed_binary.cmake
file(SIZE "${INPUT}" size)
if(NOT size EQUAL 8192)
  message(FATAL_ERROR "${INPUT} is ${size} bytes, not 8192")
endif()
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n  " bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Made from ${INPUT} at build time.\n"
  "#include \"export/cart_images.h\"\n\n"
  "const std::array<uint8_t, kCartImageSize> ${NAME} = {\n  ${bytes}\n};\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
