# Process start and pipes: command lines split by the Windows rules on every system.
target_sources(quorrel_platform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ProcessCapture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProcessCommandLine.cpp
)
if(WIN32)
    target_sources(quorrel_platform PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/win32/Win32OutputCapture.cpp
        ${CMAKE_CURRENT_LIST_DIR}/win32/Win32ProcessRunner.cpp
    )
else()
    target_sources(quorrel_platform PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/linux/PosixOutputCapture.cpp
        ${CMAKE_CURRENT_LIST_DIR}/linux/PosixProcessRunner.cpp
        ${CMAKE_CURRENT_LIST_DIR}/linux/ProcessProgramLookup.cpp
        ${CMAKE_CURRENT_LIST_DIR}/linux/ProcessSpawn.cpp
    )
endif()
