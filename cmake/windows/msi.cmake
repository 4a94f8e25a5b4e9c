# Run by cpack's External generator once it has put the project's installed files
# in a folder of its own (CPACK_TEMPORARY_DIRECTORY), the same files the NSIS
# installer and the zip hold: makes <name>-<version>.msi from them with Debian's
# wixl and Sorelin.wxs. The CPACK_WIXL_* variables come from PackagingWindows.cmake.
#
# Every build of a commit gives the same bytes: the cabinet keeps each file's time,
# so every file is given $SOURCE_DATE_EPOCH's; wixl-heat names folders after their
# absolute path, so they are numbered instead; wixl writes the time it runs at into
# the summary information, so it runs under faketime at that time; and the package
# code, which wixl draws at random, is derived from the package's content.
set(root "${CPACK_TEMPORARY_DIRECTORY}")
set(work "${CPACK_TOPLEVEL_DIRECTORY}/msi")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")

# Windows Installer compares three numbers: 1.00 is 1.0.0, 1.01 is 1.1.0.
if(NOT CPACK_PACKAGE_VERSION MATCHES "^([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "msi: cannot make an installer version of '${CPACK_PACKAGE_VERSION}'")
endif()
math(EXPR major "${CMAKE_MATCH_1}")
math(EXPR minor "${CMAKE_MATCH_2}")
set(version "${major}.${minor}.0")
# One product code per version, the same in every build of it, so that msiexec /x
# with any build of a version removes that version.
string(UUID product_code NAMESPACE "${CPACK_WIXL_UPGRADE_CODE}" NAME "${version}" TYPE SHA1 UPPER)

set(epoch ${CPACK_SORELIN_SOURCE_DATE_EPOCH})
execute_process(COMMAND date -u -d "@${epoch}" "+%Y-%m-%d %H:%M:%S" OUTPUT_VARIABLE build_time
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(GLOB_RECURSE files RELATIVE "${root}" "${root}/*")
execute_process(COMMAND touch -d "@${epoch}" ${files} WORKING_DIRECTORY "${root}" COMMAND_ERROR_IS_FATAL ANY)

# Every file but Brevant.exe, which Sorelin.wxs declares with its shortcut.
list(REMOVE_ITEM files Brevant.exe)
list(SORT files)
list(TRANSFORM files PREPEND "${root}/")
list(JOIN files "\n" listed)
file(WRITE "${work}/files.txt" "${listed}\n")
execute_process(COMMAND "${CPACK_WIXL_HEAT}" --prefix "${root}/" --directory-ref INSTALLDIR
        --component-group Files --var var.SourceDir
    INPUT_FILE "${work}/files.txt" OUTPUT_VARIABLE fragment COMMAND_ERROR_IS_FATAL ANY)
# wixl-heat's components are 32-bit ones, even for a 64-bit package.
string(REPLACE "Guid=\"*\">" "Guid=\"*\" Win64=\"yes\">" fragment "${fragment}")
string(REGEX MATCHALL "Directory Id=\"dir[0-9A-F]+\"" folders "${fragment}")
set(n 0)
foreach(folder IN LISTS folders)
    string(REGEX REPLACE ".*\"(dir[0-9A-F]+)\"" "\\1" id "${folder}")
    math(EXPR n "${n} + 1")
    string(REPLACE "\"${id}\"" "\"dir${n}\"" fragment "${fragment}")
endforeach()
file(WRITE "${work}/files.wxs" "${fragment}")

# wixl takes the files it packs by paths relative to where it runs, not absolute ones.
file(COPY "${CPACK_WIXL_ICON}" DESTINATION "${work}")
get_filename_component(icon "${CPACK_WIXL_ICON}" NAME)
file(RELATIVE_PATH source_dir "${work}" "${root}")
set(msi "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi")
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC "${CPACK_FAKETIME}" -f "${build_time}"
        "${CPACK_WIXL}" --arch x64 --output "${msi}"
        -D "ProductName=${CPACK_PACKAGE_NAME}" -D "Manufacturer=${CPACK_PACKAGE_VENDOR}"
        -D "Version=${version}" -D "ProductCode=${product_code}" -D "UpgradeCode=${CPACK_WIXL_UPGRADE_CODE}"
        -D "Icon=${icon}" -D "SourceDir=${source_dir}"
        "${CPACK_WIXL_SOURCE}" "${work}/files.wxs"
    WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
# The package code (the summary information's revision number): the same for the
# same package, another for any other.
foreach(step placeholder derived)
    if(step STREQUAL "placeholder")
        set(package_code 00000000-0000-0000-0000-000000000000)
    else()
        file(SHA256 "${msi}" content)
        string(UUID package_code NAMESPACE "${CPACK_WIXL_UPGRADE_CODE}" NAME "${content}" TYPE SHA1 UPPER)
    endif()
    execute_process(COMMAND "${CPACK_MSIBUILD}" "${msi}" -s "${CPACK_PACKAGE_NAME}" "${CPACK_PACKAGE_VENDOR}"
            "x64;1033" "{${package_code}}"
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
# Signed last, as signing covers the package code too (Packaging.windows.in).
if(NOT "$ENV{SORELIN_SIGN_SCRIPT}" STREQUAL "")
    execute_process(COMMAND bash "$ENV{SORELIN_SIGN_SCRIPT}" "${msi}" COMMAND_ERROR_IS_FATAL ANY)
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES "${msi}")
