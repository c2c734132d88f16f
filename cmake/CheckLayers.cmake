# Checks every quoted #include of the library's folders against the layer list
# in Layers.cmake: a folder may include its own files and those of the folders
# it may use, and nothing else.
#
#   cmake -DSOURCE_DIR=<repository root> -P cmake/CheckLayers.cmake
#
# Prints one line per include that breaks the rule and exits nonzero if there
# is any.
cmake_minimum_required(VERSION 3.16)

if(NOT DEFINED SOURCE_DIR OR SOURCE_DIR STREQUAL "")
  message(FATAL_ERROR "CheckLayers: give the repository root as -DSOURCE_DIR=<dir>")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
if(NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "CheckLayers: SOURCE_DIR ${SOURCE_DIR} is not a folder")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

# Headers the build generates or keeps in typelib and that callers include
# without a folder, through the typelib include path.
set(typelib_headers Identifiers.h TrevikInterfaces.h BaseInterfaces.h)

foreach(layer IN LISTS TREVIK_LAYERS)
  if(NOT IS_DIRECTORY "${SOURCE_DIR}/${layer}")
    message(FATAL_ERROR "CheckLayers: layer folder ${layer} is listed in Layers.cmake "
                        "but ${SOURCE_DIR}/${layer} does not exist")
  endif()
endforeach()

set(files_checked 0)
set(violations 0)
foreach(layer IN LISTS TREVIK_LAYERS)
  set(allowed ${layer} ${TREVIK_LAYER_USES_${layer}})
  file(GLOB_RECURSE files LIST_DIRECTORIES false
    "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp" "${SOURCE_DIR}/${layer}/*.in"
    "${SOURCE_DIR}/${layer}/*.rc" "${SOURCE_DIR}/${layer}/*.idl")
  list(SORT files)
  foreach(path IN LISTS files)
    math(EXPR files_checked "${files_checked} + 1")
    file(RELATIVE_PATH shown "${SOURCE_DIR}" "${path}")
    file(READ "${path}" text)
    # Skip files with no quoted include before splitting them into lines.
    if(NOT text MATCHES "#[ \t]*include[ \t]*\"")
      continue()
    endif()
    # One list element per line, empty lines included so the numbers stay
    # right. Characters CMake lists treat specially are masked first.
    string(REPLACE "\r" "" text "${text}")
    string(REPLACE ";" "<semicolon>" text "${text}")
    string(REPLACE "[" "<open>" text "${text}")
    string(REPLACE "]" "<close>" text "${text}")
    string(REPLACE "\\" "<backslash>" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\"")
        continue()
      endif()
      set(target "${CMAKE_MATCH_1}")
      string(REPLACE "<backslash>" "\\" target "${target}")
      string(REPLACE "<open>" "[" target "${target}")
      string(REPLACE "<close>" "]" target "${target}")

      # Configured files name their own folder or the root through a
      # substituted variable; read those as the path they stand for.
      set(name "${target}")
      if(name MATCHES "^@CMAKE_CURRENT_SOURCE_DIR@/(.*)$")
        set(name "${layer}/${CMAKE_MATCH_1}")
      elseif(name MATCHES "^@CMAKE_SOURCE_DIR@/(.*)$")
        set(name "${CMAKE_MATCH_1}")
      endif()
      string(REGEX REPLACE "^(\\./)+" "" name "${name}")

      if(NOT name MATCHES "/")
        if(name IN_LIST typelib_headers)
          set(from typelib)
        else()
          set(from ${layer})
        endif()
      else()
        string(REGEX REPLACE "/.*$" "" from "${name}")
        if(NOT from IN_LIST TREVIK_LAYERS)
          message("${shown}:${number}: ${layer} includes ${target}, which is outside the library's folders")
          math(EXPR violations "${violations} + 1")
          continue()
        endif()
      endif()
      if(NOT from IN_LIST allowed)
        message("${shown}:${number}: ${layer} includes ${target}, from ${from}, which ${layer} may not use")
        math(EXPR violations "${violations} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations GREATER 0)
  message(FATAL_ERROR "include layers: ${violations} includes break the layer order "
                      "(${files_checked} files checked, layers in cmake/Layers.cmake)")
endif()
message("include layers: ${files_checked} files checked, no include reaches up")
