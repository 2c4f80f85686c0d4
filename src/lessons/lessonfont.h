#pragma once

#include <QFont>
#include <QString>

// The lesson font: DejaVu Sans Mono, bundled in the program's resources and
// added for the run, so every machine shows the lessons with the same
// monospace letters, Polish ones included.
namespace LessonFont {

// Height of the letters in pixels.
inline constexpr int kPixelSize = 12;

// Adds the bundled font for this run (once) and returns its family; when the
// font cannot be added, the system's fixed-pitch family.
QString family();

// Removes the bundled font again (at program end); family() adds it anew.
void release();

// The font lessons are drawn in.
QFont font();

} // namespace LessonFont
