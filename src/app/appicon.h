#pragma once

#include <QIcon>

// The program's icon: a keyboard key with a "P", drawn at every size the
// desktop asks for.
QIcon palcomirIcon();
