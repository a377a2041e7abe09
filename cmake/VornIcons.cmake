# The icon set compiled into the program as the fallback theme "VornEditor": the standard
# pictures the commands use, taken from the Tango theme (public domain; Debian's
# tango-icon-theme, which scripts/setup.sh installs), and the pictures drawn for the program.
# vorn_add_icon_resources(TARGET)
set(VORN_TANGO_DIR /usr/share/icons/Tango CACHE PATH "The Tango icon theme the fallback icons come from")

# icon name : the Tango picture that stands for it
set(VORN_TANGO_ICONS
  document-new:actions/document-new document-open:actions/document-open document-revert:actions/view-refresh
  document-save:actions/document-save document-save-as:actions/document-save-as
  document-print:actions/document-print application-exit:actions/system-log-out
  process-stop:actions/process-stop folder-open:status/folder-open
  go-up:actions/go-up go-down:actions/go-down go-next:actions/go-next go-previous:actions/go-previous
  go-first:actions/go-first go-last:actions/go-last go-top:actions/go-top go-bottom:actions/go-bottom
  go-jump:actions/go-jump bookmark-new:actions/bookmark-new
  edit-select-all:actions/edit-select-all edit-copy:actions/edit-copy edit-paste:actions/edit-paste
  edit-cut:actions/edit-cut edit-delete:actions/edit-delete edit-clear:actions/edit-clear
  edit-undo:actions/edit-undo edit-redo:actions/edit-redo edit-find:actions/edit-find
  edit-find-replace:actions/edit-find-replace
  format-indent-more:actions/format-indent-more format-indent-less:actions/format-indent-less
  format-justify-fill:actions/format-justify-fill format-justify-center:actions/format-justify-center
  format-justify-left:actions/format-justify-left format-justify-right:actions/format-justify-right
  system-search:actions/system-search window-new:actions/window-new media-record:actions/media-record
  media-playback-start:actions/media-playback-start media-playback-pause:actions/media-playback-pause
  dialog-information:status/dialog-information appointment-new:actions/appointment-new
  system-run:apps/utilities-terminal)

function(vorn_add_icon_resources target)
  if(NOT EXISTS ${VORN_TANGO_DIR}/index.theme)
    message(FATAL_ERROR "The Tango icon theme is not in ${VORN_TANGO_DIR}; scripts/setup.sh installs "
                        "tango-icon-theme")
  endif()
  set(drawn ${PROJECT_SOURCE_DIR}/data/toolbar-icons)
  set(files ${drawn}/index.theme)
  set_source_files_properties(${drawn}/index.theme PROPERTIES QT_RESOURCE_ALIAS index.theme)
  foreach(icon IN LISTS VORN_TANGO_ICONS)
    string(REPLACE ":" ";" parts ${icon})
    list(GET parts 0 name)
    list(GET parts 1 source)
    foreach(size 16x16 22x22 24x24 32x32)
      set(file ${VORN_TANGO_DIR}/${size}/${source}.png)
      set_source_files_properties(${file} PROPERTIES QT_RESOURCE_ALIAS ${size}/actions/${name}.png)
      list(APPEND files ${file})
    endforeach()
    set(file ${VORN_TANGO_DIR}/scalable/${source}.svg)
    set_source_files_properties(${file} PROPERTIES QT_RESOURCE_ALIAS scalable/actions/${name}.svg)
    list(APPEND files ${file})
  endforeach()
  # The application's own pictures too, for the station's tray icon where no icon theme of the
  # desktop holds them (a program run from its build folder).
  file(GLOB pictures CONFIGURE_DEPENDS ${drawn}/*.svg ${PROJECT_SOURCE_DIR}/data/icons/*.svg)
  foreach(file IN LISTS pictures)
    get_filename_component(name ${file} NAME)
    set_source_files_properties(${file} PROPERTIES QT_RESOURCE_ALIAS scalable/actions/${name})
    list(APPEND files ${file})
  endforeach()
  qt_add_resources(${target} vorn_icons PREFIX /icons/VornEditor FILES ${files})
endfunction()
