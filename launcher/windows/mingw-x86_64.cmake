# Cross-compiles for 64-bit Windows with mingw-w64: only the launcher of the
# end-to-end test (tests/disc), which runs under a 64-bit Wine. The compilers
# come from the cache, as in mingw-i686.cmake.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(CMAKE_CXX_COMPILER "${VELKARO_MINGW_CXX}")
set(CMAKE_RC_COMPILER "${VELKARO_MINGW_WINDRES}")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
