#pragma once

#include <string>
#include <vector>
#include <windows.h>

// Every context menu of the program goes through here, so that tests can
// choose an entry without a menu on the screen, as CMessageBox's boxes are
// answered.
class CPopupMenu {
public:
    // The command chosen from menu at point (screen coordinates), 0 for none.
    static UINT Track(HMENU menu, HWND owner, POINT point);

    // The next menu is noted instead of shown and answers this command.
    static void setNextAnswer(UINT command);
    // The entries of each menu answered since the last call, "|" between
    // them, "-" for a separator, "(off)" after a disabled one.
    static std::vector<std::wstring> answered();
};
