# Precompiled headers: the standard library's, Qt's and googletest's headers take half or
# more of each file's compile time, and every file of a target parses the same ones. Each
# target parses them once instead. Only headers of others go in, so a change to one of the
# program's own headers never rebuilds a precompiled header.
#
# Off by default: GCC 12 loses the system-header status of inlined library code that comes
# from a precompiled header, so its -Warray-bounds then reports libstdc++'s own std::string
# copies (a known false positive that is silent without one; mingw's GCC 12 adds
# -Wstringop-overflow to it). The default and Windows builds compile without them and keep
# the warnings; the sanitizer build (-O0, where those warnings do not run) and the fuzz build
# (clang) use them.
option(QUORREL_PRECOMPILED_HEADERS "Precompile the standard, Qt and googletest headers" OFF)

set(QUORREL_PCH_std <algorithm> <cstdint> <functional> <map> <memory> <optional> <string>
    <string_view> <utility> <vector>)
set(QUORREL_PCH_qt <QAction> <QApplication> <QDialog> <QDir> <QHeaderView>
    <QItemSelectionModel> <QImage> <QLabel> <QLineEdit> <QMenu> <QMessageBox> <QPainter>
    <QPixmap> <QPushButton> <QString> <QStringList> <QTimer> <QWidget>)
set(QUORREL_PCH_qtest <QTest>)
set(QUORREL_PCH_gtest <gtest/gtest.h>)

# quorrel_precompile_headers(<target> <kind>...): kinds are std, qt, qtest and gtest.
function(quorrel_precompile_headers target)
    if(NOT QUORREL_PRECOMPILED_HEADERS)
        return()
    endif()
    set(headers)
    foreach(kind IN LISTS ARGN)
        if(NOT DEFINED QUORREL_PCH_${kind})
            message(FATAL_ERROR "quorrel_precompile_headers: unknown kind '${kind}'")
        endif()
        list(APPEND headers ${QUORREL_PCH_${kind}})
    endforeach()
    target_precompile_headers(${target} PRIVATE ${headers})
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE -Wno-array-bounds)
    endif()
endfunction()
