# tessaro_library(<target> FOLDER <folder> [DEPS <targets>...] [QT <components>...])
#
# One static library per subsystem folder. Its headers are included as
# "<folder>/<name>.h"; the include root a library gives its users holds only
# its own folder (a link to it under build/include/<target>/), so a file sees
# the headers of the libraries it links and no others: an include against the
# direction of the dependencies does not build. The sources are added with
# target_sources(<target> PRIVATE ...) by the folder.
# tessaro_layer(<target> <folder> <dep targets>...)
#
# Records that the library <target> lives in <folder> and builds on <deps>.
# The architecture test reads the table made of these records (tests/arch
# writes it into the build tree as layers.txt), so the graph of the libraries
# is written once, here in the build, and nowhere by hand.
function(tessaro_layer name folder)
  set_property(GLOBAL APPEND PROPERTY TESSARO_LAYER_TARGETS ${name})
  set_property(GLOBAL PROPERTY TESSARO_LAYER_FOLDER_${name} ${folder})
  set_property(GLOBAL PROPERTY TESSARO_LAYER_DEPS_${name} ${ARGN})
endfunction()

# The table of the recorded libraries, a line a folder: "<folder>:" and the
# folders it builds on (a folder with two libraries has the union).
function(tessaro_write_layers path)
  get_property(targets GLOBAL PROPERTY TESSARO_LAYER_TARGETS)
  set(folders "")
  foreach(t IN LISTS targets)
    get_property(f GLOBAL PROPERTY TESSARO_LAYER_FOLDER_${t})
    list(APPEND folders ${f})
    get_property(deps GLOBAL PROPERTY TESSARO_LAYER_DEPS_${t})
    foreach(d IN LISTS deps)
      get_property(df GLOBAL PROPERTY TESSARO_LAYER_FOLDER_${d})
      if(df AND NOT df STREQUAL f)
        list(APPEND on_${f} ${df})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES folders)
  list(SORT folders)
  set(text "")
  foreach(f IN LISTS folders)
    if(on_${f})
      list(REMOVE_DUPLICATES on_${f})
      list(SORT on_${f})
    endif()
    list(JOIN on_${f} " " deps)
    string(APPEND text "${f}: ${deps}\n")
  endforeach()
  file(WRITE ${path} "${text}")
endfunction()

function(tessaro_library name)
  cmake_parse_arguments(L "" "FOLDER" "DEPS;QT" ${ARGN})
  add_library(${name} STATIC)
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  get_filename_component(parent ${root}/${L_FOLDER} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${L_FOLDER} ${root}/${L_FOLDER} SYMBOLIC)
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC ${L_DEPS})
  tessaro_layer(${name} ${L_FOLDER} ${L_DEPS})
  if(L_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    foreach(c IN LISTS L_QT)
      target_link_libraries(${name} PUBLIC Qt6::${c})
    endforeach()
  endif()
endfunction()
