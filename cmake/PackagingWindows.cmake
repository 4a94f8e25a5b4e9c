# The Windows packages (cpack in the build directory): an NSIS installer that
# needs no administrator rights, the same folder as a portable zip, and as a
# Windows Installer package (.msi) for school IT, installed per machine.
#
# All three hold Brevant.exe with the Qt DLLs and the MinGW runtime DLLs beside it,
# so that a user can put another Qt in their place (Qt is used under the
# LGPL-3), and the licence files: the program's own LICENSE, the third-party
# notices written from the attribution records of the Qt source that was built
# (scripts/qt-notices.py), the LGPL-3 and GPL-3 texts, and the changes made to
# Qt's source. Product, vendor and version are read from the version record, so
# the packages say what the executable says.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/brevant.rc version_record REGEX "VALUE \"")
foreach(field ProductName ProductVersion CompanyName)
    string(REGEX MATCH "VALUE \"${field}\", \"([^\"]*)\"" found "${version_record}")
    if(NOT found)
        message(FATAL_ERROR "resources/brevant.rc has no ${field}")
    endif()
    set(rc_${field} "${CMAKE_MATCH_1}")
endforeach()
# Packages of another version, to try upgrades with (-DSORELIN_PACKAGE_VERSION=1.01);
# Brevant.exe's own version record stays as it is.
if(SORELIN_PACKAGE_VERSION)
    set(rc_ProductVersion "${SORELIN_PACKAGE_VERSION}")
endif()

target_link_options(Brevant PRIVATE -s)

install(TARGETS Brevant RUNTIME DESTINATION .)
# The DLLs are shipped without the symbol and debugging tables their builds
# left in them (Debian's libstdc++-6.dll is 23 MB with them, 2 MB without).
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/stripped)
function(install_stripped dll destination)
    get_filename_component(name ${dll} NAME)
    set(stripped ${CMAKE_CURRENT_BINARY_DIR}/stripped/${name})
    execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${stripped} ${dll} COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${stripped} DESTINATION ${destination})
endfunction()
foreach(qt Qt6::Core Qt6::Gui Qt6::Widgets)
    get_target_property(dll ${qt} IMPORTED_LOCATION_RELEASE)
    install_stripped(${dll} .)
endforeach()
get_target_property(dll Qt6::QWindowsIntegrationPlugin IMPORTED_LOCATION_RELEASE)
install_stripped(${dll} platforms)

# The C++ runtime the compiler links against, and the Debian packages they come
# from, whose copyright files carry their notices.
set(runtime_copyrights)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "the compiler knows no ${dll}")
    endif()
    file(REAL_PATH "${path}" path)
    install_stripped(${path} .)
    execute_process(COMMAND dpkg-query -S ${path} OUTPUT_VARIABLE owner RESULT_VARIABLE failed)
    string(REGEX REPLACE ":.*" "" owner "${owner}")
    if(failed OR NOT EXISTS /usr/share/doc/${owner}/copyright)
        message(FATAL_ERROR "no copyright file for ${path} (from package '${owner}')")
    endif()
    list(APPEND runtime_copyrights /usr/share/doc/${owner}/copyright)
endforeach()
list(REMOVE_DUPLICATES runtime_copyrights)

set(notices ${CMAKE_CURRENT_BINARY_DIR}/notices)
file(REMOVE_RECURSE ${notices})
find_package(Python3 REQUIRED COMPONENTS Interpreter)
execute_process(COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/qt-notices.py
        ${QT6_INSTALL_PREFIX} ${notices} ${runtime_copyrights}
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "scripts/qt-notices.py could not write the notices")
endif()
file(READ ${QT6_INSTALL_PREFIX}/share/sorelin-attributions/qt6-base-source-version.txt QT_DEB_VERSION)
string(STRIP "${QT_DEB_VERSION}" QT_DEB_VERSION)
string(REGEX REPLACE "\\+.*" "" QT_VERSION "${QT_DEB_VERSION}")
configure_file(${PROJECT_SOURCE_DIR}/scripts/qt-patches/README.txt ${notices}/qt-patches/README.txt @ONLY NEWLINE_STYLE CRLF)
file(GLOB qt_patches ${PROJECT_SOURCE_DIR}/scripts/qt-patches/*.patch)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${notices}/LICENSE.txt COPYONLY)
install(FILES ${notices}/LICENSE.txt ${notices}/THIRD-PARTY-NOTICES.txt DESTINATION .)
install(DIRECTORY ${notices}/LICENSES DESTINATION .)
install(FILES ${qt_patches} ${notices}/qt-patches/README.txt DESTINATION qt-patches)

set(CPACK_GENERATOR NSIS ZIP External)
set(CPACK_PACKAGE_NAME "${rc_ProductName}")
set(CPACK_PACKAGE_VENDOR "${rc_CompanyName}")
set(CPACK_PACKAGE_VERSION "${rc_ProductVersion}")
# The installer and the zip are named apart in Packaging.windows.in; the .msi
# keeps this name.
set(CPACK_PACKAGE_FILE_NAME "${rc_ProductName}-${rc_ProductVersion}")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/windows/Packaging.windows.in)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${rc_ProductName}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${rc_ProductName}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${rc_ProductName}")
set(CPACK_PACKAGE_EXECUTABLES Brevant "${rc_ProductName}")

# The project's own installer script (cmake/windows/NSIS.template.in): CPack's
# asks for administrator rights and installs under Program Files only.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
set(CPACK_SORELIN_SCRIPTS ${PROJECT_SOURCE_DIR}/scripts)
# Every time stamp in the packages (cmake/Reproducible.cmake); the portable zip
# and SHA256SUMS are written by the scripts the Linux packages use too
# (Packaging.windows.in).
set(CPACK_SORELIN_SOURCE_DATE_EPOCH ${SORELIN_SOURCE_DATE_EPOCH})
set(CPACK_SORELIN_CMAKE ${PROJECT_SOURCE_DIR}/cmake)
# The 64-bit installer stub: the default 32-bit one needs a 32-bit Windows
# layer, and the program is 64-bit anyway.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_PACKAGE_NAME "${rc_ProductName}")
set(CPACK_NSIS_DISPLAY_NAME "${rc_ProductName} ${rc_ProductVersion}")
set(CPACK_NSIS_INSTALLED_ICON_NAME Brevant.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/brevant.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/brevant.ico)

# The .msi, made by cmake/windows/msi.cmake from the folder cpack stages.
find_program(WIXL wixl REQUIRED)
find_program(WIXL_HEAT wixl-heat REQUIRED)
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/windows/msi.cmake)
set(CPACK_WIXL ${WIXL})
set(CPACK_WIXL_HEAT ${WIXL_HEAT})
find_program(MSIBUILD msibuild REQUIRED)
find_program(FAKETIME faketime REQUIRED)
set(CPACK_MSIBUILD ${MSIBUILD})
set(CPACK_FAKETIME ${FAKETIME})
set(CPACK_WIXL_SOURCE ${CMAKE_CURRENT_LIST_DIR}/windows/Sorelin.wxs)
set(CPACK_WIXL_ICON ${PROJECT_SOURCE_DIR}/resources/brevant.ico)
# Sorelin's for good: every version's package carries it, which is how Windows
# Installer knows a newer one replaces an older one.
set(CPACK_WIXL_UPGRADE_CODE 7E710341-6F79-4FA4-AEBB-25299F93FE04)

include(CPack)
