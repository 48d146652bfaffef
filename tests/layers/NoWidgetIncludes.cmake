# Fails when a source file below one of DIRS includes a header of Qt Widgets.
# Called by CTest:
#   cmake -DWIDGETS_HEADERS=<QtWidgets include folder> -DDIRS=<folder;...> -P NoWidgetIncludes.cmake
cmake_minimum_required(VERSION 3.25)

file(GLOB widget_headers RELATIVE ${WIDGETS_HEADERS} ${WIDGETS_HEADERS}/*)
if(NOT widget_headers)
    message(FATAL_ERROR "Keine Header von Qt Widgets in ${WIDGETS_HEADERS}")
endif()
list(APPEND widget_headers QtWidgets)

set(found)
foreach(dir IN LISTS DIRS)
    file(GLOB_RECURSE sources ${dir}/*.h ${dir}/*.cpp)
    foreach(source IN LISTS sources)
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*$" "\\1"
                   header "${line}")
            string(REGEX REPLACE "^QtWidgets/" "" header "${header}")
            if(header IN_LIST widget_headers)
                list(APPEND found "${source}: ${header}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(found)
    list(JOIN found "\n  " lines)
    message(FATAL_ERROR "Diese Dateien binden Header von Qt Widgets ein:\n  ${lines}")
endif()
message(STATUS "Keine Header von Qt Widgets in: ${DIRS}")
