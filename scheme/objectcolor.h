#pragma once

#include <QColor>

// The fixed palette that gives every object identifier the same colour in every view.
class ObjectColor : public QColor
{
public:
    using QColor::QColor;

    // Body colour of an object; identifiers wrap around the 25 entries.
    static const ObjectColor &base(quint8 id);
    // Colour of labels written on a body of colour base(id).
    static const ObjectColor &text(quint8 id);

    static const int PaletteSize = 25;
    static const ObjectColor s_bColors[PaletteSize];
    static const ObjectColor s_tColors[PaletteSize];
};
