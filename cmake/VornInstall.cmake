# What `cmake --install` puts where, and the Debian package CPack makes of it (`cpack -G DEB`
# in a build folder configured with -DCMAKE_INSTALL_PREFIX=/usr).

set(VORN_APP_ID org.vorneditor.VornEditor)
set(VORN_GREP_ID org.vorneditor.VornGrep)

# ---- Programs: one private folder, so the editor loads its regex module and the launchers
# find the editor beside themselves; bin/ holds links for the command line. ----
set(VORN_PROGRAMS VornE VornGrep vornconv vornmsg)
if(VORN_GUI)
  list(PREPEND VORN_PROGRAMS VornEditor)
  install(TARGETS VornEMessage LIBRARY DESTINATION ${VORN_PROGRAM_DIR})
endif()
install(TARGETS ${VORN_PROGRAMS} RUNTIME DESTINATION ${VORN_PROGRAM_DIR})
install(TARGETS VornRegexp LIBRARY DESTINATION ${VORN_PROGRAM_DIR})
file(RELATIVE_PATH VORN_PROGRAMS_FROM_BIN /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${VORN_PROGRAM_DIR})
foreach(program IN LISTS VORN_PROGRAMS)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK \"${VORN_PROGRAMS_FROM_BIN}/${program}\" \"\${link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
    message(STATUS \"Installing: \${link}\")")
endforeach()

if(NOT VORN_GUI)
  return()
endif()

# ---- Desktop integration: menu entries with the text types the shipped file types cover,
# AppStream metadata, the application icons in every hicolor size and scalable. ----
set(VORN_DESKTOP_SOURCE ${PROJECT_SOURCE_DIR}/data/desktop)
install(FILES ${VORN_DESKTOP_SOURCE}/${VORN_APP_ID}.desktop ${VORN_DESKTOP_SOURCE}/${VORN_GREP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${VORN_DESKTOP_SOURCE}/${VORN_APP_ID}.metainfo.xml
               ${CMAKE_BINARY_DIR}/data/${VORN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/data/${VORN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(VORN_ICON_SOURCE ${PROJECT_SOURCE_DIR}/data/icons)
set(VORN_ICON_SIZES 16 22 24 32 48 64 128 256)
set(VORN_ICON_BUILD ${CMAKE_BINARY_DIR}/icons/hicolor)
find_program(VORN_RSVG_CONVERT rsvg-convert)
if(NOT VORN_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert (librsvg2-bin) is needed to render the application icons; "
                      "scripts/setup.sh installs it")
endif()
set(VORN_ICON_PNGS "")
foreach(id IN ITEMS ${VORN_APP_ID} ${VORN_GREP_ID})
  install(FILES ${VORN_ICON_SOURCE}/${id}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size IN LISTS VORN_ICON_SIZES)
    set(png ${VORN_ICON_BUILD}/${size}x${size}/apps/${id}.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${VORN_ICON_BUILD}/${size}x${size}/apps
      COMMAND ${VORN_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${VORN_ICON_SOURCE}/${id}.svg
      DEPENDS ${VORN_ICON_SOURCE}/${id}.svg
      VERBATIM)
    list(APPEND VORN_ICON_PNGS ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endforeach()
add_custom_target(application_icons ALL DEPENDS ${VORN_ICON_PNGS})

# ---- The Debian package. ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorneditor)
set(CPACK_PACKAGE_VENDOR "VornEditor")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "text editor for Japanese and Western plain text")
set(CPACK_PACKAGE_DESCRIPTION "VornEditor edits plain text in Shift_JIS, JIS, EUC-JP, UTF-16, UTF-8 and UTF-7
with any line break, with Japanese word wrap, per-type colouring, regular-expression search,
grep, keyboard macros and a resident station in the notification area.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "VornEditor developers <vorneditor@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no library link names them: the SVG icon
# engine that draws the icon themes; hicolor owns the icon folders.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk, xdg-utils, diffutils")
include(CPack)
