# Cross-compiles for 32-bit Windows with mingw-w64. The compilers come from
# the cache (the parent build found them), so one file serves any layout.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(CMAKE_CXX_COMPILER "${VELKARO_MINGW_CXX}")
set(CMAKE_RC_COMPILER "${VELKARO_MINGW_WINDRES}")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
