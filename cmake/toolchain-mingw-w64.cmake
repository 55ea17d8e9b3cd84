# Cross build for 64-bit Windows with Debian's mingw-w64 (package
# g++-mingw-w64-x86-64-posix: the POSIX thread model, which std::thread needs).
# Test programs run under wine64 in a throw-away prefix (cmake/toolchain-wine-run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORREL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORREL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORREL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORREL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORREL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt for Windows (scripts/build-windows-qt.sh) is found in its own install folder.
if(QUORREL_WINDOWS_QT)
    list(APPEND CMAKE_FIND_ROOT_PATH ${QUORREL_WINDOWS_QT})
endif()

# ctest starts every test program through wine (Qt's own build goes without it).
if(NOT DEFINED QUORREL_WINE_EMULATOR OR QUORREL_WINE_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/toolchain-wine-run.sh)
endif()
