#pragma once

#include <QFont>
#include <QPixmap>

// What the program's dialogs share: a title bar with a close button only, a
// fixed size, and the font they are laid out in.
inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// The lookup window's font size. Message boxes and menus take the same font,
// so that the program's Chinese texts are all in one face.
inline constexpr int kMainPointSize = 10;

// The dialogs' font, "宋体" at the given size. Where no font of that name is
// installed, the nearest Chinese face stands in for it.
QFont dialogFont(int pointSize);

// One of the dialogs' pictures, a PNG file among the program's resources; a
// null pixmap if it cannot be read.
QPixmap dialogPicture(const char* resource);
