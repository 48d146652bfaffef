# Fails when a tracked .cpp or .h file differs from what clang-format makes
# of it with the repository's .clang-format. Called by CTest:
#   cmake -DCLANG_FORMAT=<program> -DSOURCE_DIR=<repository> -P CheckFormat.cmake
cmake_minimum_required(VERSION 3.25)

find_program(GIT git)
if(GIT)
    execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} -c core.quotePath=false ls-files -- "*.cpp" "*.h"
                    OUTPUT_VARIABLE files RESULT_VARIABLE listed ERROR_QUIET)
endif()
if(NOT GIT OR NOT listed EQUAL 0)
    message("Formatprüfung übersprungen: ${SOURCE_DIR} ist keine Git-Arbeitskopie")
    return()
endif()
string(REPLACE "\n" ";" files "${files}")
list(FILTER files EXCLUDE REGEX "^$")

execute_process(COMMAND ${CLANG_FORMAT} --style=file --dry-run -Werror ${files}
                WORKING_DIRECTORY ${SOURCE_DIR}
                RESULT_VARIABLE formatted ERROR_VARIABLE complaints)
if(NOT formatted EQUAL 0)
    string(REGEX MATCHALL "[^\n]+: error:" lines "${complaints}")
    list(TRANSFORM lines REPLACE ":[0-9]+:[0-9]+: error:$" "")
    list(REMOVE_DUPLICATES lines)
    list(JOIN lines "\n  " names)
    message(FATAL_ERROR "Nicht nach .clang-format formatiert (clang-format -i behebt es):\n  ${names}")
endif()
list(LENGTH files count)
message(STATUS "${count} Dateien sind nach .clang-format formatiert")
