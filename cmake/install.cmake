# Installing the reader on a Linux desktop: the two programs, the desktop entry, the icon in the
# hicolor theme's sizes, the AppStream entry and the manual pages. Everything is in the
# component "reader", so that an install of the component alone (the install test) keeps its
# own manifest, install_manifest_reader.txt, beside the one of a full install.
include(GNUInstallDirs)

set(VW_APP_ID example.quillmere.Versewell)
set(VW_DESKTOP_SRC ${PROJECT_SOURCE_DIR}/resources/desktop)

install(TARGETS versewell bookc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT reader)
install(FILES ${VW_DESKTOP_SRC}/${VW_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT reader)

configure_file(${VW_DESKTOP_SRC}/${VW_APP_ID}.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/desktop/${VW_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/desktop/${VW_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT reader)

foreach(page versewell bookc)
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.1.in ${PROJECT_BINARY_DIR}/man/${page}.1
    @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/man/${page}.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT reader)
endforeach()

# The icon: drawn as SVG, rendered to each size the hicolor theme lists, from 16 to 256.
find_package(Qt6 REQUIRED COMPONENTS Svg)
add_executable(vw-icon tools/icon/main.cpp)
target_link_libraries(vw-icon PRIVATE Qt6::Gui Qt6::Svg)
vw_own(vw-icon)
set_target_properties(vw-icon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tools)
set(VW_ICON_SVG ${VW_DESKTOP_SRC}/${VW_APP_ID}.svg)
set(VW_ICON_PNGS)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${PROJECT_BINARY_DIR}/icons/${size}x${size}/${VW_APP_ID}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}x${size}
    # A sanitizer build's leak check has nothing to tell about a build step.
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
      $<TARGET_FILE:vw-icon> ${VW_ICON_SVG} ${size} ${png}
    DEPENDS vw-icon ${VW_ICON_SVG}
    COMMENT "Rendering the ${size}x${size} icon")
  list(APPEND VW_ICON_PNGS ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    COMPONENT reader)
endforeach()
add_custom_target(icons ALL DEPENDS ${VW_ICON_PNGS})
install(FILES ${VW_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  COMPONENT reader)

# Removes what an install put down, by its manifest: cmake --build BUILD --target uninstall.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
    -P ${PROJECT_SOURCE_DIR}/cmake/uninstall.cmake)
