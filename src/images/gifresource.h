#pragma once

#include "images/packeddib.h"

#include <optional>

#include <QString>

// Where the program's picture GIF n is among its compiled-in resources.
QString gifResourcePath(int identifier);

// The program's picture GIF n, decoded; nothing when there is no such
// resource or it is not a picture the decoder reads.
std::optional<PackedDib> LoadGifResource(int identifier);

// The GIF file (or resource) at path, decoded; nothing when it cannot be read.
std::optional<PackedDib> loadGifFile(const QString &path);
