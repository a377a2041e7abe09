# The layers of the program: one static library per folder of src/, each naming the layers its
# code uses. A layer links what it names and sees the include roots of what it names (and of
# what those name in turn), and nothing else: an include of a layer outside that graph does not
# compile and a call into it does not link. Layers are declared lowest first, and a layer may
# only name layers declared before it, so the graph has no cycle.
#
# vorn_declare_layer(FOLDER CORE|GUI [USED LAYERS...])
macro(vorn_declare_layer folder kind)
  list(APPEND VORN_${kind}_LAYERS ${folder})
  set(VORN_USES_${folder} ${ARGN})
endmacro()

# Qt-free layers; nothing here may include a Qt header.
set(VORN_CORE_LAYERS "")
# class-library pieces: string lists, streams, buffers, exceptions
vorn_declare_layer(base       CORE)
# Qt-free stand-ins for the system services: files, locks, processes, cp932, folders, the bus
vorn_declare_layer(platform   CORE base)
# character codes: detection, conversion, code letters, line splitting
vorn_declare_layer(encoding   CORE base platform)
# the row store, its view seam, undo and line marks
vorn_declare_layer(store      CORE base encoding platform)
# word wrap and the store's re-wrap
vorn_declare_layer(layout     CORE base store)
# line breaks and the document read and save pipelines
vorn_declare_layer(textfile   CORE base encoding platform store)
# the binding of the regular-expression module and the pattern object
vorn_declare_layer(regex      CORE base platform)
# the attribute parser, keyword and bracket lists, bracket states
vorn_declare_layer(syntax     CORE base regex store)
# search engines over files (grep)
vorn_declare_layer(search     CORE base encoding platform regex syntax)
# the control's option records
vorn_declare_layer(options    CORE base syntax)
# ini files, file types, common settings
vorn_declare_layer(settings   CORE base encoding layout options platform syntax)
# a document: its store, file settings and the one "modified" truth
vorn_declare_layer(document   CORE layout platform store textfile)
# the editor control's behaviour: caret, selection, editing, movement
vorn_declare_layer(editcore   CORE base layout options search store syntax)
# the shell's models: command line, title, status panels, history, coordination
vorn_declare_layer(shellcore  CORE base document editcore encoding platform settings store syntax textfile)
# keyboard macros: steps, the ".mac" format, recording and replay through the dispatcher
vorn_declare_layer(macro      CORE base editcore encoding platform shellcore textfile)
# print settings, paper sizes and the page layout
vorn_declare_layer(printcore  CORE base settings)

# Qt layers, above every Qt-free one.
set(VORN_GUI_LAYERS "")
# message box, dialog base, clipboard, key codes
vorn_declare_layer(qtplatform GUI  platform)
# the TVornEdit widget
vorn_declare_layer(editor     GUI  base editcore layout platform store)
# the dialogs
vorn_declare_layer(dialogs    GUI  base document editor encoding macro platform qtplatform search settings shellcore
                                   syntax textfile)
# page pictures, printing, the preview and the print dialog
vorn_declare_layer(print      GUI  base editor platform printcore qtplatform settings)
# entry, windows, command table
vorn_declare_layer(shell      GUI  base dialogs document editor layout macro platform print printcore qtplatform
                                   regex search settings shellcore store syntax textfile)

# vorn_layer(FOLDER SOURCES...) declares the library of one folder. Call it once per folder
# in the folder's CMakeLists.txt; layers are linked along the graph above at the end of src/.
function(vorn_layer folder)
  set(target vorn_${folder})
  add_library(${target} STATIC ${ARGN})
  # The include root holds only a link named after the folder, so "folder/x.h" resolves and
  # the headers of a layer outside the graph are not there to be found.
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
  target_compile_options(${target} PRIVATE ${VORN_WARNINGS})
  list(FIND VORN_GUI_LAYERS ${folder} guiIndex)
  if(guiIndex GREATER_EQUAL 0)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    target_link_libraries(${target} PUBLIC Qt6::Widgets Qt6::PrintSupport Qt6::Network)
    # The core names things "slots" and "signals"; the widgets say Q_SLOTS, Q_SIGNALS, Q_EMIT.
    target_compile_definitions(${target} PUBLIC QT_NO_KEYWORDS)
  endif()
endfunction()

# Links every declared layer to the layers it names and defines vorn_core (every Qt-free
# layer) and vorn_gui (every layer) for programs and tests.
function(vorn_link_layers)
  set(layers ${VORN_CORE_LAYERS})
  if(VORN_GUI)
    list(APPEND layers ${VORN_GUI_LAYERS})
  endif()
  set(declared "")
  set(built "")
  set(edges "")
  foreach(folder IN LISTS layers)
    foreach(used IN LISTS VORN_USES_${folder})
      if(NOT used IN_LIST declared)
        message(FATAL_ERROR "Layer ${folder} uses ${used}, which is not declared below it")
      endif()
    endforeach()
    list(APPEND declared ${folder})
    if(NOT TARGET vorn_${folder})
      continue()
    endif()
    list(APPEND built vorn_${folder})
    foreach(used IN LISTS VORN_USES_${folder})
      if(TARGET vorn_${used})
        target_link_libraries(vorn_${folder} PUBLIC vorn_${used})
      endif()
    endforeach()
    list(JOIN VORN_USES_${folder} " " usedText)
    list(APPEND edges "${folder}: ${usedText}")
  endforeach()
  set(coreTargets "")
  foreach(folder IN LISTS VORN_CORE_LAYERS)
    if(TARGET vorn_${folder})
      list(APPEND coreTargets vorn_${folder})
    endif()
  endforeach()
  add_library(vorn_core INTERFACE)
  target_link_libraries(vorn_core INTERFACE ${coreTargets})
  if(VORN_GUI)
    add_library(vorn_gui INTERFACE)
    target_link_libraries(vorn_gui INTERFACE ${built})
  endif()
  list(JOIN edges "; " text)
  message(STATUS "Layers (each with the layers it uses): ${text}")
endfunction()
