# Packs the web edition's folder WEB_DIR into ZIP as one folder named after the
# zip (Sorelin-1.00-web/index.html, …), to copy to a web server as it is.
# Run by the build, and by cpack after its packages, into its own directory.
if(NOT DEFINED ZIP AND DEFINED CPACK_SORELIN_WEB_DIR)
    set(WEB_DIR ${CPACK_SORELIN_WEB_DIR})
    set(ZIP ${CPACK_PACKAGE_DIRECTORY}/${CPACK_SORELIN_WEB_ZIP_NAME}.zip)
endif()
if(NOT EXISTS ${WEB_DIR}/index.html)
    message(FATAL_ERROR "No web edition in ${WEB_DIR}: build it first")
endif()
get_filename_component(name ${ZIP} NAME)
string(REGEX REPLACE "\\.zip$" "" name "${name}")
set(stage ${ZIP}.stage)
file(REMOVE_RECURSE ${stage})
file(COPY ${WEB_DIR}/ DESTINATION ${stage}/${name})
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip --mtime=2016-04-01 ${name}
    WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${stage})
message(STATUS "Web edition packed: ${ZIP}")
