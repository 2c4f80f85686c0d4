#pragma once

// Pictures for the widget tests.

#include "images/packeddib.h"

#include <QColor>

// A width x height 8-bit picture in one colour.
inline PackedDib solidPicture(int width, int height, QRgb colour)
{
    PackedDib dib = *PackedDib::blank(width, height, 8);
    dib.setColour(0, static_cast<std::uint8_t>(qRed(colour)), static_cast<std::uint8_t>(qGreen(colour)),
        static_cast<std::uint8_t>(qBlue(colour)));
    return dib;
}
