# The layers that must stay free of widgets: the base and core link no Qt
# Widgets, directly or through anything they link. Checked when CMake
# configures, so that a widget cannot creep in unnoticed; the includes are
# checked by the test layers_no_widget_includes.

# Every library that target links, directly or through others, as
# "library<-linked-by" pairs, so that a failure can say where it came from.
function(velkaro_linked_libraries target out_var)
    set(pending ${target})
    set(seen ${target})
    set(result)
    while(pending)
        list(POP_FRONT pending current)
        set(links)
        if(TARGET ${current})
            get_target_property(aliased ${current} ALIASED_TARGET)
            if(aliased)
                set(links ${aliased})
            else()
                get_target_property(type ${current} TYPE)
                get_target_property(imported ${current} IMPORTED)
                if(NOT imported AND NOT type STREQUAL "INTERFACE_LIBRARY")
                    get_target_property(direct ${current} LINK_LIBRARIES)
                    if(direct)
                        list(APPEND links ${direct})
                    endif()
                endif()
                get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
                if(interface)
                    list(APPEND links ${interface})
                endif()
            endif()
        endif()
        foreach(link IN LISTS links)
            # $<LINK_ONLY:x> is still linked; other expressions name no library.
            string(REGEX REPLACE "^\\$<LINK_ONLY:([^>]+)>$" "\\1" link "${link}")
            if(link MATCHES "^\\$<" OR link IN_LIST seen)
                continue()
            endif()
            list(APPEND seen ${link})
            list(APPEND pending ${link})
            list(APPEND result "${link}<-${current}")
        endforeach()
    endwhile()
    set(${out_var} ${result} PARENT_SCOPE)
endfunction()

# Stops the configuration when one of the targets links Qt Widgets.
function(velkaro_forbid_widgets)
    foreach(target IN LISTS ARGN)
        velkaro_linked_libraries(${target} links)
        foreach(pair IN LISTS links)
            if(pair MATCHES "^(Qt6?::Widgets)<-(.*)$")
                message(FATAL_ERROR
                    "${target} darf Qt Widgets nicht linken, bekommt es aber über "
                    "${CMAKE_MATCH_2}. Widgets gehören in src/platform oder die Fenster.")
            endif()
        endforeach()
    endforeach()
endfunction()
