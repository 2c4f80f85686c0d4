#include "images/chartgeometry.h"

#include <cstdint>

ChartGeometry chartGeometry(int pictureWidth, int pictureHeight, int desktopWidth, int desktopHeight)
{
    ChartGeometry g;
    g.width = pictureWidth + 2;
    g.height = pictureHeight + 2;
    const int desktopW = static_cast<std::uint16_t>(desktopWidth);
    const int desktopH = static_cast<std::uint16_t>(desktopHeight);
    g.x = (desktopW - g.width) / 2;
    g.y = (desktopH - g.height) / 2;
    return g;
}
