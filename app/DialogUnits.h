#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Converts dialog units to pixels the way Windows does for a dialog with its
// own font: a horizontal unit is a quarter of the font's average character
// width, a vertical unit an eighth of its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int baseX() const { return m_baseX; }
    int baseY() const { return m_baseY; }

    int x(int units) const { return mulDiv(units, m_baseX, 4); }
    int y(int units) const { return mulDiv(units, m_baseY, 8); }
    QRect rect(int left, int top, int width, int height) const {
        return {x(left), y(top), x(width), y(height)};
    }
    QSize size(int width, int height) const { return {x(width), y(height)}; }

private:
    // a * b / c rounded to the nearest whole number, halves away from zero.
    static int mulDiv(int a, int b, int c);

    int m_baseX;
    int m_baseY;
};
