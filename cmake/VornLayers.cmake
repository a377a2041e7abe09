# The layers of the program, lowest first: one static library per folder of src/. Each layer
# links the one below it (and so every lower layer) and exposes only its own folder, so an
# include that reaches upwards does not compile and a call that does so does not link.
#
# Qt-free layers; nothing here may include a Qt header.
set(VORN_CORE_LAYERS
  base        # class-library pieces: string lists, streams, buffers, exceptions
  platform    # Qt-free stand-ins for the system services: files, locks, processes, cp932, folders
  encoding    # character codes: detection, conversion, code letters, line splitting
  store       # the row store, its view seam, undo and line marks
  layout      # word wrap and the store's re-wrap
  textfile    # line breaks and the document read and save pipelines
  regex       # the binding of the regular-expression module and the pattern object
  syntax      # the attribute parser, keyword and bracket lists, bracket states
  search      # search engines over files (grep)
  options     # the control's option records
  settings    # ini files, file types, common settings
  document    # a document: its store, file settings and the one "modified" truth
  editcore    # the editor control's behaviour: caret, selection, editing, movement
  shellcore   # the shell's models: command line, title, status panels, history, coordination
)
# Qt layers, above every Qt-free one.
set(VORN_GUI_LAYERS
  qtplatform  # message box, dialog base, clipboard, key codes
  editor      # the TVornEdit widget
  dialogs     # the small dialogs
  shell       # entry, windows, command table
)

# vorn_layer(FOLDER SOURCES...) declares the library of one folder. Call it once per folder
# in the folder's CMakeLists.txt; layers are linked in the order above at the end of src/.
function(vorn_layer folder)
  set(target vorn_${folder})
  add_library(${target} STATIC ${ARGN})
  # The include root holds only a link named after the folder, so "folder/x.h" resolves and
  # a higher folder's headers are not there to be found.
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

# Links every declared layer to the one below it and defines vorn_core (the top Qt-free layer)
# and vorn_gui (the top Qt layer) for programs and tests.
function(vorn_link_layers)
  set(layers ${VORN_CORE_LAYERS})
  if(VORN_GUI)
    list(APPEND layers ${VORN_GUI_LAYERS})
  endif()
  set(below "")
  set(order "")
  foreach(folder IN LISTS layers)
    if(TARGET vorn_${folder})
      if(below)
        target_link_libraries(vorn_${folder} PUBLIC ${below})
      endif()
      set(below vorn_${folder})
      list(APPEND order ${folder})
      list(FIND VORN_CORE_LAYERS ${folder} coreIndex)
      if(coreIndex GREATER_EQUAL 0)
        set(topCore vorn_${folder})
      endif()
    endif()
  endforeach()
  add_library(vorn_core INTERFACE)
  target_link_libraries(vorn_core INTERFACE ${topCore})
  if(VORN_GUI)
    add_library(vorn_gui INTERFACE)
    target_link_libraries(vorn_gui INTERFACE ${below})
  endif()
  list(JOIN order " -> " text)
  message(STATUS "Layers: ${text}")
endfunction()
