#pragma once

// Where the fingering chart window goes: the picture and a one-pixel border
// all round, centred on the desktop. The desktop's sides are taken as
// unsigned 16-bit values and the halves rounded toward zero, so a picture
// larger than the desktop gets a negative position.
struct ChartGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

ChartGeometry chartGeometry(int pictureWidth, int pictureHeight, int desktopWidth, int desktopHeight);
