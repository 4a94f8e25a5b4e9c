# Run by cpack after its packages are made (CPACK_POST_BUILD_SCRIPTS): writes
# SHA256SUMS into the package folder for the packages it made and the files
# named in CPACK_SORELIN_CHECKSUMS_ALSO (in that folder), in sha256sum's format,
# names only, sorted, so that `sha256sum -c SHA256SUMS` checks them there.
# cpack runs this before it copies its packages out of its own working folder:
# they are read there, under the names they get in the package folder.
set(entries "")
foreach(file IN LISTS CPACK_SORELIN_CHECKSUMS_ALSO)
    list(APPEND entries "${file}|${CPACK_PACKAGE_DIRECTORY}/${file}")
endforeach()
foreach(file IN LISTS CPACK_PACKAGE_FILES)
    get_filename_component(name ${file} NAME)
    # The External generator's record of its package (the Windows .msi's) is no package.
    if(name MATCHES "\\.json$")
        continue()
    endif()
    list(APPEND entries "${name}|${file}")
endforeach()
list(SORT entries)
set(sums "")
foreach(entry IN LISTS entries)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 name)
    list(GET entry 1 file)
    file(SHA256 ${file} sum)
    string(APPEND sums "${sum}  ${name}\n")
endforeach()
file(WRITE ${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS "${sums}")
message(STATUS "Checksums written: ${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS")
