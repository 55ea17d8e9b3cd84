#pragma once

#include <QDir>
#include <QWidget>
#include <functional>
#include <string>

namespace quorrel::pictures {

// Lets events run until `done` holds or two seconds have passed.
void settle(const std::function<bool()>& done = [] { return false; });

// Writes the widget as it is painted to `folder`/`name` and prints the path.
bool save(QWidget& widget, const QDir& folder, const char* name);

// Runs `open`, which shows a modal window and waits in its loop; the window is photographed
// as `name` once it has settled and closed with `answer`.
bool grabModal(const QDir& out, const char* name, int answer, const std::function<void()>& open);

// The windows that Qt itself shows modally (message boxes, the folder dialog) and the help
// viewer, taken through the program's real prompter and viewer.
bool grabSaveQuestion(const QDir& out);
bool grabFolderPrompt(const QDir& out, const std::string& startFolder);
bool grabHelpViewer(const QDir& out, const std::string& book);

}  // namespace quorrel::pictures
