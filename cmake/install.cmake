# What `cmake --install` and `cpack -G DEB` put on a system: the program, its
# manual page, a desktop entry with icons, the file types and AppStream data.

# The desktop and AppStream id; placeholder domain until the project has a home.
set(QC_APP_ID example.quillchanter.Quillchanter)
set(QC_GENERATED ${CMAKE_BINARY_DIR}/generated)

add_executable(make_docs tools/make_docs.cpp)
target_link_libraries(make_docs PRIVATE quillchanter_core)
add_custom_command(
  OUTPUT ${QC_GENERATED}/quillchanter.1 ${QC_GENERATED}/keys.md ${QC_GENERATED}/key_guide.md
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QC_GENERATED}
  COMMAND make_docs $<TARGET_FILE:quillchanter> ${QC_GENERATED}
  DEPENDS make_docs quillchanter
  COMMENT "Writing the manual page and the key reference")

set(QC_ICON_SIZES 32 64 128 256)
set(QC_ICONS "")
foreach(size ${QC_ICON_SIZES})
  list(APPEND QC_ICONS ${QC_GENERATED}/quillchanter-${size}.png)
endforeach()
add_executable(make_icons tools/make_icons.cpp app/icon_art.cpp)
target_include_directories(make_icons PRIVATE ${CMAKE_SOURCE_DIR})
add_custom_command(OUTPUT ${QC_ICONS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QC_GENERATED}
  COMMAND make_icons ${QC_GENERATED}
  DEPENDS make_icons
  COMMENT "Scaling the icon")
add_custom_target(install_data ALL DEPENDS ${QC_GENERATED}/quillchanter.1 ${QC_ICONS})

include(GNUInstallDirs)
install(TARGETS quillchanter RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QC_GENERATED}/quillchanter.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/quillchanter.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        RENAME ${QC_APP_ID}.desktop)
configure_file(packaging/quillchanter.metainfo.xml.in ${QC_GENERATED}/${QC_APP_ID}.metainfo.xml @ONLY)
install(FILES ${QC_GENERATED}/${QC_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/quillchanter-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME quillchanter.xml)
foreach(size ${QC_ICON_SIZES})
  install(FILES ${QC_GENERATED}/quillchanter-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quillchanter.png)
endforeach()

set(CPACK_PACKAGE_NAME quillchanter)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "music tracker for the NES sound chip")
set(CPACK_PACKAGE_CONTACT "Quillchanter maintainers <maintainers@quillchanter.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
