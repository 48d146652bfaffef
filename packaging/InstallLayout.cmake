# Where an installation puts Velkaro, shared by the install rules of src/app,
# launcher/ and packaging/.
#
# The program finds Pirolo.Exe and its help pages beside its own file, so the
# three share one folder. On Linux that folder is private (lib/velkaro) and
# bin/velkaro is a relative symbolic link to the program: Qt reads the
# program's path from /proc/self/exe, where the link is already resolved.
include(GNUInstallDirs)

if(WIN32)
    set(VELKARO_INSTALL_APPDIR ${CMAKE_INSTALL_BINDIR})
else()
    set(VELKARO_INSTALL_APPDIR "lib/velkaro" CACHE STRING
        "Folder below the prefix that holds the program, Pirolo.Exe and the help pages")
endif()
foreach(dir VELKARO_INSTALL_APPDIR CMAKE_INSTALL_BINDIR)
    if(IS_ABSOLUTE "${${dir}}")
        message(FATAL_ERROR "${dir} muss relativ zum Installationsziel sein, nicht ${${dir}}.")
    endif()
endforeach()

set(VELKARO_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/velkaro")

# The desktop entry, the AppStream data and the icon share one reverse-domain
# name, made from the maker's host: www.quenbrook.example gives
# example.quenbrook.velkaro.
string(TOLOWER "${VELKARO_MAKER_HOST}" _velkaro_host)
string(REGEX REPLACE "^www\\." "" _velkaro_host "${_velkaro_host}")
string(REPLACE "-" "_" _velkaro_host "${_velkaro_host}")
string(REPLACE "." ";" _velkaro_labels "${_velkaro_host}")
list(REVERSE _velkaro_labels)
list(APPEND _velkaro_labels velkaro)
list(JOIN _velkaro_labels "." _velkaro_id)
set(VELKARO_APP_ID "${_velkaro_id}" CACHE STRING
    "Reverse-domain name of the desktop entry, the AppStream data and the icon")
if(NOT VELKARO_APP_ID MATCHES "^[a-z][a-z0-9_]*(\\.[a-z0-9_]+)+$")
    message(FATAL_ERROR "VELKARO_APP_ID \"${VELKARO_APP_ID}\" ist kein Name der Form "
                        "tld.hersteller.velkaro (Kleinbuchstaben, Ziffern, _).")
endif()
