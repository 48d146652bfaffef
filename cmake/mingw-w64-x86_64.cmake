# Cross-builds Velkaro for 64-bit Windows with Debian's mingw-w64 in its POSIX
# threads variant (the one std::thread and the Qt build use), against the Qt
# that packaging/windows/build-qt.sh makes; Qt's moc, rcc and uic come from
# the host's Qt of the same version.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(VELKARO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELKARO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELKARO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELKARO_MINGW_TRIPLE}-windres)

# The script names the Qt it builds (version and options decide the folder).
if(NOT VELKARO_QT_PREFIX)
    execute_process(
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/../packaging/windows/build-qt.sh --prefix
        OUTPUT_VARIABLE VELKARO_QT_PREFIX OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0 OR NOT VELKARO_QT_PREFIX)
        message(FATAL_ERROR "packaging/windows/build-qt.sh --prefix ist fehlgeschlagen.")
    endif()
endif()
if(NOT EXISTS ${VELKARO_QT_PREFIX}/.velkaro-qt-complete)
    message(FATAL_ERROR "Qt für Windows fehlt in ${VELKARO_QT_PREFIX}; "
                        "./dev windows oder packaging/windows/build-qt.sh baut es.")
endif()
set(VELKARO_QT_PREFIX ${VELKARO_QT_PREFIX} CACHE PATH "The Qt for Windows that the build links against")
# try_compile projects read the toolchain again; they get the prefix handed on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELKARO_QT_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${VELKARO_MINGW_TRIPLE} ${VELKARO_QT_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# CTest runs the Windows programs under Wine; the wrapper learns where the
# Qt DLLs are.
get_filename_component(_velkaro_source ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_velkaro_source}/tests/windows/wine-run.sh ${VELKARO_QT_PREFIX})
