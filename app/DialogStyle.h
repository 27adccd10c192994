#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>

#include <string_view>

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
// The picture for a screen of the given device pixel ratio: above 1, the one
// drawn at twice the size, marked so that it keeps the size of the one drawn
// for 1x in logical pixels.
QPixmap dialogPicture(const char* at1x, const char* at2x, qreal ratio);

// The pictures compiled into the program (Qt resources).
inline constexpr const char* kIcon32 = ":/res/mirawen-32.png";
inline constexpr const char* kIcon64 = ":/res/mirawen-64.png";
inline constexpr const char* kIcon16 = ":/res/mirawen-16.png";
inline constexpr const char* kKeyChart = ":/res/keychart.png";
inline constexpr const char* kKeyChart2x = ":/res/keychart@2x.png";

// The lookup layer's texts, UTF-8 and UTF-16, as Qt's.
inline QString qText(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline QString qText(std::u16string_view utf16) {
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}
// And back: Qt's text as the lookup layer takes it.
inline std::u16string_view u16(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}
