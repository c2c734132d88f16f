# Cross build for 64-bit Windows with the posix-thread variant of mingw-w64 GCC.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TREVIK_TOOL_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TREVIK_TOOL_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TREVIK_TOOL_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TREVIK_TOOL_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TREVIK_TOOL_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test programs run under Wine; the wrapper gives them the build tree's prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/support/wine-run.sh)
