# Compiler warnings for every target of ours; generated and third-party code is not affected.
function(quillory_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# quillory_add_library(NAME SOURCES ... [LINKS ...]): one folder = one static library.
# The folder that holds the library is its public include root, so headers are included as
# "core/guard.h" from app/, or by their bare name from inside the folder.
function(quillory_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}/.." PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}")
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    quillory_set_warnings(${name})
endfunction()

# quillory_add_man_page(TARGET "one-line description"): the manual page of a program, made by
# help2man from the program's own --help and --version (scripts/make-man-page), and installed
# compressed in section 1.
function(quillory_add_man_page target description)
    find_program(HELP2MAN help2man REQUIRED)
    set(page "${CMAKE_CURRENT_BINARY_DIR}/${target}.1")
    set(maker "${PROJECT_SOURCE_DIR}/scripts/make-man-page")
    add_custom_command(OUTPUT "${page}" "${page}.gz"
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
                "${maker}" $<TARGET_FILE:${target}> "${description}" "${page}"
        COMMAND sh -c "gzip -9n < '${page}' > '${page}.gz'"
        DEPENDS ${target} "${maker}"
        COMMENT "Making the manual page of ${target}"
        VERBATIM)
    add_custom_target(${target}-man ALL DEPENDS "${page}")
    install(FILES "${page}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endfunction()
