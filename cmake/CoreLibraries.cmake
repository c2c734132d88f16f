# trevik_core holds every subsystem's code; trevik_core_faults is the same
# code built with its platform seams injectable, for the failure tests only.
set(TREVIK_SYSTEM_LIBRARIES oleaut32 ole32 uuid advapi32 user32 kernel32)

add_library(trevik_warnings INTERFACE)
target_compile_options(trevik_warnings INTERFACE -Wall -Wextra -Wno-unknown-pragmas)
target_compile_definitions(trevik_warnings INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_options(trevik_warnings INTERFACE -static -static-libgcc -static-libstdc++)

foreach(core trevik_core trevik_core_faults)
  add_library(${core} STATIC)
  add_dependencies(${core} trevik_interface)
  target_include_directories(${core} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/typelib ${TREVIK_GENERATED_DIR})
  target_link_libraries(${core} PUBLIC trevik_warnings ${TREVIK_SYSTEM_LIBRARIES})
  # Sections per function and per datum, so that the library's link keeps
  # only what it reaches.
  target_compile_options(${core} PRIVATE -ffunction-sections -fdata-sections)
endforeach()
target_compile_definitions(trevik_core_faults PUBLIC TREVIK_FAULT_INJECTION)

# Adds sources, given relative to the calling folder, to both core builds.
function(trevik_core_sources)
  foreach(source IN LISTS ARGN)
    target_sources(trevik_core PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${source})
    target_sources(trevik_core_faults PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  endforeach()
endfunction()
