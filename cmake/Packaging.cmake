# Installation and the Debian package (cpack -G DEB in the build directory).
if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/PackagingWindows.cmake)
    return()
endif()

set(CMAKE_INSTALL_DOCDIR share/doc/sorelin)
include(GNUInstallDirs)

install(TARGETS Brevant
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    BUNDLE DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/resources/jp.tamberlo.Sorelin.desktop
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/jp.tamberlo.Sorelin.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/brevant.png
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/32x32/apps
    RENAME jp.tamberlo.Sorelin.png)

# Debian's documentation files: the copyright file in the machine-readable
# format, its licence the English part of LICENSE; the changelog and the
# manual page compressed as Debian keeps them.
set(debian ${CMAKE_CURRENT_BINARY_DIR}/debian)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "\n--\n.*" "" licence "${licence}")
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n" "\n " LICENSE_TEXT " ${licence}")
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/copyright.in ${debian}/copyright @ONLY)
find_program(GZIP gzip REQUIRED)
foreach(doc changelog Brevant.1)
    execute_process(COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/resources/debian/${doc}
        OUTPUT_FILE ${debian}/${doc}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${debian}/copyright ${debian}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${debian}/Brevant.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorelin)
set(CPACK_PACKAGE_VENDOR Tamberlo)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "copies moral-education wording to the clipboard")
# Lines of at most 80 characters, as Debian's control files want them.
set(CPACK_PACKAGE_DESCRIPTION [=[Sorelin puts the official wording of a moral-education content item on the
clipboard with one click: its code, its keyword, both, or its full sentence,
for the older 24 items and the 22 items of the special school subject of
morality, with the correspondence between the two sets.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER Tamberlo)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt and C++ libraries come from dpkg-shlibdeps; the Japanese font the
# window is laid out for is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")

# After the Debian package, cpack makes it again from its own contents, with
# fixed times, modes and owners (deb-rebuild.cmake); packs the web edition
# beside it; and writes SHA256SUMS for both (checksums.cmake).
set(CPACK_SORELIN_SOURCE_DATE_EPOCH ${SORELIN_SOURCE_DATE_EPOCH})
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb-rebuild.cmake)
if(DEFINED SORELIN_WEB_DIR)
    set(CPACK_SORELIN_WEB_DIR ${SORELIN_WEB_DIR})
    set(CPACK_SORELIN_WEB_ZIP_NAME ${SORELIN_WEB_ZIP_NAME})
    set(CPACK_SORELIN_CHECKSUMS_ALSO ${SORELIN_WEB_ZIP_NAME}.zip)
    list(APPEND CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/zip.cmake)
endif()
list(APPEND CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/checksums.cmake)

include(CPack)
