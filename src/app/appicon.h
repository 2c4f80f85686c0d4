#pragma once

#include <QIcon>

// The program's icon: a keyboard key with a "P", the shapes of the installed
// palcomir.svg drawn at every size the desktop asks for. Drawn rather than
// looked up in the desktop's icon theme, which takes several times longer at
// every start.
QIcon drawnPalcomirIcon();
