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
