#pragma once

#include "widgets/zoomsteps.h"

#include <QSize>

// The zoom in force for the whole program: the main window sets it, and
// every window and dialog asks it as it is made or drawn.
namespace ViewZoom {

inline constexpr QSize kLayoutSize(ZoomSteps::kLayoutWidth, ZoomSteps::kLayoutHeight);

// As a factor (1.0 = 100 %); a full screen may set one between the steps.
qreal factor();
// Sets it and scales the application's font with it (from the font it had
// when this was first called), so dialogs and menus laid out by their font
// grow with it.
void setFactor(qreal factor);

// A length of the layout at the zoom in force.
int scaled(int length);
QSize scaled(QSize size);

} // namespace ViewZoom
