#pragma once
#include <QKeySequence>
#include <QList>
#include <vector>

// Command ids of the program's menus, toolbar and accelerators. The ids are
// those of the original resources, so that the tables below, the toolbar and
// the enabling answers of the nodes can be compared side by side.
namespace cmd {
enum : int {
    NEW = 57600,
    OPEN = 57601,
    CLOSE = 57602,
    SAVE = 57603,
    PAGE_SETUP = 57605,
    PRINT_SETUP = 57606,
    PRINT = 57607,
    MRU_FIRST = 57616,
    COPY = 57634,
    CUT = 57635,
    PASTE = 57637,
    CASCADE = 57650,
    TILE = 57651,
    ABOUT = 57664,
    APP_EXIT = 57665,
    HELP_FINDER = 57667,
    TOOLBAR = 59392,
    DELETE_ = 32792,
    PROPERTIES = 32790,
    DEVICE_DIRECTORY = 32795,
    DEVICE_LOAD = 32779,
    DEVICE_READ = 32796,
    DEVICE_DELETE = 32778,
    KEYBOARD = 32793,
    EPROM = 32786,
    PAKDAT = 32787,
    ROMGEN = 32780,
    TEVOWIN = 32797,
    PRINTER_FONT = 32798,
    CLOSE_PROJECT = 32791,
    WORK_LIST = 32794,
    CONFIGURATION = 32775,
    OPEN_PROJECT = 32776,
    NEW_PROJECT = 32777,
    ONLINE_PICTURE = 1431,
    ONLINE_SYMBOLS = 1432,
};
}  // namespace cmd

// One entry of the project window's menus "&Datei" and "&Bearbeiten". The
// position of an entry in its menu (separators counted) is its command code:
// "&Datei" holds codes 0 to 23, "&Bearbeiten" 30 to 34. A separator has id 0.
struct ViewCommand {
    int id;
    int code;
    const char* text;  // UTF-8, with the accelerator text after a tab
    QList<QKeySequence> keys;
};

// "&Datei" of the project window, positions 0 to 23.
const std::vector<ViewCommand>& ViewFileMenu();
// "&Bearbeiten", positions 0 to 4 (codes 30 to 34).
const std::vector<ViewCommand>& ViewEditMenu();
// Commands with an accelerator but no menu item (codes 50, 51).
const std::vector<ViewCommand>& ViewHiddenCommands();
// The entry of a command id among the three tables; null when the view does not handle it.
const ViewCommand* FindViewCommand(int id);
