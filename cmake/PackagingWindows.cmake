# Installation and the Windows installer (cpack -G NSIS in the build directory):
# Brevant.exe alone under Program Files, a Start-menu shortcut and an
# uninstaller. Product, vendor and version are read from the version record,
# so the installer says what the executable says.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/brevant.rc version_record REGEX "VALUE \"")
foreach(field ProductName ProductVersion CompanyName)
    string(REGEX MATCH "VALUE \"${field}\", \"([^\"]*)\"" found "${version_record}")
    if(NOT found)
        message(FATAL_ERROR "resources/brevant.rc has no ${field}")
    endif()
    set(rc_${field} "${CMAKE_MATCH_1}")
endforeach()

# One self-contained executable: Qt, the C++ runtime and the threads library
# are linked in, and the symbols stripped.
target_link_options(Brevant PRIVATE -static -s)

install(TARGETS Brevant RUNTIME DESTINATION .)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME "${rc_ProductName}")
set(CPACK_PACKAGE_VENDOR "${rc_CompanyName}")
set(CPACK_PACKAGE_VERSION "${rc_ProductVersion}")
set(CPACK_PACKAGE_FILE_NAME "${rc_ProductName}-${rc_ProductVersion}-setup")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${rc_ProductName}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${rc_ProductName}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${rc_ProductName}")
set(CPACK_PACKAGE_EXECUTABLES Brevant "${rc_ProductName}")

# The 64-bit installer stub: the default 32-bit one needs a 32-bit Windows
# layer, and the program is 64-bit anyway.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_PACKAGE_NAME "${rc_ProductName}")
set(CPACK_NSIS_DISPLAY_NAME "${rc_ProductName} ${rc_ProductVersion}")
set(CPACK_NSIS_INSTALLED_ICON_NAME Brevant.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/brevant.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/brevant.ico)

include(CPack)
