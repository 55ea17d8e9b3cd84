# The registry store: the Windows registry, or on Linux its stand-in store file. Both
# quorrel (through quorrel_platform) and uninstall-cleanup link it, so it depends on
# nothing of the program but the compile settings.
add_library(registry_store STATIC)
target_link_libraries(registry_store PUBLIC quorrel_settings)
if(WIN32)
    target_sources(registry_store PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/win32/Win32CodePage.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/Win32RegistryStore.cpp
    )
    target_link_libraries(registry_store PUBLIC advapi32)
else()
    # glibc brings iconv, so no library beyond the C++ runtime is needed.
    target_sources(registry_store PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/linux/AtomicFile.cpp
        ${CMAKE_CURRENT_LIST_DIR}/linux/FdWrite.cpp
        ${CMAKE_CURRENT_LIST_DIR}/linux/FileRegistryStore.cpp
        ${CMAKE_CURRENT_LIST_DIR}/linux/RegistryHive.cpp
    )
endif()
target_link_libraries(quorrel_platform PUBLIC registry_store)
