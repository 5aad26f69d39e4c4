# Checks that the libraries build on one another one way only: every quoted
# #include of a library's source names a file of the same library or of a
# library below it, the libraries below form no cycle, no library includes a
# file of an executable's folder, and no tool includes another tool's files.
#   cmake -DSRC=<source dir> -P CheckIncludes.cmake
cmake_minimum_required(VERSION 3.25)

# Each entry: library, folder, the libraries it builds on directly. A folder
# inside another library's folder (sound/qt in sound) is a library of its own.
set(LIBRARIES
  "core        core"
  "messages    messages       core"
  "sound       sound          core"
  "translator  translator     messages"
  "editor      editor         translator"
  "link        link           core"
  "sim         sim            link translator"
  "doctor      doctor         link messages"
  "qtsound     sound/qt       sound"
  "field       editor/qt      editor"
  "platform    app/platform   qtsound"
  "app         app            field platform doctor link")
set(LIBS "")
foreach(entry IN LISTS LIBRARIES)
  string(REGEX REPLACE " +" ";" entry "${entry}")
  list(POP_FRONT entry lib dir)
  list(APPEND LIBS ${lib})
  set(${lib}_DIR ${dir})
  set(${lib}_USES ${entry})
endforeach()
# Folders outside every library (tools/, bench/, fuzz/, tests/) hold
# executables: they may include any library.
# Upward includes that are being taken out; "library>library". An entry no
# longer needed is reported so that it can go.
set(KNOWN link>messages link>sound translator>editor)

set(_faults 0)
macro(fault msg)
  message(SEND_ERROR "${msg}")
  math(EXPR _faults "${_faults} + 1")
endmacro()

# The library whose folder holds the source-relative path rel ("" if none):
# the longest matching folder wins.
function(lib_of rel out)
  set(best "")
  set(best_len 0)
  foreach(l IN LISTS LIBS)
    string(LENGTH "${${l}_DIR}" n)
    if((rel MATCHES "^${${l}_DIR}/") AND n GREATER best_len)
      set(best ${l})
      set(best_len ${n})
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

# Depth-first walk over the direct uses: sets <lib>_BELOW to every library
# below lib, and reports a cycle when the walk comes back to a library on its path.
function(walk lib path)
  if(lib IN_LIST path)
    list(APPEND path ${lib})
    string(REPLACE ";" " -> " path "${path}")
    message(SEND_ERROR "the libraries form a cycle: ${path}")
    set(_cycle TRUE PARENT_SCOPE)
    return()
  endif()
  if(DEFINED ${lib}_BELOW)
    return()
  endif()
  set(next ${path})
  list(APPEND next ${lib})
  set(below "")
  foreach(u IN LISTS ${lib}_USES)
    if(NOT u IN_LIST LIBS)
      message(SEND_ERROR "${lib} uses ${u}, which is no library")
      continue()
    endif()
    walk(${u} "${next}")
    if(_cycle)
      set(_cycle TRUE PARENT_SCOPE)
      return()
    endif()
    list(APPEND below ${u} ${${u}_BELOW})
  endforeach()
  list(REMOVE_DUPLICATES below)
  set(${lib}_BELOW "${below}" PARENT_SCOPE)
endfunction()

set(_cycle FALSE)
foreach(l IN LISTS LIBS)
  walk(${l} "")
  if(_cycle)
    message(FATAL_ERROR "include check failed")
  endif()
endforeach()

# The path of an included name, relative to SRC ("" when neither beside the
# including file nor below SRC, as with generated headers).
function(resolve file_dir name out)
  set(res "")
  if(EXISTS "${file_dir}/${name}")
    file(REAL_PATH "${file_dir}/${name}" abs)
    file(RELATIVE_PATH res "${SRC}" "${abs}")
  elseif(EXISTS "${SRC}/${name}")
    set(res "${name}")
  endif()
  set(${out} "${res}" PARENT_SCOPE)
endfunction()

set(_used_known "")
file(GLOB_RECURSE _sources RELATIVE "${SRC}" LIST_DIRECTORIES false
  "${SRC}/*.h" "${SRC}/*.cpp")
foreach(f IN LISTS _sources)
  if(f MATCHES "^build")
    continue()
  endif()
  lib_of("${f}" from)
  string(REGEX MATCH "^tools/[^/]+/" tool "${f}")
  if(NOT from AND NOT tool)
    continue()
  endif()
  get_filename_component(dir "${SRC}/${f}" DIRECTORY)
  file(STRINGS "${SRC}/${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" name "${line}")
    resolve("${dir}" "${name}" to_path)
    if(NOT to_path)
      continue()
    endif()
    if(tool)
      if(to_path MATCHES "^tools/" AND NOT to_path MATCHES "^${tool}")
        fault("${f} includes ${to_path}, a file of another tool")
      endif()
      continue()
    endif()
    lib_of("${to_path}" to)
    if(to STREQUAL from OR to IN_LIST ${from}_BELOW)
      continue()
    endif()
    if("${from}>${to}" IN_LIST KNOWN)
      list(APPEND _used_known "${from}>${to}")
    elseif(to)
      fault("${f} (${from}) includes ${to_path} (${to}), which ${from} does not build on")
    else()
      fault("${f} (${from}) includes ${to_path}, which belongs to no library")
    endif()
  endforeach()
endforeach()

foreach(k IN LISTS KNOWN)
  if(NOT k IN_LIST _used_known)
    message(STATUS "no include ${k} is left: take it out of KNOWN in CheckIncludes.cmake")
  endif()
endforeach()
if(_faults GREATER 0)
  message(FATAL_ERROR "include check failed: ${_faults} include(s) against the library graph")
endif()
