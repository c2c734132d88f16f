# One static library per folder of the library, built twice: trevik_<folder>
# for the shipped library and trevik_<folder>_faults with its platform seams
# injectable, for the failure tests only. Each library sees the headers of
# its own folder and of the folders cmake/Layers.cmake lets it use, and no
# others: its include path holds one directory per such folder, with a link
# named after the folder, so an include that reaches up does not compile.
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

set(TREVIK_SYSTEM_LIBRARIES oleaut32 ole32 uuid advapi32 user32 kernel32)
set(TREVIK_LAYER_INCLUDE_DIR ${CMAKE_BINARY_DIR}/layers)

add_library(trevik_warnings INTERFACE)
target_compile_options(trevik_warnings INTERFACE -Wall -Wextra -Wno-unknown-pragmas)
target_compile_definitions(trevik_warnings INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_options(trevik_warnings INTERFACE -static -static-libgcc -static-libstdc++)

# trevik_layer(folder [SOURCES ...]): the two libraries of `folder`, from
# sources given relative to it; without sources, header-only libraries.
function(trevik_layer folder)
  cmake_parse_arguments(L "" "" "SOURCES" ${ARGN})
  set(include_dir ${TREVIK_LAYER_INCLUDE_DIR}/${folder})
  file(MAKE_DIRECTORY ${include_dir})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${include_dir}/${folder} SYMBOLIC)
  list(TRANSFORM L_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  foreach(variant "" _faults)
    set(target trevik_${folder}${variant})
    if(L_SOURCES)
      add_library(${target} STATIC ${L_SOURCES})
      set(scope PUBLIC)
      # Sections per function and per datum, so that the library's link
      # keeps only what it reaches.
      target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
    else()
      add_library(${target} INTERFACE)
      set(scope INTERFACE)
    endif()
    target_include_directories(${target} ${scope} ${include_dir})
    foreach(used IN LISTS TREVIK_LAYER_USES_${folder})
      target_link_libraries(${target} ${scope} trevik_${used}${variant})
    endforeach()
    target_link_libraries(${target} ${scope} trevik_warnings ${TREVIK_SYSTEM_LIBRARIES})
    if(variant)
      target_compile_definitions(${target} ${scope} TREVIK_FAULT_INJECTION)
    endif()
  endforeach()
endfunction()
