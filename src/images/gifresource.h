#pragma once

#include "images/packeddib.h"

#include <optional>

#include <QString>

// How many times its ordinary size a picture is drawn at for a scale
// factor, the device pixels per pixel of the layout times any zoom of the
// window: 2 above 1, where the pictures drawn at twice the size are sharp,
// and 1 otherwise.
int pictureScale(qreal scaleFactor);

// The device pixels per pixel of the layout: the most of any screen, times
// the program's zoom. Asked of the application, not of a window, so a window
// may ask it while it is being made.
qreal screenScaleFactor();

// Where the program's picture GIF n is among its compiled-in resources, at
// its ordinary size (scale 1) or at twice the size (scale 2, gif<n>@2x.gif).
QString gifResourcePath(int identifier, int scale = 1);

// The program's picture GIF n at that scale, decoded; nothing when there is
// no such resource or it is not a picture the decoder reads.
std::optional<PackedDib> LoadGifResource(int identifier, int scale = 1);

// A picture and the scale it was drawn at.
struct ScaledPicture {
    std::optional<PackedDib> dib;
    int scale = 1;
};

// The program's picture GIF n for a scale factor (see pictureScale): only
// the size that is shown is decoded. When the larger picture cannot be
// read, the ordinary one stands in for it.
ScaledPicture loadScaledPicture(int identifier, qreal scaleFactor);

// The GIF file (or resource) at path, decoded; nothing when it cannot be read.
std::optional<PackedDib> loadGifFile(const QString &path);
