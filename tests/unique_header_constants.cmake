# Header constants are inline variables with external linkage: two with one
# name and different values link silently, and unoptimised builds then use
# either value anywhere. Fails when two headers define the same name.
cmake_policy(SET CMP0057 NEW)
file(GLOB_RECURSE headers RELATIVE ${ROOT}
  ${ROOT}/app/*.h ${ROOT}/cli/*.h ${ROOT}/editor/*.h ${ROOT}/export/*.h
  ${ROOT}/playback/*.h ${ROOT}/samples/*.h ${ROOT}/song/*.h ${ROOT}/tests/*.h)
set(seen "")
foreach(header IN LISTS headers)
  file(STRINGS ${ROOT}/${header} lines REGEX "^inline constexpr ")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "([A-Za-z_][A-Za-z0-9_]*) *(=|\\{|\\[)" match "${line}")
    set(name "${CMAKE_MATCH_1}")
    if(name STREQUAL "")
      continue()
    endif()
    if(name IN_LIST seen)
      message(SEND_ERROR "${name} is defined in ${header} and in ${where_${name}}")
    endif()
    list(APPEND seen ${name})
    set(where_${name} ${header})
  endforeach()
endforeach()
