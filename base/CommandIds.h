#pragma once

namespace quorrel {

// Command identifiers shared by the menus, the toolbar, the accelerators and the handlers.
// The numbers are the program's own (327xx) and the framework's usual ones (57xxx, 59xxx).

// The program's commands.
inline constexpr int ID_PROFILE_ADD = 32772;
inline constexpr int ID_PROFILE_COPY = 32773;
inline constexpr int ID_PROFILE_EDIT = 32774;
inline constexpr int ID_PROFILE_DELETE = 32775;
inline constexpr int ID_ADAPTER_STATUS = 32776;
inline constexpr int ID_SHOW_HELP = 32777;
inline constexpr int ID_ADAPTER_SELECT = 32778;
inline constexpr int ID_PROFILE_APPLY = 32779;
inline constexpr int ID_POPUP_COPY = 32780;
inline constexpr int ID_POPUP_EDIT = 32781;
inline constexpr int ID_POPUP_DELETE = 32782;
inline constexpr int ID_POPUP_APPLY = 32783;
inline constexpr int ID_PROFILE_DELETE_ALL = 32797;
inline constexpr int ID_CHECK_UPDATE = 32799;
inline constexpr int ID_CHECK_AFTER_APPLY = 32800;
inline constexpr int ID_AUTO_SWITCH = 32801;
inline constexpr int ID_SHOW_TRAY = 32802;

// The framework's commands.
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;

// Window commands of the system menu, with prompts of their own.
inline constexpr int ID_SC_SIZE = 61184;
inline constexpr int ID_SC_MOVE = 61185;
inline constexpr int ID_SC_MINIMIZE = 61186;
inline constexpr int ID_SC_MAXIMIZE = 61187;
inline constexpr int ID_SC_NEXTWINDOW = 61188;
inline constexpr int ID_SC_PREVWINDOW = 61189;
inline constexpr int ID_SC_CLOSE = 61190;
inline constexpr int ID_SC_RESTORE = 61202;
inline constexpr int ID_SC_TASKLIST = 61203;
inline constexpr int ID_PREVIEW_CLOSE = 61445;

// The idle text of the prompt pane.
inline constexpr int AFX_IDS_IDLEMESSAGE = 57345;
// The application title.
inline constexpr int AFX_IDS_APP_TITLE = 57344;

// Resources of the main window.
inline constexpr int IDR_MAINFRAME = 128;           // menu, toolbar, accelerators, icon
inline constexpr int IDB_TOOLBAR_GREY = 135;        // 42 x 35 images, normal
inline constexpr int IDB_TOOLBAR_COLOUR = 138;      // 42 x 35 images, under the mouse
inline constexpr int IDR_MENU_IMAGES_COLOUR = 187;  // 16 x 15 images of the menu entries
inline constexpr int IDR_MENU_IMAGES_GREY = 189;
inline constexpr int ID_INDICATOR_POWERED_BY = 33001;  // status pane 0
inline constexpr int ID_MENU_BAR = 59480;

}  // namespace quorrel
