# Installs into a temporary prefix, checks every file is there, validates the
# desktop entry, the AppStream data and the file types, and packs a .deb of
# the same tree. -DBUILD=build dir -DOUT=scratch dir -DAPP_ID=desktop id
set(prefix ${OUT}/prefix)
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix} OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(expected
  bin/quillchanter
  share/man/man1/quillchanter.1
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/mime/packages/quillchanter.xml
  share/icons/hicolor/32x32/apps/quillchanter.png
  share/icons/hicolor/64x64/apps/quillchanter.png
  share/icons/hicolor/128x128/apps/quillchanter.png
  share/icons/hicolor/256x256/apps/quillchanter.png)
foreach(f ${expected})
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

function(check)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN}:\n${out}")
  endif()
endfunction()
check(desktop-file-validate ${prefix}/share/applications/${APP_ID}.desktop)
check(appstreamcli validate --no-net ${prefix}/share/metainfo/${APP_ID}.metainfo.xml)
# update-mime-database rejects a malformed package and compiles the magic.
check(update-mime-database ${prefix}/share/mime)
file(STRINGS ${prefix}/share/mime/magic magic REGEX QuillchanterTune)
if(NOT magic)
  message(FATAL_ERROR "the module magic is not in the compiled MIME data")
endif()

check(cpack -G DEB -B ${OUT}/deb --config ${BUILD}/CPackConfig.cmake)
file(GLOB debs ${OUT}/deb/*.deb)
execute_process(COMMAND dpkg-deb -c ${debs} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
foreach(f ${expected})
  string(FIND "${listing}" "./usr/${f}" at)
  if(NOT status EQUAL 0 OR at EQUAL -1)
    message(FATAL_ERROR "the .deb lacks /usr/${f}:\n${listing}")
  endif()
endforeach()
