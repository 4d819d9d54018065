#include "objectcolor.h"

// Five colours a row, as the palette is read.
// clang-format off
const ObjectColor ObjectColor::s_bColors[PaletteSize] = {
    { 255, 255, 255 }, { 255, 255, 0 },   { 255, 0, 255 },   { 0, 255, 255 },   { 255, 0, 0 },
    { 0, 255, 0 },     { 0, 0, 255 },     { 255, 255, 127 }, { 255, 127, 255 }, { 127, 255, 255 },
    { 255, 127, 127 }, { 127, 255, 127 }, { 127, 127, 255 }, { 255, 127, 0 },   { 255, 0, 127 },
    { 0, 255, 127 },   { 0, 127, 255 },   { 127, 0, 255 },   { 127, 255, 0 },   { 159, 159, 159 },
    { 127, 127, 0 },   { 127, 0, 127 },   { 0, 127, 127 },   { 127, 0, 0 },     { 0, 127, 0 },
};

const ObjectColor ObjectColor::s_tColors[PaletteSize] = {
    { 0, 0, 0 },       { 0, 0, 0 },       { 0, 0, 0 },       { 0, 0, 0 },       { 255, 255, 255 },
    { 0, 0, 0 },       { 255, 255, 255 }, { 0, 0, 0 },       { 0, 0, 0 },       { 0, 0, 0 },
    { 0, 0, 0 },       { 0, 0, 0 },       { 255, 255, 255 }, { 0, 0, 0 },       { 255, 255, 255 },
    { 0, 0, 0 },       { 255, 255, 255 }, { 255, 255, 255 }, { 0, 0, 0 },       { 0, 0, 0 },
    { 255, 255, 255 }, { 255, 255, 255 }, { 255, 255, 255 }, { 255, 255, 255 }, { 255, 255, 255 },
};
// clang-format on

const ObjectColor &ObjectColor::base(quint8 id)
{
    return s_bColors[id % PaletteSize];
}

const ObjectColor &ObjectColor::text(quint8 id)
{
    return s_tColors[id % PaletteSize];
}
