# velkaro_add_program(NAME [WINDOWS_GUI] SOURCES file... LIBRARIES target...)
#
# One of the programs Velkaro installs: built into bin/ with the project's
# warnings and the generated build settings (BuildSettings.h) in reach,
# installed beside velkaro (each finds the others and Pirolo.Exe there), and,
# except on Windows, reached from bin/ through a relative link, so that the
# installed tree can be moved. WINDOWS_GUI makes a Windows program without a
# console; the companions are console programs, since scripts read what
# they say.
function(velkaro_add_program name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "WINDOWS_GUI" "" "SOURCES;LIBRARIES")
    if(arg_WINDOWS_GUI)
        qt_add_executable(${name} WIN32 ${arg_SOURCES})
    else()
        qt_add_executable(${name} ${arg_SOURCES})
        set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE OFF)
    endif()
    target_link_libraries(${name} PRIVATE ${arg_LIBRARIES})
    target_include_directories(${name} PRIVATE ${PROJECT_BINARY_DIR}/src/common)
    velkaro_warnings(${name})
    # Qt's project setup would add $ORIGIN search paths; the programs need
    # only the system's libraries.
    set_target_properties(${name} PROPERTIES INSTALL_RPATH "")

    install(TARGETS ${name} RUNTIME DESTINATION ${VELKARO_INSTALL_APPDIR})
    if(NOT WIN32)
        cmake_path(RELATIVE_PATH VELKARO_INSTALL_APPDIR BASE_DIRECTORY ${CMAKE_INSTALL_BINDIR}
                   OUTPUT_VARIABLE app_dir_from_bin)
        set(link ${CMAKE_CURRENT_BINARY_DIR}/bin-link/${name})
        file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/bin-link)
        file(CREATE_LINK ${app_dir_from_bin}/${name} ${link} SYMBOLIC)
        install(FILES ${link} DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endfunction()
