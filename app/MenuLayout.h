#pragma once

#include <string>
#include <vector>

namespace quorrel {

// The main window's menu bar, toolbar, accelerators and command prompts as plain data; the
// Qt frame builds its widgets from these tables.

struct MenuEntry {
    int command = 0;  // 0 for a separator
    const char* text = "";
};

struct MenuSpec {
    const char* title = "";
    std::vector<MenuEntry> entries;
};

struct ToolButtonSpec {
    int command = 0;
    const char* label = "";
    int imageIndex = 0;  // position in the image strips
};

// A key chord as the menu texts write it ("Ctrl+P"), and the command it sends.
struct AcceleratorSpec {
    const char* keys = "";
    int command = 0;
};

// The five menus, in order.
const std::vector<MenuSpec>& mainMenus();

// The ten toolbar buttons, in order.
const std::vector<ToolButtonSpec>& toolButtons();

// Ctrl+P prints, Ctrl+X exits.
const std::vector<AcceleratorSpec>& accelerators();

// The status-bar prompt of a command, which is also its tooltip; empty when the command has
// no prompt.
std::string commandPrompt(int command);

// Position of a command's picture in the image strips, or -1 when it has none. The menu
// entries of the ten toolbar commands show the same pictures, small.
int commandImageIndex(int command);

}  // namespace quorrel
