#pragma once

#include <QObject>
#include <memory>

#include "platform/HelpViewer.h"
#include "platform/WindowLookup.h"

namespace quorrel::platform {

// The parts of the platform that need the user interface's toolkit on some system. CMake
// builds this folder's linux/ or win32/ implementation, as it does for platform/.

// The viewer of the help book: HTML Help on Windows; on Linux the program's own viewer
// (ChmHelpViewer), which needs a QApplication.
std::unique_ptr<HelpViewer> makeSystemHelpViewer();

// How a second start finds the running instance's main window: by its title in the
// system's window list on Windows; on Linux by asking the running instance over its local
// socket.
std::unique_ptr<WindowLookup> makeSystemWindowLookup();

// Lets later starts find this instance's windows while the returned object lives: on
// Linux it answers on the local socket (from the event loop of the user-interface thread).
// Windows finds the windows by itself; nothing is returned there.
std::unique_ptr<QObject> answerWindowLookups();

// Whether the faces of a Korean Windows ("굴림", "굴림체") are the system's own. On Linux
// they are not: the program maps them to Nanum faces installed with it.
bool systemHasKoreanWindowsFaces();

}  // namespace quorrel::platform
