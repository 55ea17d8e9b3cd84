#include "app/MenuLayout.h"

#include <map>

#include "base/CommandIds.h"
#include "resources/AppTexts.h"
#include "resources/RecognitionTexts.h"
#include "resources/SafetyTexts.h"

namespace quorrel {

using namespace texts;

const std::vector<MenuSpec>& mainMenus() {
    static const std::vector<MenuSpec> menus = {
        {kMenuFile,
         {{ID_FILE_PRINT, kMenuPrint},
          {ID_FILE_PRINT_PREVIEW, kMenuPrintPreview},
          {0, ""},
          {ID_APP_EXIT, kMenuExit}}},
        {kMenuTools,
         {{ID_ADAPTER_SELECT, kMenuSelectAdapter},
          {ID_PROFILE_APPLY, kMenuApply},
          {ID_CHECK_AFTER_APPLY, kMenuCheckAfterApply},
          {ID_AUTO_SWITCH, kMenuAutoSwitch},
          {ID_SHOW_TRAY, kMenuShowTray}}},
        {kMenuEdit,
         {{ID_PROFILE_ADD, kMenuAdd},
          {ID_PROFILE_COPY, kMenuCopy},
          {ID_PROFILE_EDIT, kMenuEditProfile},
          {ID_PROFILE_DELETE, kMenuDelete}}},
        {kMenuView,
         {{ID_VIEW_TOOLBAR, kMenuToolBar},
          {ID_VIEW_STATUS_BAR, kMenuStatusBar},
          {0, ""},
          {ID_ADAPTER_STATUS, kMenuStatus}}},
        {kMenuHelp,
         {{ID_APP_ABOUT, kMenuAbout},
          {ID_CHECK_UPDATE, kMenuCheckUpdate},
          {ID_SHOW_HELP, kMenuShowHelp}}},
    };
    return menus;
}

const std::vector<ToolButtonSpec>& toolButtons() {
    static const std::vector<ToolButtonSpec> buttons = {
        {ID_FILE_PRINT, kButtonPrint, 0},      {ID_ADAPTER_SELECT, kButtonSelectAdapter, 1},
        {ID_PROFILE_APPLY, kButtonApply, 2},   {ID_PROFILE_ADD, kButtonAdd, 3},
        {ID_PROFILE_COPY, kButtonCopy, 4},     {ID_PROFILE_EDIT, kButtonEdit, 5},
        {ID_PROFILE_DELETE, kButtonDelete, 6}, {ID_ADAPTER_STATUS, kButtonStatus, 7},
        {ID_SHOW_HELP, kButtonHelp, 8},        {ID_APP_ABOUT, kButtonAbout, 9},
    };
    return buttons;
}

const std::vector<AcceleratorSpec>& accelerators() {
    static const std::vector<AcceleratorSpec> keys = {
        {"Ctrl+P", ID_FILE_PRINT},
        {"Ctrl+X", ID_APP_EXIT},
    };
    return keys;
}

std::string commandPrompt(int command) {
    static const std::map<int, const char*> prompts = {
        {ID_FILE_PRINT, kPromptPrint},
        {ID_ADAPTER_SELECT, kPromptSelectAdapter},
        {ID_PROFILE_APPLY, kPromptApply},
        {ID_PROFILE_ADD, kPromptAdd},
        {ID_PROFILE_COPY, kPromptCopy},
        {ID_PROFILE_EDIT, kPromptEdit},
        {ID_PROFILE_DELETE, kPromptDelete},
        {ID_ADAPTER_STATUS, kPromptStatus},
        {ID_SHOW_HELP, kPromptHelp},
        {ID_APP_ABOUT, kPromptAbout},
        {ID_FILE_PRINT_PREVIEW, kPromptPrintPreview},
        {ID_APP_EXIT, kPromptExit},
        {ID_VIEW_TOOLBAR, kPromptToolBar},
        {ID_VIEW_STATUS_BAR, kPromptStatusBar},
        {ID_CHECK_UPDATE, kPromptCheckUpdate},
        {ID_CHECK_AFTER_APPLY, kPromptCheckAfterApply},
        {ID_AUTO_SWITCH, kPromptAutoSwitch},
        {ID_SHOW_TRAY, kPromptShowTray},
        {ID_PROFILE_DELETE_ALL, kPromptDeleteAll},
        {AFX_IDS_IDLEMESSAGE, kIdlePrompt},
        {ID_FILE_OPEN, kPromptFileOpen},
        {ID_FILE_SAVE, kPromptFileSave},
        {ID_FILE_PRINT_SETUP, kPromptPrintSetup},
        {ID_SC_SIZE, kPromptWindowSize},
        {ID_SC_MOVE, kPromptWindowMove},
        {ID_SC_MINIMIZE, kPromptWindowMinimize},
        {ID_SC_MAXIMIZE, kPromptWindowMaximize},
        {ID_SC_NEXTWINDOW, kPromptNextWindow},
        {ID_SC_PREVWINDOW, kPromptPreviousWindow},
        {ID_SC_CLOSE, kPromptWindowClose},
        {ID_SC_RESTORE, kPromptWindowRestore},
        {ID_SC_TASKLIST, kPromptTaskList},
        {ID_PREVIEW_CLOSE, kPromptClosePreview},
    };
    const auto it = prompts.find(command);
    return it == prompts.end() ? std::string() : std::string(it->second);
}

int commandImageIndex(int command) {
    for (const ToolButtonSpec& button : toolButtons()) {
        if (button.command == command) {
            return button.imageIndex;
        }
    }
    return -1;
}

}  // namespace quorrel
