#pragma once

#include "images/packeddib.h"

#include <QImage>

class QWidget;

// The picture as an 8-bit indexed image with the picture's colour table
// (1- and 4-bit pictures are widened to 8 bits), made once when a picture is
// loaded so that painting never converts it. A null image when the picture
// has another depth or its block is too short for its rows.
QImage dibToImage(const PackedDib &dib);

// An 8-bit indexed image stretched to width x height: every destination line
// repeats the source line stretchSource() names, without blending.
QImage stretchImage(const QImage &indexed, int width, int height);

// Realises the window's palette. On the true-colour displays Qt draws on,
// realising changes no colour, so all that is left is the outcome: false and
// nothing else without a palette, otherwise the window is repainted and the
// answer is true.
bool realiseWindowPalette(QWidget *window, const LogicalPalette *palette, bool asBackground);
