# cmake -DSOURCE=file -DDESTINATION=file -P CopyIfAbsent.cmake
# Copies SOURCE to DESTINATION unless something is already there.
if(NOT EXISTS "${DESTINATION}")
    get_filename_component(folder "${DESTINATION}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY_FILE "${SOURCE}" "${DESTINATION}")
    message(STATUS "Created ${DESTINATION}")
endif()
