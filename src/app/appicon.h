#pragma once

#include <QIcon>

// The program's icon: a keyboard key with a "P". The installed theme icon
// "palcomir" (drawn from the same shapes) when the desktop has it, else the
// shapes drawn here at every size the desktop asks for.
QIcon palcomirIcon();

// The drawn icon alone, without asking the theme.
QIcon drawnPalcomirIcon();
