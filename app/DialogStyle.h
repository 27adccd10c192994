#pragma once

#include <QFont>

// The dialogs' font, "宋体" at the given size. Where no font of that name is
// installed, the nearest Chinese face stands in for it.
QFont dialogFont(int pointSize);
