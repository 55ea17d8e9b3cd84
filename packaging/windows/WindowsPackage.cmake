# The Windows program as a user gets it: one folder with quorrel.exe, uninstall-cleanup.exe,
# the help book, Qt's DLLs and plugins, Qt's Korean texts and the C++ runtime that Qt's DLLs
# use. The build folder's bin/ is laid out the same way (target windows_runtime), so the
# program and the tests run from it under wine as they run installed.
# The installer: cpack -G NSIS in the build folder makes quorrel-<version>-win64.exe.

get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
get_filename_component(qt_prefix ${qt_bin} DIRECTORY)

set(qt_dlls)
foreach(module Core Gui Widgets PrintSupport Network)
    list(APPEND qt_dlls ${qt_bin}/Qt6${module}.dll)
endforeach()
# The windows platform plugin shows the windows; offscreen serves the tests without a display.
set(qt_platform_plugins ${qt_prefix}/plugins/platforms/qwindows.dll
    ${qt_prefix}/plugins/platforms/qoffscreen.dll)
set(qt_style_plugins ${qt_prefix}/plugins/styles/qwindowsvistastyle.dll)
set(qt_image_plugins ${qt_prefix}/plugins/imageformats/qico.dll)

# Qt's DLLs are built with the shared C++ runtime of the same mingw-w64.
set(runtime_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
        message(FATAL_ERROR "The mingw-w64 runtime ${dll} was not found")
    endif()
    list(APPEND runtime_dlls ${found})
endforeach()

# Qt's own texts in Korean (standard buttons, file and print dialogs): the catalogue of the
# machine's Qt of the same version serves, it is the same on every system.
find_file(QUORREL_QT_KOREAN qtbase_ko.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# qt.conf points Qt to the program's folder for its plugins and texts.
set(qt_conf ${CMAKE_CURRENT_BINARY_DIR}/qt.conf)
file(WRITE ${qt_conf} "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n")

set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
add_custom_target(windows_runtime ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/platforms ${bin}/styles
        ${bin}/imageformats ${bin}/translations
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_dlls} ${runtime_dlls} ${qt_conf} ${bin}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_platform_plugins} ${bin}/platforms
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_style_plugins} ${bin}/styles
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_image_plugins} ${bin}/imageformats
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUORREL_QT_KOREAN} ${bin}/translations
    COMMENT "Laying Qt's DLLs, plugins and Korean texts beside the programs"
    VERBATIM)
add_dependencies(quorrel windows_runtime)

# The installed folder: Program Files\Quorrel.
install(TARGETS quorrel quorrel_console uninstall-cleanup RUNTIME DESTINATION .)
install(FILES ${QUORREL_HELP_BOOK} ${qt_dlls} ${runtime_dlls} ${qt_conf} DESTINATION .)
install(FILES ${qt_platform_plugins} DESTINATION platforms)
install(FILES ${qt_style_plugins} DESTINATION styles)
install(FILES ${qt_image_plugins} DESTINATION imageformats)
install(FILES ${QUORREL_QT_KOREAN} DESTINATION translations)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Quorrel)
set(CPACK_PACKAGE_VENDOR Varnok)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Switches a network adapter between named IP configurations")
set(CPACK_PACKAGE_FILE_NAME quorrel-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quorrel)
# The installer's own key, beside the program's settings key (which it must not delete).
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Quorrel Setup")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME "Quorrel ${PROJECT_VERSION}")
set(CPACK_NSIS_PACKAGE_NAME "Quorrel ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALLED_ICON_NAME quorrel.exe)
# The Start-menu entry with the program's Korean name.
set(CPACK_PACKAGE_EXECUTABLES quorrel "쿼렐 IP 설정 전환기")
# The uninstaller leaves the user's profile file (it lives in the folder the user chose, not
# here) and removes every file it installed, then the folder when it is empty.
set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
# The program finds its folder (and keeps the profile file there) by the registry's PATH
# value, so an installed program starts without asking for it. 64-bit view: the program is.
# (CPack writes the text into a quoted CMake string, hence the doubled backslashes.)
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  SetRegView 64
  WriteRegStr HKLM 'SOFTWARE\\Varnok\\Quorrel' 'PATH' '$INSTDIR'
]=])

# CMake's installer script made a 64-bit Unicode installer: the Korean menu name survives,
# and a 64-bit Windows (or wine64) needs no 32-bit part to run it.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in nsis_template)
# The template starts with a byte order mark, which must stay first.
string(FIND "${nsis_template}" ";" first_line)
string(SUBSTRING "${nsis_template}" 0 ${first_line} byte_order_mark)
string(SUBSTRING "${nsis_template}" ${first_line} -1 nsis_script)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/nsis/NSIS.template.in
    "${byte_order_mark}Target amd64-unicode\n${nsis_script}")
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_BINARY_DIR}/nsis ${CMAKE_MODULE_PATH})
include(CPack)
