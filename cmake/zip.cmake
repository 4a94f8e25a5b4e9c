# Packs the folder DIR into ZIP as one folder named after the zip
# (Sorelin-1.00-web/index.html, …): the web edition, to copy to a web server as
# it is, and the Windows portable zip.
#   cmake -DDIR=… -DZIP=… -DSOURCE_DATE_EPOCH=… -P zip.cmake
# Also run by cpack after its packages (CPACK_POST_BUILD_SCRIPTS): on Linux it
# packs the web edition into cpack's package folder; after the Windows ZIP
# generator it writes the portable zip again from the folder cpack packed, since
# cpack's zip keeps the files' own times and the order the file system gives.
# The same folder always gives the same zip: its entries in byte order of their
# names, each dated SOURCE_DATE_EPOCH (in UTC, as zip keeps local times), with
# rw-r--r-- (rwxr-xr-x for folders and programs) and no extra fields (zip -X).
if(NOT DEFINED ZIP AND DEFINED CPACK_SORELIN_WEB_DIR)
    set(DIR ${CPACK_SORELIN_WEB_DIR})
    set(ZIP ${CPACK_PACKAGE_DIRECTORY}/${CPACK_SORELIN_WEB_ZIP_NAME}.zip)
    set(SOURCE_DATE_EPOCH ${CPACK_SORELIN_SOURCE_DATE_EPOCH})
    if(NOT EXISTS ${DIR}/index.html)
        message(FATAL_ERROR "No web edition in ${DIR}: build it first")
    endif()
elseif(NOT DEFINED ZIP AND CPACK_GENERATOR MATCHES "^ZIP$")
    set(DIR ${CPACK_TEMPORARY_DIRECTORY})
    set(ZIP ${CPACK_PACKAGE_FILES})
    set(SOURCE_DATE_EPOCH ${CPACK_SORELIN_SOURCE_DATE_EPOCH})
endif()
if(NOT IS_DIRECTORY "${DIR}")
    message(FATAL_ERROR "zip.cmake: no folder ${DIR} to pack")
endif()
if(NOT SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "zip.cmake needs SOURCE_DATE_EPOCH, in seconds")
endif()
find_program(ZIP_PROGRAM zip REQUIRED)
get_filename_component(name ${ZIP} NAME)
string(REGEX REPLACE "\\.zip$" "" name "${name}")
set(stage ${ZIP}.stage)
file(REMOVE_RECURSE ${stage})
file(COPY ${DIR}/ DESTINATION ${stage}/${name})
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${stage} ${stage}/${name}/*)
list(APPEND entries ${name})
list(SORT entries)
list(JOIN entries "\n" listing)
file(WRITE ${stage}.list "${listing}\n")
execute_process(COMMAND chmod -R u=rwX,go=rX ${name}
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${stage})
execute_process(COMMAND touch -h -d @${SOURCE_DATE_EPOCH} ${entries}
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${stage})
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP_PROGRAM} -X -9 -q ${ZIP} -@
    INPUT_FILE ${stage}.list WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${stage} ${stage}.list)
message(STATUS "Packed: ${ZIP}")
