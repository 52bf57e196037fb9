# Included by the top-level CMakeLists.txt (generated sources must be made in
# the directory of the target that compiles them): the cartridge images, the
# 6502 player (ca65/ld65) and the CHR ROM, and their build-time generators.

add_executable(cart_tables tools/cart_tables.cpp playback/note_tables.cpp)
target_include_directories(cart_tables PRIVATE ${CMAKE_SOURCE_DIR})
add_executable(chr_tiles tools/chr_tiles.cpp)

set(cart_dir ${CMAKE_SOURCE_DIR}/export/cart_player)
set(out ${CMAKE_BINARY_DIR}/cart)
file(GLOB cart_sources CONFIGURE_DEPENDS ${cart_dir}/*.s ${cart_dir}/*.inc)

add_custom_command(OUTPUT ${out}/cart_tables.inc
  COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
  COMMAND cart_tables ${out}/cart_tables.inc
  DEPENDS cart_tables)
add_custom_command(OUTPUT ${out}/cart_player.bin ${out}/cart_player.map
  COMMAND ${CA65} -I ${cart_dir} -I ${out} -o ${out}/cart_player.o ${cart_dir}/cart_player.s
  COMMAND ${LD65} -C ${cart_dir}/cart.cfg -m ${out}/cart_player.map -o ${out}/cart_player.bin ${out}/cart_player.o
  DEPENDS ${cart_sources} ${cart_dir}/cart.cfg ${out}/cart_tables.inc)
add_custom_command(OUTPUT ${out}/cart.chr
  COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
  COMMAND chr_tiles ${out}/cart.chr
  DEPENDS chr_tiles)
foreach(image IN ITEMS player chr)
  if(image STREQUAL "player")
    set(input ${out}/cart_player.bin)
    set(name kCartPlayerImage)
  else()
    set(input ${out}/cart.chr)
    set(name kCartCharacterRom)
  endif()
  add_custom_command(OUTPUT ${out}/cart_${image}_image.cpp
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${out}/cart_${image}_image.cpp
            -DHEADER=export/cart_images.h -DSYMBOL=${name} -P ${CMAKE_SOURCE_DIR}/cmake/embed_binary.cmake
    DEPENDS ${input} ${CMAKE_SOURCE_DIR}/cmake/embed_binary.cmake)
endforeach()

target_sources(quillchanter_core PRIVATE ${out}/cart_player_image.cpp ${out}/cart_chr_image.cpp)
