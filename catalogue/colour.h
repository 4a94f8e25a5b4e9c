#pragma once

#include <QColor>

// A colour as the program's tables write it: 0xBBGGRR (blue in the high byte,
// red in the low byte), or, with the high bit set, a system colour whose index
// is in the low byte. System colours are resolved only when a colour is applied,
// so that a widget painted in one follows the desktop's current setting.
class Colour
{
public:
    constexpr explicit Colour(quint32 value = 0) : m_value(value) {}

    // System colour 5: the window (text field) background.
    static constexpr Colour windowBackground() { return Colour(0x80000005u); }

    constexpr quint32 value() const { return m_value; }
    constexpr bool isSystem() const { return (m_value & 0x80000000u) != 0; }
    constexpr int systemIndex() const { return int(m_value & 0xFFu); }
    constexpr int red() const { return int(m_value & 0xFFu); }
    constexpr int green() const { return int((m_value >> 8) & 0xFFu); }
    constexpr int blue() const { return int((m_value >> 16) & 0xFFu); }

    // The deeper shade of a light colour: every 0xC0 component becomes 0x80.
    constexpr Colour strong() const
    {
        quint32 out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            quint32 c = (m_value >> shift) & 0xFFu;
            out |= (c == 0xC0u ? 0x80u : c) << shift;
        }
        return Colour(out);
    }

    // The colour to paint with; meaningful for fixed colours only, a system
    // colour is taken from the desktop's palette by the widget that shows it.
    QColor toQColor() const { return QColor(red(), green(), blue()); }

    friend constexpr bool operator==(Colour a, Colour b) { return a.m_value == b.m_value; }
    friend constexpr bool operator!=(Colour a, Colour b) { return a.m_value != b.m_value; }

private:
    quint32 m_value;
};
