#pragma once

#include "images/packeddib.h"

#include <QImage>

class QWidget;

// The picture as an 8-bit indexed image with the picture's colour table
// (1- and 4-bit pictures are widened to 8 bits), made once when a picture is
// loaded so that painting never converts it. A picture drawn at `scale`
// times its ordinary size gets that device pixel ratio, so it is laid out
// and drawn at its ordinary size with all its pixels. A null image when the
// picture has another depth or its block is too short for its rows.
QImage dibToImage(const PackedDib &dib, int scale = 1);

// An 8-bit indexed image stretched to width x height: every destination line
// repeats the source line stretchSource() names, without blending.
QImage stretchImage(const QImage &indexed, int width, int height);

// Realises the window's palette. On the true-colour displays Qt draws on,
// realising changes no colour, so all that is left is the outcome: false and
// nothing else without a palette, otherwise the window is repainted and the
// answer is true.
bool realiseWindowPalette(QWidget *window, const LogicalPalette *palette, bool asBackground);
