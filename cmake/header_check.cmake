# SPDX-License-Identifier: GPL-3.0-or-later
# PENDRO_CHECK_HEADERS: every header of the program's folders is compiled on its own, from a
# source file that includes it (twice, which its "#pragma once" must allow) and nothing else,
# with the include paths, definitions and warnings that the folder's library pendro_<folder>
# hands to its users. A header that uses a name without including it fails here even where
# every source that uses it happens to include the missing header first, or where the Qt or
# standard library at hand still brings it in through another header. The headers are found by
# their folder, so a new header is checked from the next configure on.
# Only compiled, never linked: the objects prove that the header stands alone.

set(PENDRO_HEADER_CHECK_FOLDERS core toolkit mainwin trainer trainer_addsub trainer_muldiv worksheet
    app)

add_custom_target(pendro_header_check)
foreach(folder IN LISTS PENDRO_HEADER_CHECK_FOLDERS)
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
        ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    set(sources)
    foreach(header IN LISTS headers)
        set(source ${PROJECT_BINARY_DIR}/header_check/${header}.cpp)
        # Written only when its text changes, so a reconfigure rebuilds nothing.
        set(text "// Generated: ${header} compiled on its own.\n")
        string(APPEND text "#include \"${header}\"\n#include \"${header}\"\n")
        file(CONFIGURE OUTPUT ${source} CONTENT "${text}" @ONLY)
        list(APPEND sources ${source})
    endforeach()
    if(sources)
        set(target pendro_header_check_${folder})
        add_library(${target} OBJECT ${sources})
        # The headers are compiled as their users see them; moc is not needed for that.
        set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
        target_link_libraries(${target} PRIVATE pendro_${folder})
        add_dependencies(pendro_header_check ${target})
    endif()
endforeach()
