# tessaro_library(<target> FOLDER <folder> [DEPS <targets>...] [QT <components>...])
#
# One static library per subsystem folder. Its headers are included as
# "<folder>/<name>.h"; the include root a library gives its users holds only
# its own folder (a link to it under build/include/<target>/), so a file sees
# the headers of the libraries it links and no others: an include against the
# direction of the dependencies does not build. The sources are added with
# target_sources(<target> PRIVATE ...) by the folder.
function(tessaro_library name)
  cmake_parse_arguments(L "" "FOLDER" "DEPS;QT" ${ARGN})
  add_library(${name} STATIC)
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  get_filename_component(parent ${root}/${L_FOLDER} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${L_FOLDER} ${root}/${L_FOLDER} SYMBOLIC)
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC ${L_DEPS})
  if(L_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    foreach(c IN LISTS L_QT)
      target_link_libraries(${name} PUBLIC Qt6::${c})
    endforeach()
  endif()
endfunction()
