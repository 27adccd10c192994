#pragma once

#include <windows.h>

// Moves window so that its middle is over's middle, as Windows places a
// dialog that has no position of its own (over the screen, or its owner).
inline void CentreWindow(HWND window, const RECT& over) {
    RECT box;
    GetWindowRect(window, &box);
    SetWindowPos(window, nullptr, (over.left + over.right - (box.right - box.left)) / 2,
                 (over.top + over.bottom - (box.bottom - box.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
