#pragma once
// The window program needs a display. Qt aborts with a long report when it finds none; this
// check runs before the application object is made and names the way out in one line instead.
#include <QString>

// Empty when the window can be shown (a display is named and, for a local X display, its
// socket exists, or a platform that needs no display is chosen); else the line to print.
QString MissingDisplayMessage();
