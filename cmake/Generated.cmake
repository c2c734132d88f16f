# Everything that repeats an identifier is generated from cmake/Identifiers.cmake.
set(TREVIK_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${TREVIK_GENERATED_DIR})

set(TREVIK_WINE_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows
    CACHE PATH "Folder holding stdole2.tlb for the interface compiler")
find_program(TREVIK_WIDL NAMES x86_64-w64-mingw32-widl REQUIRED)

configure_file(${CMAKE_SOURCE_DIR}/typelib/trevik.idl.in ${TREVIK_GENERATED_DIR}/trevik.idl @ONLY)
# Split the AppID into the fields of a GUID initialiser.
string(REPLACE "-" "" _appid_digits ${TREVIK_APPID})
string(SUBSTRING ${_appid_digits} 0 8 APPID_D1)
string(SUBSTRING ${_appid_digits} 8 4 APPID_D2)
string(SUBSTRING ${_appid_digits} 12 4 APPID_D3)
foreach(byte RANGE 7)
  math(EXPR _offset "16 + 2 * ${byte}")
  string(SUBSTRING ${_appid_digits} ${_offset} 2 APPID_B${byte})
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/typelib/Identifiers.h.in ${TREVIK_GENERATED_DIR}/Identifiers.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/AppID.rgs.in
               ${TREVIK_GENERATED_DIR}/AppID.rgs @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/resources/ZuTrevikHelper.rgs.in
               ${TREVIK_GENERATED_DIR}/ZuTrevikHelper.rgs @ONLY NEWLINE_STYLE CRLF)

# The interface compiler writes the type library and the C++ declaration of
# the interface from the same description.
set(TREVIK_TYPELIB ${TREVIK_GENERATED_DIR}/trevik.tlb)
set(TREVIK_INTERFACE_HEADER ${TREVIK_GENERATED_DIR}/TrevikInterfaces.h)
add_custom_command(
  OUTPUT ${TREVIK_TYPELIB} ${TREVIK_INTERFACE_HEADER}
  COMMAND ${TREVIK_WIDL} --win64 -I ${CMAKE_SOURCE_DIR}/typelib -L ${TREVIK_WINE_STDOLE_DIR}
          -t -o ${TREVIK_TYPELIB} ${TREVIK_GENERATED_DIR}/trevik.idl
  COMMAND ${TREVIK_WIDL} --win64 -I ${CMAKE_SOURCE_DIR}/typelib
          -h -H ${TREVIK_INTERFACE_HEADER} ${TREVIK_GENERATED_DIR}/trevik.idl
  DEPENDS ${TREVIK_GENERATED_DIR}/trevik.idl ${CMAKE_SOURCE_DIR}/typelib/BaseInterfaces.idl
  COMMENT "Compiling the interface description"
  VERBATIM)
add_custom_target(trevik_interface DEPENDS ${TREVIK_TYPELIB} ${TREVIK_INTERFACE_HEADER})
