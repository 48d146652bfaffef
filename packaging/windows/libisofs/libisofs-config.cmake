# libisofs for Windows as packaging/windows/build-libisofs.sh installs it
# (find_package(libisofs CONFIG) with its prefix): the imported target
# libisofs::libisofs. Its users get velkaro-win32.h force-included, as the
# library was built: libisofs.h needs its types before any system header.
get_filename_component(_libisofs_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
if(NOT EXISTS "${_libisofs_prefix}/.velkaro-libisofs-complete")
    set(libisofs_FOUND FALSE)
    set(libisofs_NOT_FOUND_MESSAGE "${_libisofs_prefix} is not complete")
    return()
endif()
file(STRINGS "${_libisofs_prefix}/version.txt" libisofs_VERSION LIMIT_COUNT 1)
if(NOT TARGET libisofs::libisofs)
    add_library(libisofs::libisofs STATIC IMPORTED)
    set_target_properties(libisofs::libisofs PROPERTIES
        IMPORTED_LOCATION "${_libisofs_prefix}/lib/libisofs.a"
        INTERFACE_INCLUDE_DIRECTORIES "${_libisofs_prefix}/include"
        INTERFACE_COMPILE_OPTIONS
            "SHELL:-include \"${_libisofs_prefix}/include/libisofs/velkaro-win32.h\"")
endif()
