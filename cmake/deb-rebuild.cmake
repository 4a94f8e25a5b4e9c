# Run by cpack after it has made the Debian package (CPACK_POST_BUILD_SCRIPTS).
# cpack's .deb carries the time it was made, the build's own file times and
# modes that follow the umask; dpkg-deb makes it again from its contents, with
# its files in sorted order, owned by root, rw-r--r-- or rwxr-xr-x, every time
# SOURCE_DATE_EPOCH.
find_program(DPKG_DEB dpkg-deb REQUIRED)
set(epoch ${CPACK_SORELIN_SOURCE_DATE_EPOCH})
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    if(NOT deb MATCHES "\\.deb$")
        continue()
    endif()
    set(root ${deb}.root)
    file(REMOVE_RECURSE ${root})
    execute_process(COMMAND ${DPKG_DEB} --raw-extract ${deb} ${root} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND chmod -R u=rwX,go=rX ${root} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND find ${root} -exec touch -h -d @${epoch} {} +
        COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${epoch}
            ${DPKG_DEB} --root-owner-group -Zgzip -z9 --build ${root} ${deb}
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE ${root})
endforeach()
